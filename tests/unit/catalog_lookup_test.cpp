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
    int code;            // as stored in language.txt
    const char* file;    // the translation of the menu title "File"
};

const ExpectedCatalog kExpected[] = {
    {46, "文件"}, {47, "檔案"}, {89, "Datei"}, {80, "Fichier"}, {110, "File"}, {112, "ファイル"},
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
