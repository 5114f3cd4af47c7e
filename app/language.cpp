#include "language.h"

#include "gifapp.h"
#include "gifframe.h"
#include "paths.h"

#include <wx/intl.h>

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

void InitStartupLocale(GifApp& app)
{
    delete app.m_locale;
    app.m_locale = new wxLocale(wxLANGUAGE_ENGLISH, wxLOCALE_LOAD_DEFAULT);
    wxLocale::AddCatalogLookupPathPrefix("m_locale_");
    app.m_locale->AddCatalog("ui");
}

void ApplyLanguage(int code, GifFrame& frame)
{
    delete frame.m_locale;
    frame.m_locale = new wxLocale;
    frame.m_locale->Init(ToolkitLanguageFor(code), wxLOCALE_LOAD_DEFAULT);
    wxLocale::AddCatalogLookupPathPrefix(GetResourceRoot() + "/Language");
    frame.m_locale->AddCatalog("language");
}
