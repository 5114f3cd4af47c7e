// Where the program looks for its installation data.
#include "paths.h"
#include "test_paths.h"

#include <gtest/gtest.h>

TEST(ResourceRoot, IsTheParentOfTheExecutableFolder)
{
    EXPECT_EQ(ResourceRootOf("/opt/gifmaker/bin/gifmaker"), "/opt/gifmaker");
}

TEST(ResourceRoot, BackslashesCountAsSeparators)
{
    EXPECT_EQ(ResourceRootOf("C:\\Apps\\Tool\\bin\\app.exe"), "C:/Apps/Tool");
    EXPECT_EQ(ParentFolderOf("C:\\Apps\\Tool\\bin\\app.exe"), "C:/Apps/Tool/bin");
}

TEST(ResourceRoot, FewerThanTwoSeparatorsGiveAnEmptyRoot)
{
    EXPECT_EQ(ResourceRootOf("bin/gifmaker"), "");
    EXPECT_EQ(ResourceRootOf("gifmaker"), "");
    EXPECT_EQ(ParentFolderOf("gifmaker"), "");
}

TEST(ResourceRoot, ExecutableAtTheFilesystemRootGivesAnEmptyRoot)
{
    EXPECT_EQ(ResourceRootOf("/gifmaker"), "");
}

TEST(ResourceRoot, RunningProgramFindsTheBuildTreeAsItsInstallation)
{
    // The test programs live in the build tree's bin/ like gifmaker itself.
    EXPECT_EQ(GetResourceRoot(), BinaryDir());
    EXPECT_EQ(GetExecutableFolder(), BinaryDir() + "/bin");
    EXPECT_EQ(GetOptionFilePath(), BinaryDir() + "/option.cfg");
}

TEST(Identity, NamesAndVersion)
{
    EXPECT_EQ(GetMakerName(), "Brackwell");
    EXPECT_EQ(GetProductName(), "Brackwell GIF Maker");
    EXPECT_EQ(GetProductVersion(), "1.0.82");
}
