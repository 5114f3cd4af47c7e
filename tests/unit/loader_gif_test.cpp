#include "decode/gif_frame_name.h"
#include "decode/picture_loader.h"

#include "test_paths.h"

#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/imagpng.h>
#include <wx/wfstream.h>

#include <gtest/gtest.h>

#include <vector>

#include <sys/stat.h>

namespace {

struct Delivered {
    wxImage picture;
    int frame;
};

std::vector<Delivered> Load(const wxString& path)
{
    std::vector<Delivered> pictures;
    LoadPictures(path, [&](wxImage&& picture, int frame) {
        pictures.push_back({picture, frame});
        return true;
    });
    return pictures;
}

wxString SuiteDir()
{
    return CorpusDir() + "/gif/gif-test-suite";
}

wxImage LoadPng(const wxString& path)
{
    wxImage picture;
    wxFileInputStream stream(path);
    wxPNGHandler png;
    if (stream.IsOk())
        png.LoadFile(&picture, stream, false);
    return picture;
}

// Pixels count as equal when both are fully transparent, or when colour and
// alpha agree.
::testing::AssertionResult SamePixels(const wxImage& ours, const wxImage& expected)
{
    if (ours.GetSize() != expected.GetSize())
        return ::testing::AssertionFailure() << "size " << ours.GetWidth() << "x" << ours.GetHeight();
    for (int y = 0; y < ours.GetHeight(); ++y) {
        for (int x = 0; x < ours.GetWidth(); ++x) {
            const int a = ours.HasAlpha() ? ours.GetAlpha(x, y) : 255;
            const int b = expected.HasAlpha() ? expected.GetAlpha(x, y) : 255;
            if (a == 0 && b == 0)
                continue;
            if (a != b || ours.GetRed(x, y) != expected.GetRed(x, y) || ours.GetGreen(x, y) != expected.GetGreen(x, y)
                || ours.GetBlue(x, y) != expected.GetBlue(x, y))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(LoaderGif, FramesMatchTheSuiteReferenceFrames)
{
    if (!wxDirExists(SuiteDir()))
        GTEST_SKIP() << "corpus not found";
    wxArrayString gifs;
    wxDir::GetAllFiles(SuiteDir(), &gifs, "*.gif", wxDIR_FILES);
    ASSERT_FALSE(gifs.empty());
    int compared = 0;
    for (const wxString& gif : gifs) {
        const wxString name = wxFileName(gif).GetName();
        const std::vector<Delivered> frames = Load(gif);
        SCOPED_TRACE(name.ToStdString());
        ASSERT_FALSE(frames.empty());
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].frame, static_cast<int>(i));
            wxString reference = SuiteDir() + "/frames/" + name + wxString::Format("-%zu.png", i);
            if (frames.size() == 1 && !wxFileExists(reference))
                reference = SuiteDir() + "/frames/" + name + ".png";
            ASSERT_TRUE(wxFileExists(reference)) << reference;
            EXPECT_TRUE(SamePixels(frames[i].picture, LoadPng(reference))) << "frame " << i;
            ++compared;
        }
        // No reference frame is left without a decoded frame.
        EXPECT_FALSE(wxFileExists(SuiteDir() + "/frames/" + name + wxString::Format("-%zu.png", frames.size())));
    }
    EXPECT_GT(compared, 40);
}

TEST(LoaderGif, FrameNameYieldsOnlyThatFrame)
{
    const wxString gif = SuiteDir() + "/animated_transparent_frame_restoreprev_loop.gif";
    if (!wxFileExists(gif))
        GTEST_SKIP() << "corpus not found";
    const std::vector<Delivered> all = Load(gif);
    ASSERT_EQ(all.size(), 4u);
    const std::vector<Delivered> one = Load(GifFrameName(gif, 2));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].frame, 2);
    // Frame 2 is shown over what frames 0 and 1 left.
    EXPECT_TRUE(SamePixels(one[0].picture, all[2].picture));
}

TEST(LoaderGif, FrameNamePastTheLastFrameYieldsNothing)
{
    const wxString gif = SuiteDir() + "/animated_loop.gif";
    if (!wxFileExists(gif))
        GTEST_SKIP() << "corpus not found";
    EXPECT_TRUE(Load(GifFrameName(gif, 4)).empty());
    EXPECT_TRUE(Load(GifFrameName(gif, 999)).empty());
}

TEST(LoaderGif, UpperCaseExtensionYieldsTheFirstFrameOnly)
{
    const wxString gif = SuiteDir() + "/animated_loop.gif";
    if (!wxFileExists(gif))
        GTEST_SKIP() << "corpus not found";
    TempDir dir;
    const wxString upper = dir.File("ANIM.GIF");
    ASSERT_TRUE(wxCopyFile(gif, upper));
    const std::vector<Delivered> pictures = Load(upper);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frame, 0);
    EXPECT_TRUE(SamePixels(pictures[0].picture, Load(gif)[0].picture));
}

TEST(LoaderGif, PicturesOwnTheirDataAlone)
{
    const wxString gif = SuiteDir() + "/animated_loop.gif";
    if (!wxFileExists(gif))
        GTEST_SKIP() << "corpus not found";
    std::vector<wxImage*> taken;
    LoadPictures(gif, [&](wxImage&& picture, int) {
        taken.push_back(TakePicture(picture));
        EXPECT_FALSE(picture.IsOk());
        return true;
    });
    ASSERT_EQ(taken.size(), 4u);
    for (wxImage* picture : taken) {
        EXPECT_EQ(picture->GetRefData()->GetRefCount(), 1);
        delete picture;
    }
}

TEST(LoaderGif, SinkCanStopTheLoad)
{
    const wxString gif = SuiteDir() + "/animated_loop.gif";
    if (!wxFileExists(gif))
        GTEST_SKIP() << "corpus not found";
    int calls = 0;
    EXPECT_EQ(LoadPictures(gif, [&](wxImage&&, int) { return ++calls < 2; }), 2);
    EXPECT_EQ(calls, 2);
}

TEST(LoaderGif, PathThatOnlyLooksLikeAFrameNameIsLoadedAsItself)
{
    const wxString png = CorpusDir() + "/pngsuite/basn2c08.png";
    if (!wxFileExists(png))
        GTEST_SKIP() << "corpus not found";
    TempDir dir;
    ASSERT_TRUE(wxMkdir(dir.File("old.gif_files")));
    const wxString inside = dir.File("old.gif_files/a.png");
    ASSERT_TRUE(wxCopyFile(png, inside));
    ASSERT_EQ(GifFrameNumberFromName(inside), 0);
    const std::vector<Delivered> pictures = Load(inside);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].picture.GetSize(), wxSize(32, 32));
}

TEST(LoaderGif, FrameOfAMissingFileYieldsNothing)
{
    TempDir dir;
    EXPECT_TRUE(Load(dir.File("missing.gif_2")).empty());
    EXPECT_TRUE(Load(dir.File("missing.gif")).empty());
}

TEST(LoaderGif, OnlyRegularFilesAreRead)
{
    TempDir dir;
    const wxString fifo = dir.File("pipe.png");
    ASSERT_EQ(mkfifo(fifo.fn_str(), 0600), 0);
    EXPECT_TRUE(Load(fifo).empty()); // would block in open() if it were read
    EXPECT_TRUE(Load(dir.Path()).empty());
    EXPECT_TRUE(Load("/dev/zero").empty());
}
