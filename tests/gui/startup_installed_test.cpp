// `cmake --install` puts the program and its data in a folder of their own,
// PREFIX/lib/brackwell-gifmaker, and links to the programs in PREFIX/bin; the
// program reached through a link in PATH finds its data.
#include "child_process.h"
#include "file_bytes.h"
#include "home_override.h"
#include "program_paths.h"
#include "test_paths.h"
#include "x11_windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int kInstallTimeoutMs = 120000;
} // namespace

TEST(InstalledProgram, RunsFromThePrefixThroughItsLinkInPath)
{
    TempDir prefix;
    TempDir home;
    TempDir output;
    const fs::path root = Utf8(prefix.Path());

    ChildProcess install;
    ASSERT_TRUE(install.Start({GIFMAKER_CMAKE_COMMAND, "--install", Utf8(BinaryDir()), "--prefix", root.string()},
                              {}, Utf8(output.File("install.txt"))));
    ASSERT_TRUE(install.WaitForExit(kInstallTimeoutMs));
    ASSERT_EQ(install.ExitCode(), 0) << ReadFileText(output.File("install.txt"));

    const fs::path data = root / "lib" / "brackwell-gifmaker";
    for (const char* file : {"bin/gifmaker", "bin/gifmaker-cli", "lib/gifmaker-ffmpeg.so", "option.cfg", "Themes/gifmaker.xrc",
                             "Themes/application.ico", "Themes/play.png", "Themes/stop.png",
                             "Language/de/language.mo"})
        EXPECT_TRUE(fs::is_regular_file(data / file)) << file;
    for (const char* program : {"gifmaker", "gifmaker-cli"}) {
        ASSERT_TRUE(fs::is_symlink(root / "bin" / program)) << program;
        EXPECT_EQ(fs::read_symlink(root / "bin" / program),
                  fs::path("../lib/brackwell-gifmaker/bin") / program);
    }
    for (const char* file : {"share/icons/hicolor/48x48/apps/brackwell-gifmaker.png",
                             "share/mime/packages/brackwell-gifmaker.xml",
                             "share/metainfo/example.brackwell.gifmaker.metainfo.xml",
                             "share/man/man1/gifmaker.1.gz", "share/doc/brackwell-gifmaker/copyright"})
        EXPECT_TRUE(fs::exists(root / file)) << file;
    const std::string entry = ReadFileText(Utf8(prefix.File("share/applications/brackwell-gifmaker.desktop")));
    EXPECT_NE(entry.find("Exec=" + (root / "bin" / "gifmaker").string() + " %F\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Icon=brackwell-gifmaker\n"), std::string::npos) << entry;

    const char* path = std::getenv("PATH");
    const std::vector<std::string> environment = {"HOME=" + Utf8(home.Path()),
                                                  "PATH=" + (root / "bin").string() + ":" + (path ? path : "")};
    // Clips go through the video decoder module in the private folder.
    ChildProcess cli;
    ASSERT_TRUE(cli.Start({"gifmaker-cli", "--fps", "10", "-o", Utf8(output.File("clip.gif")),
                           Utf8(SourceDir()) + "/tests/fuzz/video_seeds/h264.mp4"},
                          environment, Utf8(output.File("cli.txt"))));
    ASSERT_TRUE(cli.WaitForExit(kProgramTimeoutMs));
    EXPECT_EQ(cli.ExitCode(), 0) << ReadFileText(output.File("cli.txt"));
    EXPECT_EQ(ReadFileText(output.File("clip.gif")).substr(0, 6), "GIF89a");

    ChildProcess program;
    ASSERT_TRUE(program.Start({"gifmaker"}, environment, Utf8(output.File("output.txt"))));
    const X11Window window = WaitForProcessWindow(program.Pid(), kMainWindowTitle, kProgramTimeoutMs);
    ASSERT_NE(window, 0u) << ReadFileText(output.File("output.txt"));
    ASSERT_TRUE(RequestWindowClose(window));
    ASSERT_TRUE(program.WaitForExit(kProgramTimeoutMs));
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_NE(ReadFileText(output.File("output.txt")).find((data / "option.cfg").string()), std::string::npos);
}
