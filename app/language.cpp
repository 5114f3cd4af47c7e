#include "language.h"

#include "gifapp.h"
#include "gifframe.h"
#include "paths.h"

#include <wx/intl.h>
#include <wx/log.h>

const InterfaceLanguage kInterfaceLanguages[7] = {
    {46, "中文简体"}, {47, "中文繁体"}, {89, "Deutsch"}, {58, "English"},
    {80, "Français"}, {110, "Italiano"}, {112, "日本語"},
};

int ToolkitLanguageFor(int code)
{
    switch (code) {
    case 46: return wxLANGUAGE_CHINESE_SIMPLIFIED;
    case 47: return wxLANGUAGE_CHINESE_TRADITIONAL;
    case 89: return wxLANGUAGE_GERMAN;
    case 58: return wxLANGUAGE_ENGLISH;
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
    // wxLANGUAGE_UNKNOWN); such a code keeps the previous locale's texts.
    if (wxLocale::GetLanguageInfo(language))
        locale.Init(language, wxLOCALE_LOAD_DEFAULT);
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
    wxLocale::AddCatalogLookupPathPrefix(GetResourceRoot() + "/Language");
    frame.m_locale->AddCatalog("language");
}
