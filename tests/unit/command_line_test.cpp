// What the desktop program does with its command line, and how the files it
// names are sorted before the window takes them.
#include "command_line.h"
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/filefn.h>

#include <string>
#include <vector>

namespace {
struct LineCase {
    const char* name;
    std::vector<wxString> arguments;
    CommandLineAction action;
    std::vector<wxString> files;
};

const LineCase kLines[] = {
    {"NothingStartsEmpty", {}, CommandLineAction::Start, {}},
    {"FilesInOrder", {"b.png", "a.jpg", "anim.gif"}, CommandLineAction::Start,
     {"b.png", "a.jpg", "anim.gif"}},
    {"LongHelp", {"a.png", "--help"}, CommandLineAction::ShowHelp, {}},
    {"ShortHelp", {"-h"}, CommandLineAction::ShowHelp, {}},
    {"Version", {"--version"}, CommandLineAction::ShowVersion, {}},
    {"UnknownOption", {"--frobnicate", "a.png"}, CommandLineAction::BadUsage, {}},
    {"DashesEndOptions", {"--", "--help", "-x.png"}, CommandLineAction::Start, {"--help", "-x.png"}},
    {"LoneDashIsAFile", {"-"}, CommandLineAction::Start, {"-"}},
};

class CommandLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineCases, ActionAndFiles)
{
    const CommandLine line = ParseCommandLine(GetParam().arguments);
    EXPECT_EQ(line.action, GetParam().action);
    std::vector<wxString> files(line.files.begin(), line.files.end());
    EXPECT_EQ(files, GetParam().files);
    EXPECT_EQ(line.error.empty(), GetParam().action != CommandLineAction::BadUsage);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineCases, ::testing::ValuesIn(kLines),
                         [](const ::testing::TestParamInfo<LineCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(CommandLineUsage, NamesTheOptionsAndFiles)
{
    const wxString usage = CommandLineUsage();
    EXPECT_TRUE(usage.StartsWith("Usage: gifmaker [FILE...]\n"));
    EXPECT_NE(usage.Find("--help"), wxNOT_FOUND);
    EXPECT_NE(usage.Find("--version"), wxNOT_FOUND);
}

class StartupFileSorting : public ::testing::Test {
protected:
    wxString Make(const wxString& name)
    {
        wxFFile(m_dir.File(name), "w").Write("x");
        return m_dir.File(name);
    }
    wxArrayString Given(std::initializer_list<wxString> names)
    {
        wxArrayString files;
        for (const wxString& name : names)
            files.Add(name);
        return files;
    }

    TempDir m_dir;
};

TEST_F(StartupFileSorting, PicturesAreAddedInOrderWithAbsolutePaths)
{
    const wxString a = Make("a.png");
    const wxString b = Make("b.JPEG");
    const StartupFiles sorted = SortStartupFiles(Given({"b.JPEG", a}), m_dir.Path());
    EXPECT_EQ(sorted.pictures, Given({b, a}));
    EXPECT_TRUE(sorted.project.empty());
    EXPECT_TRUE(sorted.missing.empty());
}

TEST_F(StartupFileSorting, AMissingFileIsNamedOnceAndTheOthersStillCome)
{
    const wxString a = Make("a.png");
    const StartupFiles sorted =
        SortStartupFiles(Given({"gone.png", a, "gone.png", m_dir.Path()}), m_dir.Path());
    EXPECT_EQ(sorted.pictures, Given({a}));
    // A folder is not a file that can be opened either.
    EXPECT_EQ(sorted.missing, Given({m_dir.File("gone.png"), m_dir.Path()}));
}

TEST_F(StartupFileSorting, AProjectOpensAloneAndTheRestIsLeftOut)
{
    const wxString a = Make("a.png");
    const wxString project = Make("work.XML");
    const wxString other = Make("other.xml");
    const StartupFiles sorted = SortStartupFiles(Given({a, project, other}), m_dir.Path());
    EXPECT_EQ(sorted.project, project);
    EXPECT_TRUE(sorted.pictures.empty());
    EXPECT_EQ(sorted.leftOut, Given({a, other}));
}
} // namespace
