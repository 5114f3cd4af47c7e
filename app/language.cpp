#include "language.h"

#include "gifapp.h"
#include "gifframe.h"
#include "paths.h"

#include <wx/intl.h>
#include <wx/log.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

const InterfaceLanguage kInterfaceLanguages[7] = {
    {46, "中文简体"}, {47, "中文繁体"}, {89, "Deutsch"}, {kEnglishLanguageCode, "English"},
    {80, "Français"}, {110, "Italiano"}, {112, "日本語"},
};

int ToolkitLanguageFor(int code)
{
    switch (code) {
    case 46: return wxLANGUAGE_CHINESE_SIMPLIFIED;
    case 47: return wxLANGUAGE_CHINESE_TRADITIONAL;
    case 89: return wxLANGUAGE_GERMAN;
    case kEnglishLanguageCode: return wxLANGUAGE_ENGLISH;
    case 80: return wxLANGUAGE_FRENCH;
    case 110: return wxLANGUAGE_ITALIAN;
    case 112: return wxLANGUAGE_JAPANESE;
    default: return code;
    }
}

namespace {
// A machine often lacks the system locale of the chosen language (a plain
// Debian has only C and C.UTF-8). The toolkit then warns and Init reports
// failure, but it has already switched its translations to the language, so
// the catalogs still work; the warning would only pop up a needless message.
void InitLocaleQuietly(wxLocale& locale, int language)
{
    wxLogNull noLog;
    // The toolkit asserts on a language it does not know (such as
    // wxLANGUAGE_UNKNOWN); such a code keeps the previous locale's texts. The
    // system language is always accepted: even when the toolkit cannot name
    // it, its translations follow the language the environment asks for.
    if (language == wxLANGUAGE_DEFAULT || wxLocale::GetLanguageInfo(language))
        locale.Init(language, wxLOCALE_LOAD_DEFAULT);
}

// Some texts come from the system's own catalogs rather than ours: the file
// chooser and the stock buttons of message boxes. They follow the process
// locale, which cannot be set when the system lacks it. GNU gettext also
// honours LANGUAGE, in any message locale but plain "C", so LANGUAGE names the
// chosen language and a "C" message locale becomes C.UTF-8 (always present).
void FollowInSystemCatalogs(int language)
{
    // What the environment asked for, put back for the system language.
    struct Variable {
        bool present;
        std::string value;
    };
    static const Variable original = [] {
        const char* value = std::getenv("LANGUAGE");
        return Variable{value != nullptr, value ? value : ""};
    }();

    const wxLanguageInfo* info =
        language == wxLANGUAGE_DEFAULT ? nullptr : wxLocale::GetLanguageInfo(language);
    if (!info) {
        if (original.present)
            setenv("LANGUAGE", original.value.c_str(), 1);
        else
            unsetenv("LANGUAGE");
        return;
    }
    setenv("LANGUAGE", info->CanonicalName.utf8_str(), 1);
    const char* messages = std::setlocale(LC_MESSAGES, nullptr);
    if (messages && (std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0))
        std::setlocale(LC_MESSAGES, "C.UTF-8");
}
} // namespace

void InitStartupLocale(GifApp& app)
{
    delete app.m_locale;
    app.m_locale = new wxLocale;
    InitLocaleQuietly(*app.m_locale, wxLANGUAGE_ENGLISH);
    wxLocale::AddCatalogLookupPathPrefix("m_locale_");
    app.m_locale->AddCatalog("ui");
}

void ApplyLanguage(int code, GifFrame& frame)
{
    delete frame.m_locale;
    frame.m_locale = nullptr;
    frame.m_locale = new wxLocale;
    InitLocaleQuietly(*frame.m_locale, ToolkitLanguageFor(code));
    FollowInSystemCatalogs(ToolkitLanguageFor(code));
    wxLocale::AddCatalogLookupPathPrefix(GetResourceRoot() + "/Language");
    frame.m_locale->AddCatalog("language");
}
