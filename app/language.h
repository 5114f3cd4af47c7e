#pragma once

#include <wx/string.h>

class GifApp;
class GifFrame;

// The interface languages, in menu order. The codes are those kept in
// language.txt and used as menu ids; they follow the toolkit's old numbering,
// so they are mapped to today's wxLanguage constants before use.
struct InterfaceLanguage {
    int code;
    const char* label; // UTF-8, never translated
};
extern const InterfaceLanguage kInterfaceLanguages[7];

constexpr int kEnglishLanguageCode = 58;

// The toolkit's wxLanguage for a stored code; codes outside the table are
// passed through unchanged (0 is the system language).
int ToolkitLanguageFor(int code);

void InitStartupLocale(GifApp& app);
void ApplyLanguage(int code, GifFrame& frame);
