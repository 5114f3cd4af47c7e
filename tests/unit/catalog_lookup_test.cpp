// The compiled catalogs lie where the toolkit's catalog lookup searches for
// each interface language, and each holds that language's texts.
#include "language.h"
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/translation.h>

#include <memory>

namespace {
struct ExpectedCatalog {
    int code;             // as stored in language.txt
    const char* file;     // the translation of the menu title "File"
    const char* untitled; // of the output's name before one is chosen
    const char* latest;   // of the update check's answer, a format
};

const ExpectedCatalog kExpected[] = {
    {46, "文件", "未命名.gif", "此版本的 %s (%s) 已是最新版本。"},
    {47, "檔案", "未命名.gif", "此版本的 %s (%s) 已是最新版本。"},
    {89, "Datei", "Unbenannt.gif", "Diese Version von %s (%s) ist die neueste Version."},
    {80, "Fichier", "Sans titre.gif", "Cette version de %s (%s) est la plus récente."},
    {110, "File", "Senza titolo.gif", "Questa versione di %s (%s) è la più recente."},
    {112, "ファイル", "無題.gif", "この %s (%s) は最新バージョンです。"},
};

class CatalogLookup : public ::testing::TestWithParam<ExpectedCatalog> {
protected:
    void SetUp() override
    {
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(BinaryDir() + "/Language");
        m_translations.SetLanguage(static_cast<wxLanguage>(ToolkitLanguageFor(GetParam().code)));
    }

    wxInitializer m_toolkit;
    wxTranslations m_translations;
};

TEST_P(CatalogLookup, ToolkitFindsTheCatalogOfTheLanguage)
{
    ASSERT_TRUE(m_translations.AddCatalog("language"));
    EXPECT_TRUE(m_translations.IsLoaded("language"));
    const wxString* file = m_translations.GetTranslatedString("File", "language");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(*file, wxString::FromUTF8(GetParam().file));
}

// Texts that stayed English in every language once: the name of a GIF not
// yet saved and the update check's answers.
TEST_P(CatalogLookup, StatusAndUpdateTextsAreTranslated)
{
    ASSERT_TRUE(m_translations.AddCatalog("language"));
    const wxString* untitled = m_translations.GetTranslatedString("Untitled.gif", "language");
    ASSERT_NE(untitled, nullptr);
    EXPECT_EQ(*untitled, wxString::FromUTF8(GetParam().untitled));
    const wxString* latest =
        m_translations.GetTranslatedString("This version of %s (%s) is the latest version.", "language");
    ASSERT_NE(latest, nullptr);
    EXPECT_EQ(*latest, wxString::FromUTF8(GetParam().latest));
}

TEST_P(CatalogLookup, AcceleratorIsNotPartOfTheLookup)
{
    ASSERT_TRUE(m_translations.AddCatalog("language"));
    EXPECT_NE(m_translations.GetTranslatedString("Save Project", "language"), nullptr);
    EXPECT_EQ(m_translations.GetTranslatedString("Save Project\tCtrl+S", "language"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Languages, CatalogLookup, ::testing::ValuesIn(kExpected),
                         [](const ::testing::TestParamInfo<ExpectedCatalog>& info) {
                             return "Code" + std::to_string(info.param.code);
                         });

TEST(CatalogLookupEnglish, EnglishNeedsNoCatalog)
{
    wxInitializer toolkit;
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(BinaryDir() + "/Language");
    wxTranslations translations;
    translations.SetLanguage(static_cast<wxLanguage>(ToolkitLanguageFor(kEnglishLanguageCode)));
    translations.AddCatalog("language");
    EXPECT_EQ(translations.GetTranslatedString("File", "language"), nullptr);
}
} // namespace
