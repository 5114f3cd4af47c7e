// The real program started as a separate process: where it finds its
// installation, what it says when parts of it are missing, and how it ends.
#include "child_process.h"
#include "file_bytes.h"
#include "home_override.h"
#include "paths.h"
#include "program_paths.h"
#include "test_paths.h"
#include "x11_windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
class ProgramStart : public ::testing::Test {
protected:
    // A copy of the installation under a fresh folder: bin/gifmaker and
    // option.cfg, and the Themes folder unless left out.
    fs::path CopyInstallation(bool withThemes)
    {
        const fs::path root = Utf8(m_tree.Path());
        fs::create_directories(root / "bin");
        fs::copy_file(BuiltProgram(), root / "bin" / "gifmaker");
        fs::copy_file(Utf8(BinaryDir() + "/option.cfg"), root / "option.cfg");
        if (withThemes)
            fs::copy(Utf8(BinaryDir() + "/Themes"), root / "Themes", fs::copy_options::recursive);
        return root;
    }

    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {})
    {
        std::vector<std::string> all = environment;
        all.push_back("HOME=" + Utf8(m_home.Path()));
        return m_program.Start(argv, all, Output());
    }

    std::string Output() const { return Utf8(m_output.File("output.txt")); }
    std::string OutputText() const { return ReadFileText(Output()); }

    // The program's error box must be answered before it can end.
    void ExpectFailureNaming(const std::string& missing)
    {
        const X11Window box = WaitForProcessWindow(m_program.Pid(), kMainWindowTitle, kProgramTimeoutMs);
        ASSERT_NE(box, 0u) << OutputText();
        EXPECT_NE(OutputText().find("cannot start"), std::string::npos) << OutputText();
        EXPECT_NE(OutputText().find(missing), std::string::npos) << OutputText();
        ASSERT_TRUE(RequestWindowClose(box));
        ASSERT_TRUE(m_program.WaitForExit(kProgramTimeoutMs));
        EXPECT_TRUE(m_program.Exited());
        EXPECT_NE(m_program.ExitCode(), 0);
    }

    TempDir m_home;
    TempDir m_tree;
    TempDir m_output;
    ChildProcess m_program;
};
} // namespace

TEST_F(ProgramStart, ThroughASymbolicLinkInPathFindsItsInstallationAndCloses)
{
    const fs::path links = Utf8(m_tree.Path());
    fs::create_symlink(BuiltProgram(), links / "gifmaker");
    const char* path = std::getenv("PATH");
    ASSERT_TRUE(Start({"gifmaker"}, {"PATH=" + links.string() + ":" + (path ? path : "")}));

    const X11Window window = WaitForProcessWindow(m_program.Pid(), kMainWindowTitle, kProgramTimeoutMs);
    ASSERT_NE(window, 0u) << OutputText();
    EXPECT_EQ(ReadFileText(m_home.File("Brackwell files/Brackwell GIF Maker/language.txt")), "58");

    // The title-bar close button ends the program normally.
    ASSERT_TRUE(RequestWindowClose(window));
    ASSERT_TRUE(m_program.WaitForExit(kProgramTimeoutMs)) << OutputText();
    EXPECT_TRUE(m_program.Exited());
    EXPECT_EQ(m_program.ExitCode(), 0);
    // The option file it read lies in the build tree, not beside the link.
    EXPECT_NE(OutputText().find(Utf8(BinaryDir() + "/option.cfg")), std::string::npos) << OutputText();
}

TEST_F(ProgramStart, MissingThemesFolderIsNamedAndTheStartFails)
{
    const fs::path root = CopyInstallation(false);
    ASSERT_TRUE(Start({(root / "bin" / "gifmaker").string()}));
    ExpectFailureNaming((root / "Themes").string());
}

TEST_F(ProgramStart, LayoutWithoutTheMainWindowIsNamedAndTheStartFails)
{
    const fs::path root = CopyInstallation(true);
    WriteFileText(Utf8(m_tree.File("Themes/gifmaker.xrc")),
                   "<?xml version=\"1.0\"?>\n<resource xmlns=\"http://www.wxwidgets.org/wxxrc\">\n"
                   "  <object class=\"wxDialog\" name=\"AboutDialog\"/>\n</resource>\n");
    ASSERT_TRUE(Start({(root / "bin" / "gifmaker").string()}));
    ExpectFailureNaming("MyFrame1");
}

TEST_F(ProgramStart, LayoutLackingAControlNamesItAndTheStartFails)
{
    const fs::path root = CopyInstallation(true);
    std::string layout = ReadFileText(m_tree.File("Themes/gifmaker.xrc"));
    const std::string control = "name=\"m_spinctrl_height\"";
    const size_t at = layout.find(control);
    ASSERT_NE(at, std::string::npos);
    layout.replace(at, control.size(), "name=\"m_spinctrl_renamed\"");
    WriteFileText(m_tree.File("Themes/gifmaker.xrc"), layout);
    ASSERT_TRUE(Start({(root / "bin" / "gifmaker").string()}));
    ExpectFailureNaming("m_spinctrl_height");
}

TEST_F(ProgramStart, UnknownOptionIsRejectedWithoutAWindow)
{
    ASSERT_TRUE(Start({BuiltProgram(), "--frobnicate", "picture.png"}));
    ASSERT_TRUE(m_program.WaitForExit(kProgramTimeoutMs));
    EXPECT_TRUE(m_program.Exited());
    EXPECT_EQ(m_program.ExitCode(), 1);
    EXPECT_NE(OutputText().find("unknown option \"--frobnicate\""), std::string::npos) << OutputText();
    EXPECT_FALSE(fs::exists(Utf8(m_home.File("Brackwell files"))));
}

// Answered on standard output (standard error is dropped here) and without a
// display, as in a terminal of a machine with no desktop.
TEST_F(ProgramStart, HelpAndVersionAnswerOnStandardOutputWithoutADisplay)
{
    struct Answer {
        const char* option;
        std::string start;
    };
    for (const Answer& answer : {Answer{"--help", "Usage: gifmaker [FILE...]\n"},
                                 Answer{"--version", "gifmaker " + Utf8(GetProductVersion()) + "\n"}}) {
        ChildProcess program;
        TempDir output;
        ASSERT_TRUE(program.Start({"/bin/sh", "-c", "exec \"$0\" \"$1\" 2>/dev/null", BuiltProgram(),
                                   answer.option},
                                  {"DISPLAY=", "WAYLAND_DISPLAY="}, Utf8(output.File("out.txt"))));
        ASSERT_TRUE(program.WaitForExit(kProgramTimeoutMs));
        EXPECT_EQ(program.ExitCode(), 0) << answer.option;
        const std::string text = ReadFileText(output.File("out.txt"));
        EXPECT_EQ(text.rfind(answer.start, 0), 0u) << text;
    }
}
