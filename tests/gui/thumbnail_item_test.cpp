// Frame items: preparation, names of GIF frames, thumbnails and the cell
// they paint.
#include "thumbnail_fixture.h"

#include <wx/ffile.h>

#include <cstdlib>
#include <cstring>

namespace {
wxImageThumbnailItem* ItemAt(wxThumbnailCtrl* ctrl, int index)
{
    return static_cast<wxImageThumbnailItem*>(ctrl->GetItem(index));
}

void Touch(const wxString& path)
{
    wxFFile(path, "wb").Write("x", 1);
}

constexpr int kMarkTolerance = 12;

bool IsCaptionBlue(const wxImage& image, int x, int y)
{
    return image.GetBlue(x, y) > image.GetRed(x, y) + 100 &&
           image.GetBlue(x, y) > image.GetGreen(x, y) + 100;
}

bool IsDark(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) < 100 && image.GetGreen(x, y) < 100 && image.GetBlue(x, y) < 100;
}

// Counts the pixels of a rectangle that pass `test`.
template <typename Test>
int CountPixels(const wxImage& image, const wxRect& rect, Test test)
{
    int count = 0;
    for (int y = rect.y; y <= rect.GetBottom(); ++y)
        for (int x = rect.x; x <= rect.GetRight(); ++x)
            count += test(image, x, y) ? 1 : 0;
    return count;
}
} // namespace

TEST_F(ThumbnailCtrlTest, GifFrameIsNamedAfterFileAndIndex)
{
    const wxString gif = m_dir.File("anim.gif");
    Touch(gif);
    ASSERT_EQ(m_ctrl->Append(MakeItem(*wxRED, wxSize(16, 16), 12, gif), 10), 0);
    EXPECT_EQ(ItemAt(m_ctrl, 0)->GetFileName(), gif + "_12");
    EXPECT_EQ(ItemAt(m_ctrl, 0)->GetFrameIndex(), 12);
    // Preparing again would look for "anim.gif_12", which is no file.
    EXPECT_FALSE(ItemAt(m_ctrl, 0)->PrepareBitmaps(m_ctrl, true));
}

TEST_F(ThumbnailCtrlTest, UpperCaseGifKeepsItsName)
{
    const wxString gif = m_dir.File("ANIM.GIF");
    Touch(gif);
    ASSERT_EQ(m_ctrl->Append(MakeItem(*wxRED, wxSize(16, 16), 2, gif), 10), 0);
    EXPECT_EQ(ItemAt(m_ctrl, 0)->GetFileName(), gif);
}

TEST_F(ThumbnailCtrlTest, PreparingKeepsOnlyTheThumbnailAndASource)
{
    auto* image = new wxImage(640, 480);
    image->SetRGB(wxRect(0, 0, 640, 480), 10, 20, 30);
    image->SetRGB(wxRect(600, 400, 40, 80), 200, 100, 50);
    const wxImage original = image->Copy();
    auto* item = new wxImageThumbnailItem(image, 0, m_imageFile);
    ASSERT_EQ(m_ctrl->Append(item, 10), 0);
    EXPECT_EQ(item->GetFullSize(), wxSize(640, 480));
    EXPECT_EQ(item->GetThumbnailBitmap().GetSize(), wxSize(80, 60));
    // The picture given is released: the item keeps no full-size pixels.
    ASSERT_TRUE(item->GetSource());

    const wxImage decoded = item->GetSource()->Decode();
    ASSERT_TRUE(decoded.IsOk());
    ASSERT_EQ(decoded.GetSize(), wxSize(640, 480));
    EXPECT_EQ(0, memcmp(decoded.GetData(), original.GetData(), 640 * 480 * 3));
    const wxBitmap full = item->GetFullBitmap();
    ASSERT_TRUE(full.IsOk());
    EXPECT_EQ(full.GetSize(), wxSize(640, 480));
    EXPECT_EQ(full.ConvertToImage().GetBlue(639, 479), 50);
}

TEST_F(ThumbnailCtrlTest, ItemWithoutPictureIsHarmless)
{
    auto* none = new wxImageThumbnailItem(nullptr, 0, m_imageFile);
    auto* invalid = new wxImageThumbnailItem(new wxImage(), 0, m_imageFile);
    ASSERT_EQ(m_ctrl->Append(none, 10), 0);
    ASSERT_EQ(m_ctrl->Insert(invalid, 0), 0);
    for (wxImageThumbnailItem* item : {none, invalid}) {
        EXPECT_FALSE(item->GetThumbnailBitmap().IsOk());
        EXPECT_FALSE(item->GetFullBitmap().IsOk());
        EXPECT_EQ(item->GetFullSize(), wxSize(0, 0));
        EXPECT_FALSE(item->GetSource());
    }
    m_ctrl->Select(1);
    const wxImage painted = Painted();
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(0, cell));
    EXPECT_EQ(painted.GetRed(cell.x + cell.width / 2, cell.y + cell.height / 2),
              m_ctrl->GetCellColour().Red());
    EXPECT_TRUE(Asserts().empty());
}

TEST_F(ThumbnailCtrlTest, ThumbnailsFitEightyPixelsWithoutEnlarging)
{
    const auto fitted = [](int width, int height) {
        return ScaleToFit(wxImage(width, height), 80, 80).GetSize();
    };
    EXPECT_EQ(fitted(640, 480), wxSize(80, 60));
    EXPECT_EQ(fitted(300, 200), wxSize(80, 53));
    EXPECT_EQ(fitted(200, 400), wxSize(40, 80));
    EXPECT_EQ(fitted(50, 30), wxSize(50, 30));
    EXPECT_FALSE(ScaleToFit(wxImage(), 80, 80).IsOk());
}

TEST_F(ThumbnailCtrlTest, SmallPictureIsCentredInThePictureArea)
{
    m_ctrl->Append(MakeItem(*wxRED, wxSize(16, 16)), 10);
    const wxImage painted = Painted();
    wxRect picture;
    ASSERT_TRUE(m_ctrl->GetItemRectImage(0, picture));
    const int left = picture.x + (80 - 16) / 2;
    const int top = picture.y + (80 - 16) / 2;
    const auto isRed = [](const wxImage& image, int x, int y) {
        return image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 0;
    };
    EXPECT_EQ(CountPixels(painted, wxRect(left, top, 16, 16), isRed), 16 * 16);
    EXPECT_EQ(CountPixels(painted, picture, isRed), 16 * 16);
}

TEST_F(ThumbnailCtrlTest, CellShowsNameAboveAndCaptionBelowThePicture)
{
    m_ctrl->Append(MakeItem(), 50);
    const wxString bare = m_dir.File("noextension");
    Touch(bare);
    m_ctrl->Append(MakeItem(*wxRED, wxSize(16, 16), 0, bare), 50);
    const wxImage painted = Painted();
    const int t = m_ctrl->GetTextHeight();
    for (int index : {0, 1}) {
        wxRect cell;
        ASSERT_TRUE(m_ctrl->GetItemRect(index, cell));
        const wxRect nameLine(cell.x + 3, cell.y + 3, 80, t);
        const wxRect captionLine(cell.x + 3, cell.y + 89 + t, 80, t);
        EXPECT_GT(CountPixels(painted, nameLine, IsDark), 5) << index;
        const int blue = CountPixels(painted, captionLine, IsCaptionBlue);
        if (index == 0)
            EXPECT_GT(blue, 5);
        else
            EXPECT_EQ(blue, 0) << "a name without extension has no caption";
    }
}

TEST_F(ThumbnailCtrlTest, LongNameIsCutAtTheCellMargin)
{
    const wxString longName = m_dir.File("a-very-long-file-name-that-never-fits.png");
    Touch(longName);
    m_ctrl->Append(MakeItem(*wxRED, wxSize(16, 16), 0, longName), 10);
    const wxImage painted = Painted();
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(0, cell));
    const int t = m_ctrl->GetTextHeight();
    // Text runs from the left margin up to the right margin, not beyond.
    EXPECT_GT(CountPixels(painted, wxRect(cell.x + 3, cell.y + 3, 10, t), IsDark), 0);
    EXPECT_GT(CountPixels(painted, wxRect(cell.x + 73, cell.y + 3, 10, t), IsDark), 0);
    EXPECT_EQ(CountPixels(painted, wxRect(cell.x + 83, cell.y + 3, 2, t), IsDark), 0);
}

TEST_F(ThumbnailCtrlTest, FocusItemCarriesADottedMark)
{
    AppendItems(3);
    m_ctrl->SetFocus();
    Settle();
    if (wxWindow::FindFocus() != m_ctrl)
        GTEST_SKIP() << "the display gives no keyboard focus";
    Click(1);
    const wxImage painted = Painted();
    const wxColour mark = m_ctrl->GetFocusMarkColour();
    // Cairo softens the dots a little against the fill.
    const auto isMark = [&mark](const wxImage& image, int x, int y) {
        const auto near = [](int a, int b) { return std::abs(a - b) <= kMarkTolerance; };
        return near(image.GetRed(x, y), mark.Red()) && near(image.GetGreen(x, y), mark.Green()) &&
               near(image.GetBlue(x, y), mark.Blue());
    };
    for (int index : {0, 1}) {
        wxRect picture;
        ASSERT_TRUE(m_ctrl->GetItemRectImage(index, picture));
        const wxRect topEdge(picture.x - 1, picture.y - 1, picture.width + 2, 1);
        const int dots = CountPixels(painted, topEdge, isMark);
        if (index == 1) {
            EXPECT_GT(dots, picture.width / 4);
            EXPECT_LT(dots, picture.width + 2) << "the mark is dotted";
        } else {
            EXPECT_EQ(dots, 0);
        }
    }
    // The selected cell uses the focused selection fill.
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(1, cell));
    EXPECT_EQ(painted.GetRed(cell.x + 1, cell.y + cell.height / 2),
              m_ctrl->GetFocusedSelectionColour().Red());
}
