#include "gif_test_decoders.h"
#include "test_paths.h"

#include "child_process.h"
#include "cli_options.h"
#include "cli_run.h"

#include <wx/dir.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

wxString SavePicture(const TempDir& dir, const wxString& name, int width, int height, unsigned char shade)
{
    wxImage image(width, height, false);
    image.SetRGB(wxRect(0, 0, width, height), shade, 255 - shade, 40);
    const wxString path = dir.File(name);
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
    return path;
}

struct RunResult {
    int status;
    std::string errors;
};

RunResult RunCapturing(const CliOptions& options)
{
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* errors = ::open_memstream(&text, &length);
    const int status = RunCli(options, errors, false);
    std::fclose(errors);
    RunResult result{status, std::string(text, length)};
    std::free(text);
    return result;
}

CliOptions Options(const wxString& output, std::vector<wxString> inputs)
{
    CliOptions options;
    options.output = output;
    options.inputs = std::move(inputs);
    return options;
}

} // namespace

class CliRun : public ::testing::Test {
protected:
    void SetUp() override { wxImage::AddHandler(new wxPNGHandler); }
    void TearDown() override { wxImage::CleanUpHandlers(); }
    TempDir m_dir;
};

TEST_F(CliRun, WritesEveryFrameWithTheDefaultSizeRuleAndDelay)
{
    // 300 x 100 then 200 x 200: the second is taller, so it sets the size.
    const wxString wide = SavePicture(m_dir, "wide.png", 300, 100, 10);
    const wxString tall = SavePicture(m_dir, "tall.png", 200, 200, 200);
    const wxString out = m_dir.File("out.gif");
    const RunResult result = RunCapturing(Options(out, {wide, tall}));
    ASSERT_EQ(result.status, kCliOk) << result.errors;
    EXPECT_TRUE(result.errors.empty());

    const GiflibFile gif = DecodeGifFile(out);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.screenWidth, 200);
    EXPECT_EQ(gif.screenHeight, 200);
    EXPECT_EQ(gif.loopCount, 0);
    ASSERT_EQ(gif.frames.size(), 2u);
    for (const GiflibFrame& frame : gif.frames) {
        EXPECT_EQ(frame.delayCs, CliOptions::kDefaultDelay);
        EXPECT_EQ(frame.width, 200);
    }

    // The other way round the wide one comes last and wins.
    ASSERT_EQ(RunCapturing(Options(out, {tall, wide})).status, kCliOk);
    EXPECT_EQ(DecodeGifFile(out).screenWidth, 300);
}

TEST_F(CliRun, SizeAndDelayFromTheOptions)
{
    const wxString picture = SavePicture(m_dir, "a.png", 64, 48, 90);
    CliOptions options = Options(m_dir.File("out.gif"), {picture});
    options.delay = 35;
    options.width = 32;
    options.height = 40;
    ASSERT_EQ(RunCapturing(options).status, kCliOk);
    const GiflibFile gif = DecodeGifFile(options.output);
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.frames[0].width, 32);
    EXPECT_EQ(gif.frames[0].height, 40);
    EXPECT_EQ(gif.frames[0].delayCs, 35);
}

TEST_F(CliRun, OutputTooLargeToHoldIsRefusedBeforeAnyWork)
{
    const wxString picture = SavePicture(m_dir, "a.png", 8, 8, 1);
    CliOptions options = Options(m_dir.File("out.gif"), {picture});
    options.width = 20000;
    options.height = 20000;
    const RunResult result = RunCapturing(options);
    EXPECT_EQ(result.status, kCliBadUsage);
    EXPECT_NE(result.errors.find("20000 x 20000"), std::string::npos) << result.errors;
    EXPECT_FALSE(wxFileExists(options.output));
}

TEST_F(CliRun, UnreadableInputIsNamedAndNothingIsWritten)
{
    const wxString good = SavePicture(m_dir, "a.png", 8, 8, 1);
    const wxString broken = m_dir.File("broken.png");
    WriteFileText(broken, "not a picture");
    // A header that reads, so the damage shows only when the frame is encoded.
    Bytes damaged = ReadFileBytes(good);
    std::fill(damaged.begin() + 41, damaged.end(), 0);
    const wxString damagedPath = WriteFileBytes(m_dir.File("damaged.png"), damaged);
    const wxString out = m_dir.File("out.gif");
    for (const wxString& bad : {broken, damagedPath, m_dir.File("missing.png")}) {
        const RunResult result = RunCapturing(Options(out, {good, bad}));
        EXPECT_EQ(result.status, kCliUnreadableInput);
        EXPECT_NE(result.errors.find(bad.ToStdString()), std::string::npos) << result.errors;
        EXPECT_FALSE(wxFileExists(out));
    }
}

TEST_F(CliRun, UnwritableOutputKeepsTheOldFileAndLeavesNoPartialFile)
{
    const wxString picture = SavePicture(m_dir, "a.png", 8, 8, 1);
    const RunResult missingFolder = RunCapturing(Options(m_dir.File("no/such/out.gif"), {picture}));
    EXPECT_EQ(missingFolder.status, kCliUnwritableOutput);
    EXPECT_NE(missingFolder.errors.find("No such file or directory"), std::string::npos) << missingFolder.errors;

    // A folder standing where the file should go cannot be replaced.
    const wxString occupied = m_dir.File("taken.gif");
    ASSERT_TRUE(wxMkdir(occupied));
    EXPECT_EQ(RunCapturing(Options(occupied, {picture})).status, kCliUnwritableOutput);
    EXPECT_TRUE(wxDirExists(occupied));

    wxArrayString left;
    wxDir::GetAllFiles(m_dir.Path(), &left, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
    EXPECT_EQ(left.size(), 1u) << "only the input remains";
}

#ifndef __SANITIZE_ADDRESS__ // the sanitizer reserves far more address space than the limit
TEST_F(CliRun, FramesAreDecodedOnlyWhileTheyAreEncoded)
{
    // Twenty 4000 x 3000 pictures take 720 MB decoded; the program must run
    // in 570 MB of address space, of which the libraries it links (FFmpeg's
    // for clips pull in some 170 more) take over 200 MB before it reads
    // anything.
    const wxString first = SavePicture(m_dir, "p0.png", 4000, 3000, 120);
    std::vector<std::string> argv = {"prlimit", "--as=570000000", std::string((BinaryDir() + "/bin/gifmaker-cli").utf8_str()),
                                     "-s", "100x75", "-o", std::string(m_dir.File("out.gif").utf8_str())};
    for (int i = 0; i < 20; ++i) {
        const wxString copy = m_dir.File(wxString::Format("p%d.png", i));
        ASSERT_TRUE(i == 0 || wxCopyFile(first, copy));
        argv.push_back(std::string(copy.utf8_str()));
    }
    ChildProcess cli;
    ASSERT_TRUE(cli.Start(argv, {}, std::string(m_dir.File("cli.log").utf8_str())));
    ASSERT_TRUE(cli.WaitForExit(120000));
    EXPECT_EQ(cli.ExitCode(), kCliOk);
    EXPECT_EQ(DecodeGifFile(m_dir.File("out.gif")).FrameCount(), 20);
}
#endif
