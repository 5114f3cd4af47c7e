#include "window/thumbnaillayout.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

namespace {
// The strip's fixed cell with a text height of 13: 86 x 118, 3 pixels apart.
constexpr int kTextHeight = 13;
ThumbnailGrid StripGrid()
{
    ThumbnailGrid grid;
    grid.cellWidth = 86;
    grid.cellHeight = 92 + 2 * kTextHeight;
    grid.spacing = 3;
    return grid;
}
} // namespace

TEST(ThumbnailGrid, ColumnsWrapAtTheClientWidth)
{
    EXPECT_EQ(GridColumns(StripGrid(), 300), 3);
    EXPECT_EQ(GridColumns(StripGrid(), 356), 4);
    EXPECT_EQ(GridColumns(StripGrid(), 355), 3);
    // Narrower than one cell still shows one column, each item in its own row.
    EXPECT_EQ(GridColumns(StripGrid(), 50), 1);
    EXPECT_EQ(GridColumns(StripGrid(), 0), 1);
    EXPECT_EQ(GridCellRect(StripGrid(), 2, 50), wxRect(3, 3 + 2 * 121, 86, 118));
}

TEST(ThumbnailGrid, CellOfItemFourInThreeColumns)
{
    EXPECT_EQ(GridCellRect(StripGrid(), 4, 300), wxRect(92, 3 + 95 + 2 * kTextHeight, 86, 118));
    EXPECT_EQ(GridCellRect(StripGrid(), 0, 300), wxRect(3, 3, 86, 118));
}

TEST(ThumbnailGrid, TotalHeightOfTwoRows)
{
    EXPECT_EQ(GridTotalHeight(StripGrid(), 6, 300), 245);
    EXPECT_EQ(GridTotalHeight(StripGrid(), 4, 300), 245);
    EXPECT_EQ(GridTotalHeight(StripGrid(), 3, 300), 124);
    EXPECT_EQ(GridTotalHeight(StripGrid(), 0, 300), 0);
}

TEST(ThumbnailGrid, RowsPerPageAtLeastOne)
{
    EXPECT_EQ(GridRowsPerPage(StripGrid(), 400), 3);
    EXPECT_EQ(GridRowsPerPage(StripGrid(), 100), 1);
}

TEST(ThumbnailGrid, EachCellOwnsTheSpacingLeftOfAndAboveIt)
{
    const ThumbnailGrid grid = StripGrid();
    EXPECT_EQ(GridIndexAt(grid, 300, wxPoint(0, 0)), 0);
    EXPECT_EQ(GridIndexAt(grid, 300, wxPoint(88, 120)), 0);
    // The strip left of the second cell and above the second row.
    EXPECT_EQ(GridIndexAt(grid, 300, wxPoint(89, 10)), 1);
    EXPECT_EQ(GridIndexAt(grid, 300, wxPoint(10, 121)), 3);
    EXPECT_EQ(GridIndexAt(grid, 300, wxPoint(93, 130)), 4);
}

TEST(ThumbnailGrid, RightOfTheLastColumnCountsOn)
{
    // Three columns end at x = 270; x = 280 is column 3 of row 1: item 6.
    EXPECT_EQ(GridIndexAt(StripGrid(), 300, wxPoint(280, 130)), 6);
    EXPECT_EQ(GridIndexAt(StripGrid(), 300, wxPoint(-1, 10)), -1);
}

TEST(ThumbnailGrid, BandRangeHoldsExactlyTheRowsItMeets)
{
    const ThumbnailGrid grid = StripGrid();
    const int count = 50;
    for (int width : {50, 300, 400}) {
        for (int top = -30; top < 1000; top += 7) {
            for (int height : {1, 2, 20, 118, 121, 400}) {
                const IndexRange range = GridIndexRangeInBand(grid, width, count, top, top + height);
                int first = count;
                int last = -1;
                for (int index = 0; index < count; ++index) {
                    const wxRect cell = GridCellRect(grid, index, width);
                    if (cell.y < top + height && cell.GetBottom() >= top) {
                        first = std::min(first, index);
                        last = std::max(last, index);
                    }
                }
                if (last < 0) {
                    EXPECT_TRUE(range.IsEmpty()) << width << " " << top << " " << height;
                    continue;
                }
                const int columns = GridColumns(grid, width);
                EXPECT_EQ(range.first, first / columns * columns) << width << " " << top;
                EXPECT_EQ(range.last, std::min(count - 1, last / columns * columns + columns - 1))
                    << width << " " << top << " " << height;
            }
        }
    }
    EXPECT_TRUE(GridIndexRangeInBand(grid, 300, 0, 0, 400).IsEmpty());
}

TEST(ThumbnailGrid, PictureSitsBelowTheNameAboveTheCaptions)
{
    const wxRect cell(92, 124, 86, 95 + 3 * kTextHeight);
    EXPECT_EQ(PictureRectInCell(cell, wxSize(80, 80), kTextHeight, 3, true),
              wxRect(92 + 3, 124 + 6 + kTextHeight, 80, 80));
    // Without a caption line the cell is shorter and the picture moves up by
    // half a text line.
    const wxRect shortCell(3, 3, 86, 92 + kTextHeight);
    EXPECT_EQ(PictureRectInCell(shortCell, wxSize(80, 80), kTextHeight, 3, false),
              wxRect(6, 3 + (12 + kTextHeight) / 2 - kTextHeight / 2, 80, 80));
}

TEST(ThumbnailKeys, FourColumnsTenItemsFromItemEight)
{
    EXPECT_EQ(KeyNavigationTarget(WXK_DOWN, 8, 10, 4, 3), -1);
    EXPECT_EQ(KeyNavigationTarget(WXK_RIGHT, 8, 10, 4, 3), 9);
    EXPECT_EQ(KeyNavigationTarget(WXK_END, 8, 10, 4, 3), 9);
    EXPECT_EQ(KeyNavigationTarget(WXK_UP, 8, 10, 4, 3), 4);
    EXPECT_EQ(KeyNavigationTarget(WXK_LEFT, 8, 10, 4, 3), 7);
    EXPECT_EQ(KeyNavigationTarget(WXK_HOME, 8, 10, 4, 3), 0);
}

TEST(ThumbnailKeys, EdgesStopTheMove)
{
    EXPECT_EQ(KeyNavigationTarget(WXK_LEFT, 0, 10, 4, 3), -1);
    EXPECT_EQ(KeyNavigationTarget(WXK_UP, 3, 10, 4, 3), -1);
    EXPECT_EQ(KeyNavigationTarget(WXK_RIGHT, 9, 10, 4, 3), -1);
    EXPECT_EQ(KeyNavigationTarget('a', 3, 10, 4, 3), -1);
}

TEST(ThumbnailKeys, PagesAreClampedToTheList)
{
    EXPECT_EQ(KeyNavigationTarget(WXK_PAGEDOWN, 1, 10, 4, 3), 9);
    EXPECT_EQ(KeyNavigationTarget(WXK_PAGEDOWN, 1, 40, 4, 3), 13);
    EXPECT_EQ(KeyNavigationTarget(WXK_PAGEUP, 9, 10, 4, 3), 0);
    EXPECT_EQ(KeyNavigationTarget(WXK_PAGEUP, 30, 40, 4, 3), 18);
}

TEST(ThumbnailScroll, ForwardKeysAlignTheBottomBackwardKeysTheTop)
{
    EXPECT_EQ(ScrollOrderForKey(WXK_DOWN), ScrollOrder::BottomFirst);
    EXPECT_EQ(ScrollOrderForKey(WXK_PAGEDOWN), ScrollOrder::BottomFirst);
    EXPECT_EQ(ScrollOrderForKey(WXK_HOME), ScrollOrder::TopFirst);
    EXPECT_EQ(ScrollOrderForKey(WXK_LEFT), ScrollOrder::TopFirst);
    EXPECT_EQ(ScrollOrderForKey(WXK_RETURN), ScrollOrder::None);

    // A cell below a 400-pixel view at the top.
    const wxRect below(3, 366, 86, 118);
    EXPECT_EQ(ScrollUnitsToShowCell(below, 3, 0, 400, 10, ScrollOrder::BottomFirst),
              (366 + 118 + 3 - 400) / 10);
    // A cell above a view scrolled to 500.
    const wxRect above(3, 245, 86, 118);
    EXPECT_EQ(ScrollUnitsToShowCell(above, 3, 500, 400, 10, ScrollOrder::TopFirst), 24);
    // A visible cell stays where it is.
    EXPECT_EQ(ScrollUnitsToShowCell(below, 3, 300, 400, 10, ScrollOrder::BottomFirst), -1);
    // No scrolling without scroll units.
    EXPECT_EQ(ScrollUnitsToShowCell(below, 3, 0, 400, 0, ScrollOrder::BottomFirst), -1);
}

TEST(ThumbnailScroll, TallCellFollowsTheDirectionOfTheKey)
{
    // Taller than the view and sticking out at both ends.
    const wxRect tall(3, 100, 86, 500);
    EXPECT_EQ(ScrollUnitsToShowCell(tall, 3, 200, 100, 10, ScrollOrder::BottomFirst),
              (100 + 500 + 3 - 100) / 10);
    EXPECT_EQ(ScrollUnitsToShowCell(tall, 3, 200, 100, 10, ScrollOrder::TopFirst), 10);
}

TEST(ThumbnailSelection, InsertKeepsTheSameItemsSelected)
{
    wxArrayInt selection;
    selection.Add(0);
    selection.Add(2);
    RenumberSelectionForInsert(selection, 0);
    ASSERT_EQ(selection.size(), 2u);
    EXPECT_EQ(selection[0], 1);
    EXPECT_EQ(selection[1], 3);
    RenumberSelectionForInsert(selection, 3);
    EXPECT_EQ(selection[1], 4);
}

TEST(ThumbnailSelection, DeleteDropsTheItemAndRenumbersHigherOnes)
{
    wxArrayInt selection;
    selection.Add(5);
    selection.Add(2);
    selection.Add(7);
    RenumberSelectionForDelete(selection, 2);
    ASSERT_EQ(selection.size(), 2u);
    EXPECT_EQ(selection[0], 4);
    EXPECT_EQ(selection[1], 6);
    // Deleting an unselected item only renumbers.
    RenumberSelectionForDelete(selection, 0);
    ASSERT_EQ(selection.size(), 2u);
    EXPECT_EQ(selection[0], 3);
    EXPECT_EQ(selection[1], 5);
}

TEST(ThumbnailCaption, ShowsPositionStartTimeAndDelay)
{
    EXPECT_EQ(ThumbnailCaption(2, 100), "#3  1.00sec");
    EXPECT_EQ(ThumbnailCaption(0, 0), "#1  0.00sec");
    EXPECT_EQ(ThumbnailCaption(99, 693), "#100  6.93sec");
    // Start times past what 16 bits of delay can reach in one frame.
    EXPECT_EQ(ThumbnailCaption(2, 131070), "#3  1310.70sec");
    EXPECT_EQ(ThumbnailDelayCaption(7), "+0.07sec");
    EXPECT_EQ(ThumbnailDelayCaption(0), "+0.00sec");
    EXPECT_EQ(ThumbnailDelayCaption(65535), "+655.35sec");
}

TEST(ThumbnailSize, ScalesDownKeepingProportions)
{
    const wxSize box(80, 80);
    EXPECT_EQ(FitThumbnailSize(wxSize(640, 480), box), wxSize(80, 60));
    EXPECT_EQ(FitThumbnailSize(wxSize(300, 200), box), wxSize(80, 53));
    EXPECT_EQ(FitThumbnailSize(wxSize(200, 400), box), wxSize(40, 80));
    EXPECT_EQ(FitThumbnailSize(wxSize(81, 80), box), wxSize(80, 79));
}

TEST(ThumbnailSize, SmallPicturesAreNeverEnlarged)
{
    EXPECT_EQ(FitThumbnailSize(wxSize(50, 30), wxSize(80, 80)), wxSize(50, 30));
    EXPECT_EQ(FitThumbnailSize(wxSize(80, 80), wxSize(80, 80)), wxSize(80, 80));
    EXPECT_EQ(FitThumbnailSize(wxSize(16, 16), wxSize(80, 80)), wxSize(16, 16));
}

TEST(ThumbnailSize, FullWidthSurvivesRounding)
{
    // 303 * (80 / 303.0) is a hair below 80 in double precision.
    EXPECT_EQ(FitThumbnailSize(wxSize(303, 200), wxSize(80, 80)).x, 80);
    EXPECT_EQ(FitThumbnailSize(wxSize(200, 1162), wxSize(80, 80)).y, 80);
}

TEST(ThumbnailSize, ThinPicturesKeepOnePixel)
{
    EXPECT_EQ(FitThumbnailSize(wxSize(4000, 3), wxSize(80, 80)), wxSize(80, 1));
    EXPECT_EQ(FitThumbnailSize(wxSize(0, 30), wxSize(80, 80)), wxSize(0, 0));
}
