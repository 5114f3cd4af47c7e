#include "gif_test_decoders.h"
#include "test_paths.h"

#include "cli_options.h"
#include "cli_run.h"
#include "sizing/gif_byte_sink.h"
#include "sizing/gif_size_estimate.h"
#include "sizing/gif_size_fit.h"
#include "sizing/size_limit.h"

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/imagpng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// A textured photo-like picture panning by 5 pixels a frame: every pixel
// changes, many colours.
wxImage PanFrame(std::size_t index)
{
    wxImage image(kWidth, kHeight, false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int u = x + 5 * int(index);
            std::uint32_t noise = std::uint32_t(u * 73856093u) ^ std::uint32_t(y * 19349663u);
            noise = (noise ^ (noise >> 13)) * 1274126177u;
            unsigned char* p = rgb + 3 * (y * kWidth + x);
            p[0] = static_cast<unsigned char>((u * 255 / 400 + (noise & 31)) & 255);
            p[1] = static_cast<unsigned char>(y * 2 + ((noise >> 8) & 15));
            p[2] = static_cast<unsigned char>(128 + std::lround(60 * std::sin(u / 17.0)) + ((noise >> 16) & 15));
        }
    return image;
}

// Flat colours: a ball crossing a still two-colour scene.
wxImage BallFrame(std::size_t index)
{
    wxImage image(kWidth, kHeight, false);
    image.SetRGB(wxRect(0, 0, kWidth, kHeight / 2), 120, 190, 240);
    image.SetRGB(wxRect(0, kHeight / 2, kWidth, kHeight / 2), 76, 175, 80);
    const int cx = 10 + 8 * int(index);
    for (int y = 40; y < 70; ++y)
        for (int x = cx - 15; x < cx + 15; ++x)
            if (x >= 0 && x < kWidth && (x - cx) * (x - cx) + (y - 55) * (y - 55) < 225)
                image.SetRGB(x, y, 230, 40, 40);
    return image;
}

struct FrameSet {
    const char* name;
    std::size_t count;
    GifFrameSupplier supply;
};

const std::vector<FrameSet>& Sets()
{
    static const std::vector<FrameSet> sets = {{"pan", 16, PanFrame}, {"ball", 16, BallFrame}};
    return sets;
}

GifEncodeSettings Settings(std::size_t count)
{
    GifEncodeSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.delaysCs = std::vector<int>(count, 7);
    settings.threads = 2;
    return settings;
}

long long EncodedSize(const FrameSet& set, const GifEncodeSettings& settings)
{
    GifByteSink sink;
    EXPECT_TRUE(EncodeGifAnimation(sink, set.count, set.supply, settings));
    return sink.Count();
}

// The test writes PNG inputs for gifmaker-cli.
void NeedPng()
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
}

GifFitOptions Only(long long limit, bool quality, bool shrink, bool frames)
{
    GifFitOptions options;
    options.limit = limit;
    options.lowerQuality = quality;
    options.shrink = shrink;
    options.dropFrames = frames;
    return options;
}

} // namespace

TEST(SizeLimit, TextsAndOptionsReadAsBytes)
{
    const struct {
        const char* text;
        long long bytes; // 0: refused
    } cases[] = {
        {"10M", 10000000}, {"256K", 256000}, {"1.5MB", 1500000}, {"300KiB", 307200}, {"4096", 4096},
        {" 2 mb ", 2000000}, {"0", 0}, {"-5K", 0}, {"ten", 0}, {"10X", 0}, {"", 0}, {"K", 0},
    };
    for (const auto& c : cases) {
        long long bytes = 0;
        EXPECT_EQ(ParseSizeLimit(c.text, bytes), c.bytes != 0) << c.text;
        if (c.bytes) {
            EXPECT_EQ(bytes, c.bytes) << c.text;
        }
    }
    const struct {
        std::vector<wxString> arguments;
        CliAction action;
        long long limit;
        int maxSide;
        bool dropFrames;
    } commands[] = {
        {{"--max-size", "10M", "-o", "a.gif", "x.png"}, CliAction::Encode, 10000000, 0, true},
        {{"--preset", "slack-emoji", "--fit", "quality,size", "-o", "a.gif", "x.png"}, CliAction::Encode, 128000, 128,
         false},
        {{"--estimate", "x.png"}, CliAction::Encode, 0, 0, true},
        {{"--estimate", "--max-size", "1M", "x.png"}, CliAction::BadUsage, 1000000, 0, true},
        {{"--fit", "quality", "-o", "a.gif", "x.png"}, CliAction::BadUsage, 0, 0, false},
        {{"--max-size", "big", "-o", "a.gif", "x.png"}, CliAction::BadUsage, 0, 0, true},
        {{"--preset", "myspace", "-o", "a.gif", "x.png"}, CliAction::BadUsage, 0, 0, true},
    };
    for (const auto& c : commands) {
        CliOptions options;
        wxString error;
        EXPECT_EQ(ParseCliArguments(c.arguments, options, error), c.action) << c.arguments[1] << ": " << error;
        EXPECT_EQ(options.fit.limit, c.limit) << c.arguments[1];
        EXPECT_EQ(options.fit.maxSide, c.maxSide) << c.arguments[1];
        EXPECT_EQ(options.fit.dropFrames, c.dropFrames) << c.arguments[1];
    }
}

// The estimate's error bound, on sets small enough for a unit test.
TEST(SizeEstimate, WithinFifteenPercentOfTheFile)
{
    for (const FrameSet& set : Sets())
        for (std::size_t count : {set.count, std::size_t(40)}) {
            const GifEncodeSettings settings = Settings(count);
            GifSizeEstimate estimate;
            ASSERT_TRUE(EstimateGifSize(count, set.supply, settings, estimate)) << set.name;
            const long long actual = EncodedSize({set.name, count, set.supply}, settings);
            EXPECT_NEAR(double(estimate.bytes), double(actual), 0.15 * double(actual)) << set.name << " " << count;
            EXPECT_LE(estimate.low, estimate.bytes);
            EXPECT_GE(estimate.high, estimate.bytes);
            EXPECT_LT(GifEstimateSample(count).size(), count) << "a sample, not the whole";
        }
}

// Sets x limits through gifmaker-cli: the file written is never over the
// limit and decodes with the frames and duration it claims.
TEST(SizeFit, FileNeverOverTheLimit)
{
    NeedPng();
    TempDir dir;
    for (const FrameSet& set : Sets()) {
        CliOptions options;
        options.delay = 7;
        for (std::size_t i = 0; i < set.count; ++i) {
            const wxString path = dir.File(wxString::Format("%s%02zu.png", set.name, i));
            ASSERT_TRUE(set.supply(i).SaveFile(path, wxBITMAP_TYPE_PNG));
            options.inputs.push_back(path);
            options.inputDelays.push_back(-1);
        }
        const long long full = EncodedSize(set, Settings(set.count));
        for (double share : {0.25, 0.5, 0.75}) {
            options.output = dir.File(wxString::Format("%s-%.2f.gif", set.name, share));
            options.fit.limit = static_cast<long long>(share * double(full));
            ASSERT_EQ(RunCli(options, stderr, false), kCliOk) << set.name << " " << share;
            const long long written = wxFileName::GetSize(options.output).GetValue();
            EXPECT_LE(written, options.fit.limit) << set.name << " " << share;
            const GiflibFile gif = DecodeGifFile(options.output);
            ASSERT_TRUE(gif.ok);
            const std::vector<int> delays = gif.Delays();
            EXPECT_EQ(std::accumulate(delays.begin(), delays.end(), 0), 7 * int(set.count)) << "duration kept";
        }
    }
}

// One frame larger than the limit at any setting: nothing is written, and
// the command says so with its own exit status.
TEST(SizeFit, UnmeetableLimitWritesNothing)
{
    NeedPng();
    TempDir dir;
    CliOptions options;
    const wxString input = dir.File("pan.png");
    ASSERT_TRUE(PanFrame(0).SaveFile(input, wxBITMAP_TYPE_PNG));
    options.inputs = {input, input};
    options.inputDelays = {-1, -1};
    options.output = dir.File("out.gif");
    options.fit.limit = 60;
    EXPECT_EQ(RunCli(options, stderr, false), kCliNothingFits);
    EXPECT_FALSE(wxFileExists(options.output));

    const FrameSet& pan = Sets()[0];
    const GifFitResult fit =
        FitGifUnderLimit(pan.count, pan.supply, Settings(pan.count), Only(60, true, true, true), options.output);
    EXPECT_EQ(fit.outcome, GifFitOutcome::NothingFits);
    EXPECT_FALSE(wxFileExists(options.output));
    wxArrayString left;
    EXPECT_EQ(wxDir::GetAllFiles(dir.Path(), &left, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN), 1u)
        << "no candidate file is left beside the target";

    // A limit that fits, into a folder that does not exist: the reason is told.
    const GifFitResult unwritable = FitGifUnderLimit(pan.count, pan.supply, Settings(pan.count),
                                                     Only(1000000, true, true, true), dir.File("missing/out.gif"));
    EXPECT_EQ(unwritable.outcome, GifFitOutcome::Unwritable);
    EXPECT_TRUE(unwritable.error.Contains("missing")) << unwritable.error;
}

// Each way of fitting alone meets a limit it can meet and changes nothing
// else; "never drop frames" keeps every frame however tight the limit.
TEST(SizeFit, EachWayAloneAndNeverDropFrames)
{
    const FrameSet& pan = Sets()[0];
    const GifEncodeSettings settings = Settings(pan.count);
    const long long full = EncodedSize(pan, settings);
    const long long limit = full * 6 / 10;
    const struct {
        const char* name;
        GifFitOptions options;
    } ways[] = {
        {"quality", Only(limit, true, false, false)},
        {"size", Only(limit, false, true, false)},
        {"frames", Only(limit, false, false, true)},
        {"never drop frames, tight", Only(full / 8, true, true, false)},
    };
    TempDir dir;
    const wxString path = dir.File("out.gif");
    for (const auto& way : ways) {
        const GifFitResult fit = FitGifUnderLimit(pan.count, pan.supply, settings, way.options, path);
        ASSERT_EQ(fit.outcome, GifFitOutcome::Fits) << way.name;
        EXPECT_EQ(wxFileName::GetSize(path).GetValue(), static_cast<wxULongLong_t>(fit.fileSize)) << way.name;
        EXPECT_LE(fit.fileSize, way.options.limit) << way.name;
        const GiflibFile gif = DecodeGifFile(path);
        ASSERT_TRUE(gif.ok) << way.name;
        EXPECT_EQ(gif.FrameCount(), static_cast<int>(fit.frameCount)) << way.name;
        if (way.options.lowerQuality && !way.options.shrink) {
            EXPECT_LT(fit.step.quality, settings.quality) << way.name;
            // Encodes that give up early, as over the limit, must not pass
            // over a quality that fits.
            GifEncodeSettings higher = settings;
            higher.quality = fit.step.quality + 1;
            EXPECT_GT(EncodedSize(pan, higher), way.options.limit) << way.name << ": the highest quality that fits";
        }
        if (!way.options.lowerQuality) {
            EXPECT_EQ(fit.step.quality, settings.quality) << way.name;
        }
        if (!way.options.shrink) {
            EXPECT_EQ(gif.screenWidth, kWidth) << way.name;
        } else if (!way.options.lowerQuality) {
            EXPECT_LT(gif.screenWidth, kWidth) << way.name;
        }
        if (!way.options.dropFrames) {
            EXPECT_EQ(gif.FrameCount(), static_cast<int>(pan.count)) << way.name;
        } else {
            EXPECT_LT(gif.FrameCount(), static_cast<int>(pan.count)) << way.name;
            const std::vector<int> delays = gif.Delays();
            EXPECT_EQ(std::accumulate(delays.begin(), delays.end(), 0), 7 * int(pan.count)) << "duration kept";
        }
    }
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(dir.Path(), &files, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN), 1u)
        << "candidates that were not kept are removed";
}

// The ladder holds the sizes at whole ratios of the size asked wherever the
// picture fills them, each once, in the shrinking part of each pass; between
// them the sizes shrink, so that a search can read estimates between them.
TEST(SizeFit, LadderHoldsWholeRatios)
{
    const struct {
        int width;
        int height;
        std::vector<std::pair<int, int>> ratios; // largest first
    } cases[] = {
        {800, 600, {{600, 450}, {400, 300}, {200, 150}}},
        {1920, 1080, {{1440, 810}, {1280, 720}, {960, 540}, {640, 360}, {480, 270}}},
        {641, 481, {}},
    };
    for (const auto& c : cases) {
        GifEncodeSettings settings;
        settings.width = c.width;
        settings.height = c.height;
        const std::vector<GifFitStep> ladder = GifFitLadder(settings, 12, Only(1000, false, true, false));
        ASSERT_FALSE(ladder.empty());
        std::vector<std::pair<int, int>> found;
        for (std::size_t i = 1; i < ladder.size(); ++i) {
            const GifFitStep& step = ladder[i];
            EXPECT_EQ(step.quality, settings.quality) << c.width;
            EXPECT_LT(step.width, ladder[i - 1].width) << c.width << " step " << i;
            EXPECT_LE(std::abs(std::lround(double(step.width) * c.height / c.width) - step.height), 1)
                << c.width << " step " << i << ": the aspect is kept";
            for (const auto& ratio : c.ratios)
                if (step.width == ratio.first && step.height == ratio.second)
                    found.push_back(ratio);
        }
        EXPECT_EQ(found, c.ratios) << c.width << "x" << c.height;
    }
}
