// The interface language kept in language.txt under the user's documents.
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
    EXPECT_EQ(ReadFileBytes(home.LanguageFile()), "58");
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
    WriteFileBytes(home.Path() + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");

    EXPECT_EQ(GetLanguageFilePath(), home.Path() + "/Dokumente/Brackwell files/Brackwell GIF Maker/language.txt");
}

TEST(LanguageSetting, NumberFollowedByLineEndIsRead)
{
    HomeOverride home;
    WriteFileBytes(GetLanguageFilePath(), "110\n");
    EXPECT_EQ(ReadLanguageSetting(), 110);
}

TEST(LanguageSetting, TextWithoutDigitsReadsAsZeroAndIsKept)
{
    HomeOverride home;
    WriteFileBytes(GetLanguageFilePath(), "abc");
    EXPECT_EQ(ReadLanguageSetting(), 0);
    EXPECT_EQ(ReadFileBytes(home.LanguageFile()), "abc");
}

TEST(LanguageSetting, OnlyTheFirstEightBytesAreRead)
{
    HomeOverride home;
    WriteFileBytes(GetLanguageFilePath(), "1234567890");
    EXPECT_EQ(ReadLanguageSetting(), 12345678);
}

TEST(LanguageSetting, EmptyFileReadsAsZero)
{
    HomeOverride home;
    WriteFileBytes(GetLanguageFilePath(), "");
    EXPECT_EQ(ReadLanguageSetting(), 0);
}

TEST(LanguageSetting, WrittenCodeIsBareDigitsAndReadsBack)
{
    HomeOverride home;
    WriteFileBytes(GetLanguageFilePath(), "1234567890");
    WriteLanguageSetting(89);
    EXPECT_EQ(ReadFileBytes(home.LanguageFile()), "89");
    EXPECT_EQ(ReadLanguageSetting(), 89);
}
