// `cmake --install` lays out a tree that runs like the build tree, and a
// symbolic link to its program from a folder in PATH starts it.
#include "child_process.h"
#include "file_bytes.h"
#include "home_override.h"
#include "program_paths.h"
#include "test_paths.h"
#include "x11_windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
constexpr int kInstallTimeoutMs = 120000;
} // namespace

TEST(InstalledProgram, RunsFromThePrefixThroughALinkInPath)
{
    TempDir prefix;
    TempDir links;
    TempDir home;
    TempDir output;
    const fs::path root = Utf8(prefix.Path());

    ChildProcess install;
    ASSERT_TRUE(install.Start({GIFMAKER_CMAKE_COMMAND, "--install", Utf8(BinaryDir()), "--prefix", root.string()},
                              {}, Utf8(output.File("install.txt"))));
    ASSERT_TRUE(install.WaitForExit(kInstallTimeoutMs));
    ASSERT_EQ(install.ExitCode(), 0) << ReadFileText(output.File("install.txt"));

    for (const char* file : {"bin/gifmaker", "option.cfg", "Themes/gifmaker.xrc", "Themes/application.ico",
                             "Themes/play.png", "Themes/stop.png",
                             "share/icons/hicolor/48x48/apps/brackwell-gifmaker.png"})
        EXPECT_TRUE(fs::exists(root / file)) << file;
    const std::string entry = ReadFileText(Utf8(prefix.File("share/applications/brackwell-gifmaker.desktop")));
    EXPECT_NE(entry.find("Exec=" + (root / "bin" / "gifmaker").string() + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Icon=brackwell-gifmaker\n"), std::string::npos) << entry;

    fs::create_symlink(root / "bin" / "gifmaker", Utf8(links.File("gifmaker")));
    const char* path = std::getenv("PATH");
    ChildProcess program;
    ASSERT_TRUE(program.Start({"gifmaker"},
                              {"HOME=" + Utf8(home.Path()), "PATH=" + Utf8(links.Path()) + ":" + (path ? path : "")},
                              Utf8(output.File("output.txt"))));
    const X11Window window = WaitForProcessWindow(program.Pid(), kMainWindowTitle, kProgramTimeoutMs);
    ASSERT_NE(window, 0u) << ReadFileText(output.File("output.txt"));
    ASSERT_TRUE(RequestWindowClose(window));
    ASSERT_TRUE(program.WaitForExit(kProgramTimeoutMs));
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_NE(ReadFileText(output.File("output.txt")).find((root / "option.cfg").string()), std::string::npos);
}
