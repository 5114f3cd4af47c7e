#include "test_paths.h"

#include "project/project_file.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/xml/xml.h>

namespace {
std::unique_ptr<wxXmlDocument> DocumentWithDelay(int delay)
{
    ProjectFileSettings settings;
    settings.gifName = "anim.gif";
    settings.width = 10;
    settings.height = 10;
    settings.delay = delay;
    wxArrayString frames;
    frames.Add("/p/a.png");
    return BuildProjectDocument(settings, frames);
}
} // namespace

TEST(ProjectWrite, ReplacesAnEarlierFileCompletely)
{
    TempDir dir;
    const wxString path = dir.File("p.xml");
    wxString error;
    ASSERT_TRUE(WriteProjectFile(path, *DocumentWithDelay(5), &error)) << error;
    ASSERT_TRUE(WriteProjectFile(path, *DocumentWithDelay(7), &error)) << error;
    const ProjectContents contents = ReadProjectFile(path);
    EXPECT_EQ(contents.stage, ProjectReadStage::Entries);
    EXPECT_EQ(contents.settings.delay, 7);
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(dir.Path(), &files), 1u);
}

TEST(ProjectWrite, FailureNamesAReasonAndLeavesNothing)
{
    TempDir dir;
    wxString error;
    EXPECT_FALSE(WriteProjectFile(dir.File("missing/p.xml"), *DocumentWithDelay(5), &error));
    EXPECT_FALSE(error.empty());

    // A folder in the way of the file stays as it was.
    ASSERT_TRUE(wxMkdir(dir.File("taken.xml")));
    error.clear();
    EXPECT_FALSE(WriteProjectFile(dir.File("taken.xml"), *DocumentWithDelay(5), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(wxDirExists(dir.File("taken.xml")));
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(dir.Path(), &files), 0u);
}

TEST(ProjectSettingsRange, ValuesAreClampedToTheControlsRange)
{
    EXPECT_EQ(ClampProjectSetting(-5), 0);
    EXPECT_EQ(ClampProjectSetting(320), 320);
    EXPECT_EQ(ClampProjectSetting(70000), 65535);
}
