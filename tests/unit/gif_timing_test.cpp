// Frame delays and loop counts as other decoders read them back: giflib and
// Pillow for what we write, our loader for what others wrote, and the
// project file for what the window keeps.
#include "gif_test_decoders.h"
#include "pillow_gif.h"
#include "test_paths.h"

#include "cli_options.h"
#include "cli_run.h"
#include "encode/gif_pipeline.h"
#include "decode/picture_loader.h"
#include "project/project_file.h"

#include <wx/ffile.h>
#include <wx/xml/xml.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// `count` frames of 8 x 6 in distinct colours.
wxImage Frame(std::size_t index)
{
    wxImage frame(8, 6);
    frame.SetRGB(wxRect(0, 0, 8, 6), static_cast<unsigned char>(40 * index), 90, 200);
    return frame;
}

Bytes Encode(std::size_t count, const GifEncodeSettings& settings)
{
    wxMemoryOutputStream out;
    if (!EncodeGifAnimation(out, count, Frame, settings))
        return {};
    Bytes bytes(out.GetLength());
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

ProjectFileSettings Project(const char* name, int width, int height, int delay)
{
    ProjectFileSettings settings;
    settings.gifName = name;
    settings.width = width;
    settings.height = height;
    settings.delay = delay;
    return settings;
}

GifEncodeSettings Settings()
{
    GifEncodeSettings settings;
    settings.width = 8;
    settings.height = 6;
    settings.delayCs = 20;
    return settings;
}

void WriteFile(const wxString& path, const Bytes& bytes)
{
    wxFFile file(path, "wb");
    ASSERT_TRUE(file.IsOpened());
    ASSERT_EQ(file.Write(bytes.data(), bytes.size()), bytes.size());
}

Bytes ReadFile(const wxString& path)
{
    wxFFile file(path, "rb");
    Bytes bytes(file.IsOpened() ? file.Length() : 0);
    if (!bytes.empty())
        file.Read(bytes.data(), bytes.size());
    return bytes;
}

std::vector<int> GiflibDelays(const Bytes& bytes)
{
    std::vector<int> delays;
    for (const GiflibFrame& frame : DecodeWithGiflib(bytes).frames)
        delays.push_back(frame.delayCs);
    return delays;
}

std::vector<int> Times(const std::vector<int>& values, int factor)
{
    std::vector<int> result;
    for (int value : values)
        result.push_back(value * factor);
    return result;
}

} // namespace

TEST(GifTiming, EveryFrameKeepsItsDelayInGiflibAndPillow)
{
    const struct {
        const char* name;
        std::vector<int> delays; // empty: every frame takes delayCs 20
        std::vector<int> expected;
    } cases[] = {
        {"uniform", {}, {20, 20, 20}},
        {"selection held longer", {10, 200, 10}, {10, 200, 10}},
        {"zero and one kept as written", {0, 1, 2}, {0, 1, 2}},
        {"maximum", {65535, 7, 65535}, {65535, 7, 65535}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        GifEncodeSettings settings = Settings();
        settings.delaysCs = c.delays;
        const Bytes bytes = Encode(3, settings);
        ASSERT_FALSE(bytes.empty()) << c.name;
        EXPECT_EQ(GiflibDelays(bytes), c.expected) << c.name;
        const wxString path = dir.File("timing.gif");
        WriteFile(path, bytes);
        const PillowGif pillow = ReadGifWithPillow(path);
        ASSERT_TRUE(pillow.ok) << pillow.error;
        EXPECT_EQ(pillow.durationsMs, Times(c.expected, 10)) << c.name;
    }

    // A list that is not one delay per frame, or a negative delay, is refused.
    GifEncodeSettings settings = Settings();
    settings.delaysCs = {10, 10};
    EXPECT_TRUE(Encode(3, settings).empty());
    settings.delaysCs = {10, -1, 10};
    EXPECT_TRUE(Encode(3, settings).empty());
}

// Browsers and Pillow count the passes after the first, and play a file
// without the extension once.
TEST(GifTiming, LoopCountIsWrittenAsBrowsersAndPillowCount)
{
    const struct {
        int plays;
        int field; // -1: no loop extension
    } cases[] = {{0, 0}, {1, -1}, {2, 1}, {3, 2}, {65535, 65534}, {kGifMaxPlays, 65535}};
    TempDir dir;
    for (const auto& c : cases) {
        GifEncodeSettings settings = Settings();
        settings.loopCount = c.plays;
        const Bytes bytes = Encode(2, settings);
        ASSERT_FALSE(bytes.empty()) << c.plays;
        const GiflibFile giflib = DecodeWithGiflib(bytes);
        ASSERT_TRUE(giflib.ok);
        EXPECT_EQ(giflib.loopCount, c.field) << c.plays;
        EXPECT_EQ(giflib.frames.size(), 2u);
        const wxString path = dir.File("loop.gif");
        WriteFile(path, bytes);
        const PillowGif pillow = ReadGifWithPillow(path);
        ASSERT_TRUE(pillow.ok) << pillow.error;
        EXPECT_EQ(pillow.loop, c.field) << c.plays;
    }
    for (int refused : {-1, kGifMaxPlays + 1}) {
        GifEncodeSettings settings = Settings();
        settings.loopCount = refused;
        EXPECT_TRUE(Encode(2, settings).empty()) << refused;
    }
}

TEST(GifTiming, PicturesFromAGifCarryItsDelays)
{
    GifEncodeSettings settings = Settings();
    settings.delaysCs = {0, 1, 250, 65535};
    const Bytes bytes = Encode(4, settings);
    std::vector<int> read;
    LoadPicturesFromMemory(bytes.data(), bytes.size(), PictureRead::AllGifFrames, -1,
                           [&](wxImage&& picture, int) {
                               read.push_back(PictureDelayCs(picture));
                               return true;
                           });
    EXPECT_EQ(read, settings.delaysCs);

    // One frame named on its own carries its delay too.
    read.clear();
    LoadPicturesFromMemory(bytes.data(), bytes.size(), PictureRead::OneGifFrame, 2, [&](wxImage&& picture, int) {
        read.push_back(PictureDelayCs(picture));
        return true;
    });
    EXPECT_EQ(read, std::vector<int>{250});

    // A GIF frame without a graphic control extension has no timing.
    const Bytes still = Concat({Text("GIF89a"),
                                {1, 0, 1, 0, 0x80, 0, 0},       // 1 x 1 screen, 2 colours
                                {0, 0, 0, 255, 255, 255},       // global colour table
                                {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0}, // image descriptor
                                {0x02, 0x02, 0x44, 0x01, 0},    // pixel data
                                {0x3B}});
    read.clear();
    EXPECT_EQ(LoadPicturesFromMemory(still.data(), still.size(), PictureRead::AllGifFrames, -1,
                                     [&](wxImage&& picture, int) {
                                         read.push_back(PictureDelayCs(picture));
                                         return true;
                                     }),
              1);
    EXPECT_EQ(read, std::vector<int>{-1});
}

TEST(GifTiming, CommandLineDelaysAndLoop)
{
    wxImage::AddHandler(new wxPNGHandler);
    TempDir dir;
    wxImage picture(8, 6);
    picture.SetRGB(wxRect(0, 0, 8, 6), 10, 200, 30);
    const wxString png = dir.File("a.png");
    ASSERT_TRUE(picture.SaveFile(png, wxBITMAP_TYPE_PNG));
    GifEncodeSettings timed = Settings();
    timed.delaysCs = {0, 1, 250};
    const wxString gif = dir.File("timed.gif");
    WriteFile(gif, Encode(3, timed));

    const struct {
        const char* name;
        std::vector<const char*> arguments; // "A" for the picture, "G" for the GIF
        std::vector<int> expected;
        int loopField;
    } cases[] = {
        {"GIF timing kept, pictures take the default", {"A", "G"}, {10, 0, 1, 250}, 0},
        {"-d sets every frame", {"-d", "30", "G", "A"}, {30, 30, 30, 30}, 0},
        {"FILE:DELAY before -d", {"-d", "30", "A:45", "G:5"}, {45, 5, 5, 5}, 0},
        {"play twice", {"--loop", "2", "A"}, {10}, 1},
        {"play once", {"-l", "1", "A:65535"}, {65535}, -1},
    };
    for (const auto& c : cases) {
        std::vector<wxString> arguments = {"-o", dir.File("out.gif")};
        for (const char* argument : c.arguments) {
            wxString text(argument);
            if (text.StartsWith("A"))
                text = png + text.Mid(1);
            else if (text.StartsWith("G"))
                text = gif + text.Mid(1);
            arguments.push_back(text);
        }
        CliOptions options;
        wxString error;
        ASSERT_EQ(ParseCliArguments(arguments, options, error), CliAction::Encode) << c.name << ": " << error;
        std::FILE* errors = std::tmpfile();
        ASSERT_EQ(RunCli(options, errors, false), kCliOk) << c.name;
        std::fclose(errors);
        const Bytes bytes = ReadFile(dir.File("out.gif"));
        EXPECT_EQ(GiflibDelays(bytes), c.expected) << c.name;
        EXPECT_EQ(DecodeWithGiflib(bytes).loopCount, c.loopField) << c.name;
    }
    wxImage::CleanUpHandlers();
}

// Version 1.0.82 wrote these files; with one delay, an endless GIF and the
// default quality they are written the same way today.
TEST(GifTiming, ProjectsOfOneDelayAreWrittenAsBefore)
{
    const struct {
        const char* file;
        ProjectFileSettings settings;
        std::vector<const char*> frames;
    } cases[] = {
        {"sized-1.0.82.xml", Project("anim.gif", 90, 60, 20), {"a.png", "b.gif_0", "b.gif_1", "c.png"}},
        {"unsized-1.0.82.xml", Project("", 0, 0, 7), {"b.gif_1", "a.png", "b.gif_0"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        wxArrayString frames;
        for (const char* frame : c.frames)
            frames.Add(wxString("@PICTURES@/") + frame);
        const std::vector<int> delays(frames.size(), c.settings.delay);
        const wxString path = dir.File(c.file);
        wxString error;
        ASSERT_TRUE(WriteProjectFile(path, *BuildProjectDocument(c.settings, frames, delays), &error)) << error;
        EXPECT_EQ(ReadFile(path), ReadFile(SourceDir() + "/tests/data/projects/" + c.file)) << c.file;
    }
}

// What is new lies where the 1.0.82 reader passes over it: attributes of
// `path` and elements after `delay_time`.
TEST(GifTiming, ProjectKeepsFrameDelaysLoopAndQuality)
{
    ProjectFileSettings settings = Project("anim.gif", 90, 60, 10);
    settings.loopCount = 2;
    settings.loopInFile = true;
    settings.quality = 70;
    settings.sizeLimit = 12345678901LL; // past 32 bits
    settings.sizeLimitSide = 128;
    settings.keepAllFrames = true;
    wxArrayString frames;
    for (const char* frame : {"/p/a.png", "/p/b.gif_0", "/p/b.gif_1", "/p/c.png"})
        frames.Add(frame);
    const auto document = BuildProjectDocument(settings, frames, {10, 0, 250, 10});

    const ProjectContents read = ReadProjectDocument(*document);
    ASSERT_EQ(read.stage, ProjectReadStage::Entries);
    EXPECT_EQ(read.settings.delay, 10);
    EXPECT_EQ(read.settings.loopCount, 2);
    EXPECT_TRUE(read.settings.loopInFile);
    EXPECT_EQ(read.settings.quality, 70);
    EXPECT_EQ(read.settings.sizeLimit, 12345678901LL);
    EXPECT_EQ(read.settings.sizeLimitSide, 128);
    EXPECT_TRUE(read.settings.keepAllFrames);
    // The GIF's own entry after its frames carries no delay.
    EXPECT_EQ(read.entries.size(), 5u);
    EXPECT_EQ(read.entries[1], "/p/b.gif_0");
    EXPECT_EQ(read.entryDelays, (std::vector<int>{-1, 0, 250, -1, -1}));

    const wxXmlNode* gif = document->GetRoot()->GetChildren()->GetNext();
    const wxXmlNode* delay = gif->GetChildren()->GetNext()->GetNext();
    ASSERT_EQ(delay->GetName(), "delay_time");
    EXPECT_EQ(delay->GetNext()->GetName(), "loop_count");
}
