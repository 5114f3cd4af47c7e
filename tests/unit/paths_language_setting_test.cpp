// The interface language kept in language.txt under the user's documents.
#include "file_bytes.h"
#include "language.h"
#include "home_override.h"
#include "paths.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

TEST(LanguageSetting, FirstReadCreatesTheFoldersAndStoresEnglish)
{
    HomeOverride home;
    ASSERT_FALSE(wxDirExists(home.Path() + "/Brackwell files"));

    EXPECT_EQ(ReadLanguageSetting(), kEnglishLanguageCode);

    EXPECT_EQ(GetLanguageFilePath(), home.LanguageFile());
    EXPECT_EQ(ReadFileText(home.LanguageFile()), "58");
}

TEST(LanguageSetting, UserDataFolderLiesUnderTheDocumentsFolder)
{
    HomeOverride home;
    EXPECT_EQ(GetDocumentsFolder(), home.Path());
    EXPECT_EQ(GetUserDataFolder(), home.Path() + "/Brackwell files/Brackwell GIF Maker");
    EXPECT_TRUE(wxDirExists(GetUserDataFolder()));
}

TEST(LanguageSetting, ConfiguredDocumentsFolderIsUsed)
{
    HomeOverride home;
    ASSERT_TRUE(wxMkdir(home.Path() + "/.config"));
    ASSERT_TRUE(wxMkdir(home.Path() + "/Dokumente"));
    WriteFileText(home.Path() + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");

    EXPECT_EQ(GetLanguageFilePath(), home.Path() + "/Dokumente/Brackwell files/Brackwell GIF Maker/language.txt");
}

// What language.txt holds, the code read from it; reading leaves the file
// as it was.
struct StoredCode {
    const char* text;
    int code;
};

class LanguageSettingRead : public ::testing::TestWithParam<StoredCode> {};

TEST_P(LanguageSettingRead, ReadsTheLeadingDigits)
{
    HomeOverride home;
    WriteFileText(GetLanguageFilePath(), GetParam().text);
    EXPECT_EQ(ReadLanguageSetting(), GetParam().code);
    EXPECT_EQ(ReadFileText(home.LanguageFile()), GetParam().text);
}

// Only the first eight bytes are read; text without digits reads as 0.
INSTANTIATE_TEST_SUITE_P(LanguageSetting, LanguageSettingRead,
                         ::testing::Values(StoredCode{"110\n", 110}, StoredCode{"abc", 0},
                                           StoredCode{"1234567890", 12345678}, StoredCode{"", 0}));

TEST(LanguageSetting, WrittenCodeIsBareDigitsAndReadsBack)
{
    HomeOverride home;
    WriteFileText(GetLanguageFilePath(), "1234567890");
    WriteLanguageSetting(89);
    EXPECT_EQ(ReadFileText(home.LanguageFile()), "89");
    EXPECT_EQ(ReadLanguageSetting(), 89);
}
