#include "file_bytes.h"
#include "giflib_read.h"
#include "test_clips.h"
#include "test_paths.h"
#include "test_pictures.h"

#include "cli_options.h"
#include "cli_run.h"
#include "decode/video_frame_name.h"
#include "project/project_file.h"
#include "video/list_loader.h"
#include "video/video_clip.h"
#include "video/video_loader.h"
#include "video/video_selection.h"

#include <wx/filename.h>
#include <wx/image.h>
#include <wx/xml/xml.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

// Clips made once for all the tests here.
class ClipFolder {
public:
    static ClipFolder& Get()
    {
        static ClipFolder folder;
        return folder;
    }
    wxString File(const wxString& name) const { return m_dir.File(name); }
    const wxString& Path() const { return m_dir.Path(); }

private:
    TempDir m_dir;
};

struct ClipCase {
    const char* name;
    std::string size;
    std::string rate;
    double seconds;
    std::string codec;
    std::vector<std::string> extra;
    wxSize shown;
    long long fromMs, toMs;
    double fps;
    // The frame (counted by ffmpeg from 0) shown at a time in milliseconds.
    int (*frameAt)(long long ms);
    bool turned = false; // made to show a quarter turn clockwise
    // An animated WebP of frames shown this long, made with libwebp instead.
    std::vector<int> webpDurationsMs = {};
};

void PrintTo(const ClipCase& c, std::ostream* out)
{
    *out << c.name;
}

class ClipFrames : public ::testing::TestWithParam<ClipCase> {};

// The frames a clip yields at a rate are the frames ffmpeg shows at those
// times, decoded in any order from several threads at once, and their
// thumbnails follow the rule.
TEST_P(ClipFrames, MatchTheFramesFfmpegShowsAtThoseTimes)
{
    const ClipCase& c = GetParam();
    const wxString clip = ClipFolder::Get().File(c.name);
    std::vector<wxImage> reference;
    if (!c.webpDurationsMs.empty()) {
        ASSERT_TRUE(MakePatternWebP(clip, c.size, c.webpDurationsMs, ClipFolder::Get().Path(), reference));
    } else {
        ASSERT_TRUE(MakePatternClip(clip, c.size, c.rate, c.seconds, c.codec, c.extra));
    }
    if (c.turned) {
        ASSERT_TRUE(TurnClipQuarterClockwise(clip));
    }

    std::vector<LoadedFrame> frames;
    const ThumbnailSizeRule rule = [](const wxSize& full) { return wxSize(full.x / 2, full.y / 2); };
    const int count = LoadMediaFrames(ClipRangeName(clip, c.fromMs, c.toMs, c.fps), rule, [&](LoadedFrame&& frame) {
        frames.push_back(std::move(frame));
        return true;
    });
    const VideoClipPtr open = VideoClip::Open(clip);
    ASSERT_TRUE(open);
    const std::vector<long long> times = ClipFrameTimes(c.fromMs, c.toMs, c.fps, open->Info().endMs);
    ASSERT_EQ(count, static_cast<int>(times.size()));
    ASSERT_FALSE(times.empty());
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].frameIndex, times[i]);
        EXPECT_EQ(frames[i].size, c.shown);
        EXPECT_EQ(frames[i].thumbnail.GetSize(), wxSize(c.shown.x / 2, c.shown.y / 2));
        EXPECT_EQ(frames[i].source->GetSize(), c.shown);
    }

    // As a save asks for them: workers taking the next index, out of step.
    std::vector<wxImage> decoded(frames.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < frames.size(); i = next++) {
            wxImage picture = frames[i].source->Decode();
            decoded[i] = picture.Copy();
        }
    };
    std::thread a(work), b(work);
    work();
    a.join();
    b.join();

    if (reference.empty())
        reference = FfmpegFrames(clip, ClipFolder::Get().Path());
    ASSERT_FALSE(reference.empty());
    for (size_t i = 0; i < frames.size(); ++i) {
        const int n = c.frameAt(times[i]);
        ASSERT_LT(n, static_cast<int>(reference.size())) << times[i];
        const double own = MeanAbsoluteDifference(decoded[i], reference[n]);
        EXPECT_LT(own, 2.0) << "at " << times[i] << " ms, frame " << n;
        for (int neighbour : {n - 1, n + 1})
            if (neighbour >= 0 && neighbour < static_cast<int>(reference.size())) {
                EXPECT_LT(own, MeanAbsoluteDifference(decoded[i], reference[neighbour])) << times[i];
            }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clips, ClipFrames,
    ::testing::Values(
        // Key frames every 2 s: the range starts between them.
        ClipCase{"h264.mp4", "160x90", "25", 4, "libx264", {"-g", "50"}, {160, 90}, 1000, 3000, 5,
                 [](long long ms) { return int(ms / 40); }},
        // Odd sides, and a rate that falls between the clip's frames.
        ClipCase{"odd.webm", "99x61", "25", 3, "libvpx-vp9", {"-b:v", "200k"}, {99, 61}, 0, -1, 10,
                 [](long long ms) { return int(ms / 40); }},
        // A phone held upright: stored 64x48, shown turned a quarter clockwise.
        ClipCase{"rotated.mov", "64x48", "10", 2, "libx264", {}, {48, 64}, 0, -1, 10,
                 [](long long ms) { return int(ms / 100); }, true},
        // Variable frame rate: 25 frames in the first second, then 10 a second.
        ClipCase{"vfr.mkv", "96x64", "25", 3, "libx264",
                 {"-vf", "setpts='if(lt(N,25),N*0.04,1+(N-25)*0.1)/TB'", "-vsync", "vfr"}, {96, 64}, 500, 3500, 4,
                 [](long long ms) { return ms < 1000 ? int(ms / 40) : 25 + int((ms - 1000) / 100); }},
        // The same in MP4, whose B-frames' durations are steps in decoding order.
        ClipCase{"vfr.mp4", "96x64", "25", 3, "libx264",
                 {"-vf", "setpts='if(lt(N,25),N*0.04,1+(N-25)*0.1)/TB'", "-vsync", "vfr"}, {96, 64}, 500, 3500, 4,
                 [](long long ms) { return ms < 1000 ? int(ms / 40) : 25 + int((ms - 1000) / 100); }},
        // Animated WebP, which FFmpeg cannot decode: frames of 100 ms, then of
        // 300 ms, at odd sides; libwebp stores only each frame's changed part.
        ClipCase{"anim.webp", "75x41", "", 0, "", {}, {75, 41}, 200, 1900, 5,
                 [](long long ms) { return ms < 500 ? int(ms / 100) : 5 + int((ms - 500) / 300); }, false,
                 {100, 100, 100, 100, 100, 300, 300, 300, 300, 300}}));

struct BrokenClip {
    const char* name;
    // Makes the clip from a good one; returns false when it could not.
    bool (*make)(const wxString& good, const wxString& out);
    bool opens; // a truncated clip still gives the frames before the cut
};

void PrintTo(const BrokenClip& c, std::ostream* out)
{
    *out << c.name;
}

bool Truncate(const wxString& good, const wxString& out, double part)
{
    Bytes bytes = ReadFileBytes(good);
    bytes.resize(static_cast<size_t>(bytes.size() * part));
    return !WriteFileBytes(out, bytes).empty();
}

// Overwrites the 4-byte big-endian-sized EBML element `id` with all bits set
// (a Matroska PixelWidth or PixelHeight of 65535, written in two bytes).
bool MaximiseEbml(Bytes& bytes, std::uint8_t id)
{
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (bytes[i] == id && bytes[i + 1] == 0x82) {
            bytes[i + 2] = bytes[i + 3] = 0xFF;
            return true;
        }
    return false;
}

bool MakeWebP(const wxString& out)
{
    std::vector<wxImage> frames;
    return MakePatternWebP(out, "64x48", {100, 100, 100, 100}, wxPathOnly(out), frames);
}

class BrokenClips : public ::testing::TestWithParam<BrokenClip> {};

// Damaged and hostile clips are refused or give only what they hold, quickly,
// and gifmaker-cli says which input it cannot read.
TEST_P(BrokenClips, AreRefusedOrGiveOnlyWhatTheyHold)
{
    const BrokenClip& c = GetParam();
    const ClipFolder& folder = ClipFolder::Get();
    const wxString good = folder.File(wxString("good-") + c.name);
    const wxString clip = folder.File(c.name);
    ASSERT_TRUE(c.make(good, clip));

    int count = 0;
    LoadMediaFrames(ClipRangeName(clip, 0, -1, 10), nullptr, [&](LoadedFrame&&) { return ++count, true; });
    EXPECT_EQ(VideoClip::Open(clip) != nullptr, c.opens);
    if (c.opens) {
        EXPECT_GT(count, 0);
        EXPECT_LT(count, 30);
        return;
    }
    EXPECT_EQ(count, 0);
    CliOptions options;
    options.inputs = {clip};
    options.output = folder.File(wxString(c.name) + ".gif");
    char* text = nullptr;
    size_t length = 0;
    std::FILE* errors = ::open_memstream(&text, &length);
    EXPECT_EQ(RunCli(options, errors, false), kCliUnreadableInput);
    std::fclose(errors);
    EXPECT_NE(std::string(text, length).find("cannot read"), std::string::npos);
    std::free(text);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, BrokenClips,
    ::testing::Values(
        BrokenClip{"cut-before-index.mp4",
                   [](const wxString& good, const wxString& out) {
                       return MakePatternClip(good, "64x48", "10", 3, "libx264") && Truncate(good, out, 0.5);
                   },
                   false},
        BrokenClip{"cut-after-index.mp4",
                   [](const wxString& good, const wxString& out) {
                       return MakePatternClip(good, "64x48", "10", 3, "libx264", {"-movflags", "+faststart"})
                              && Truncate(good, out, 0.6);
                   },
                   true},
        BrokenClip{"header-only.mkv",
                   [](const wxString& good, const wxString& out) {
                       return MakePatternClip(good, "64x48", "10", 1, "libx264") && Truncate(good, out, 0.05);
                   },
                   false},
        BrokenClip{"audio-only.m4a",
                   [](const wxString&, const wxString& out) {
                       return RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-c:a", "aac"}, out);
                   },
                   false},
        BrokenClip{"declares-65535x65535.mkv",
                   [](const wxString& good, const wxString& out) {
                       if (!MakePatternClip(good, "256x256", "10", 1, "libvpx"))
                           return false;
                       Bytes bytes = ReadFileBytes(good);
                       return MaximiseEbml(bytes, 0xB0) && MaximiseEbml(bytes, 0xBA) && !WriteFileBytes(out, bytes).empty();
                   },
                   false},
        BrokenClip{"frames-zeroed.mp4",
                   [](const wxString& good, const wxString& out) {
                       if (!MakePatternClip(good, "64x48", "10", 1, "libx264"))
                           return false;
                       Bytes bytes = ReadFileBytes(good);
                       const std::string text(bytes.begin(), bytes.end());
                       const size_t mdat = text.find("mdat");
                       const size_t moov = text.find("moov");
                       if (mdat == std::string::npos || moov == std::string::npos || moov < mdat)
                           return false;
                       std::fill(bytes.begin() + mdat + 4, bytes.begin() + moov - 4, 0);
                       return !WriteFileBytes(out, bytes).empty();
                   },
                   false},
        BrokenClip{"cut.webp",
                   [](const wxString& good, const wxString& out) { return MakeWebP(good) && Truncate(good, out, 0.7); },
                   false},
        // The canvas size in the VP8X chunk (24-bit width and height less one)
        // set to 16777216 x 16777216.
        BrokenClip{"declares-huge-canvas.webp",
                   [](const wxString& good, const wxString& out) {
                       if (!MakeWebP(good))
                           return false;
                       Bytes bytes = ReadFileBytes(good);
                       std::fill(bytes.begin() + 24, bytes.begin() + 30, 0xFF);
                       return !WriteFileBytes(out, bytes).empty();
                   },
                   false},
        BrokenClip{"frames-zeroed.webp",
                   [](const wxString& good, const wxString& out) {
                       if (!MakeWebP(good))
                           return false;
                       Bytes bytes = ReadFileBytes(good);
                       const std::string text(bytes.begin(), bytes.end());
                       for (size_t at = text.find("VP8L"); at != std::string::npos; at = text.find("VP8L", at + 1))
                           std::fill(bytes.begin() + at + 8, bytes.begin() + std::min(at + 40, bytes.size()), 0);
                       return !WriteFileBytes(out, bytes).empty();
                   },
                   false}));

// gifmaker-cli takes a clip's range at the given rate with the delay that
// rate plays at, and a project that lists a clip's frames by name renders
// them again.
TEST(ClipCli, RangeAtARateAndProjectOfClipFrames)
{
    const ClipFolder& folder = ClipFolder::Get();
    const wxString clip = folder.File("cli.mp4");
    ASSERT_TRUE(MakePatternClip(clip, "120x80", "25", 3, "libx264"));

    CliOptions options;
    wxString error;
    ASSERT_EQ(ParseCliArguments({"--fps", "4", "--from", "1", "--to", "0:03", "-o", folder.File("cli.gif"), clip},
                                options, error),
              CliAction::Encode)
        << error;
    ASSERT_EQ(RunCli(options, stderr, false), kCliOk);
    const GiflibFile gif = DecodeGifFile(folder.File("cli.gif"));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.screenWidth, 120);
    EXPECT_EQ(gif.screenHeight, 80);
    ASSERT_EQ(gif.frames.size(), 8u); // 1 s to 3 s at 4 a second
    for (const GiflibFrame& frame : gif.frames)
        EXPECT_EQ(frame.delayCs, 25);

    wxArrayString names;
    for (long long ms : {1000LL, 2000LL, 2500LL})
        names.Add(ClipFrameName(clip, ms));
    EXPECT_EQ(ProjectLoadList(names), names);
    ProjectFileSettings settings;
    settings.width = 120;
    settings.height = 80;
    settings.delay = 50;
    const wxString project = folder.File("clip-project.xml");
    ASSERT_TRUE(WriteProjectFile(project, *BuildProjectDocument(settings, names), nullptr));
    CliOptions render;
    render.project = project;
    render.output = folder.File("project.gif");
    ASSERT_EQ(RunCli(render, stderr, false), kCliOk);
    const GiflibFile rendered = DecodeGifFile(render.output);
    ASSERT_TRUE(rendered.ok);
    ASSERT_EQ(rendered.frames.size(), 3u);
    EXPECT_EQ(rendered.frames[0].rgb, gif.frames[0].rgb); // both the frame at 1 s
}


// A list load on several workers hands over the frames of pictures, GIFs,
// clip ranges and a project's clip frames in list order, the same frames as
// loading each name in turn, however few frames may wait; stopping ends it.
TEST(ClipListLoad, FramesArriveInListOrderWhateverTheWorkers)
{
    wxImage::AddHandler(new wxPNGHandler);
    const ClipFolder& folder = ClipFolder::Get();
    TempDir dir;
    const wxString clip = folder.File("list.mp4");
    ASSERT_TRUE(MakePatternClip(clip, "64x48", "25", 2, "libx264"));
    const std::vector<wxString> names = {WritePng(dir, "a.png", 30, 20),
                                         WriteGif(dir, "anim.gif", 3),
                                         ClipRangeName(clip, 0, 1000, 5),
                                         dir.File("missing.png"),
                                         ClipFrameName(clip, 1200),
                                         ClipFrameName(clip, 1000),
                                         ClipFrameName(clip, 1640),
                                         WritePng(dir, "b.png", 8, 8)};
    EXPECT_EQ(ListLoadUnits(names),
              (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 7}, {7, 8}}));

    const ThumbnailSizeRule thumbnail = [](const wxSize& full) { return wxSize(full.x / 2, full.y / 2); };
    struct Arrived {
        int entry;
        int frameIndex;
        wxImage thumbnail;
    };
    std::vector<Arrived> serial;
    for (size_t i = 0; i < names.size(); ++i)
        LoadMediaFrames(names[i], thumbnail, [&](LoadedFrame&& frame) {
            serial.push_back({static_cast<int>(i), frame.frameIndex, frame.thumbnail});
            return true;
        });
    ASSERT_EQ(serial.size(), 1u + 3 + 5 + 3 + 1);

    for (unsigned workers : {1u, 2u, 4u}) {
        ListLoadLimits limits;
        limits.workers = workers;
        limits.framesAhead = 1;
        std::vector<Arrived> arrived;
        LoadListInOrder(names, thumbnail, limits, [&](int entry, LoadedFrame&& frame) {
            arrived.push_back({entry, frame.frameIndex, frame.thumbnail});
            return true;
        });
        ASSERT_EQ(arrived.size(), serial.size()) << workers << " workers";
        for (size_t k = 0; k < serial.size(); ++k) {
            EXPECT_EQ(arrived[k].entry, serial[k].entry) << k;
            EXPECT_EQ(arrived[k].frameIndex, serial[k].frameIndex) << k;
            EXPECT_LT(MeanAbsoluteDifference(arrived[k].thumbnail, serial[k].thumbnail), 0.5) << k << " of " << workers;
        }

        int taken = 0;
        LoadListInOrder(names, thumbnail, limits, [&](int, LoadedFrame&&) { return ++taken < 4; });
        EXPECT_EQ(taken, 4);
        std::atomic<int> polls{0};
        limits.stopping = [&] { return ++polls > 2; };
        int afterStop = 0;
        LoadListInOrder(names, thumbnail, limits, [&](int, LoadedFrame&&) { return ++afterStop > 0; });
        EXPECT_LE(afterStop, 3);
    }
}

} // namespace
