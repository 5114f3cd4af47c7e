// The frame strip as a container: item list, geometry, scrolling, painting.
#include "thumbnail_fixture.h"

#include <wx/dcclient.h>

namespace {
int TextHeightOf(wxWindow* window)
{
    wxClientDC dc(window);
    dc.SetFont(window->GetFont());
    return dc.GetTextExtent("X").y;
}
} // namespace

TEST_F(ThumbnailCtrlTest, CellIsEightySixWideAndLeavesRoomForThreeTextLines)
{
    const int textHeight = TextHeightOf(m_ctrl);
    EXPECT_EQ(m_ctrl->GetTextHeight(), textHeight);
    EXPECT_EQ(m_ctrl->GetCellSize(), wxSize(86, 95 + 3 * textHeight));
    EXPECT_EQ(m_ctrl->GetId(), ID_THUMBNAIL_CTRL);
    EXPECT_TRUE(m_ctrl->HasFlag(THUMB_STYLE_MULTI_SELECT | THUMB_STYLE_NAME_LABEL |
                                THUMB_STYLE_CAPTION));
}

TEST_F(ThumbnailCtrlTest, ItemFourSitsInRowOneColumnOne)
{
    ASSERT_EQ(m_ctrl->GetClientSize(), wxSize(kClientWidth, kClientHeight));
    AppendItems(5);
    const int cellHeight = m_ctrl->GetCellSize().y;
    int row = -1;
    int col = -1;
    ASSERT_TRUE(m_ctrl->GetRowCol(4, m_ctrl->GetClientSize(), row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(4, cell));
    EXPECT_EQ(cell, wxRect(92, 3 + cellHeight + 3, 86, cellHeight));
    wxRect picture;
    ASSERT_TRUE(m_ctrl->GetItemRectImage(4, picture));
    EXPECT_EQ(picture, wxRect(95, cell.y + 6 + m_ctrl->GetTextHeight(), 80, 80));
    // A client narrower than one cell gives every item its own row.
    ASSERT_TRUE(m_ctrl->GetRowCol(4, wxSize(60, 400), row, col));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 0);
    EXPECT_TRUE(Asserts().empty());
}

TEST_F(ThumbnailCtrlTest, TransformFollowsTheScrollPosition)
{
    AppendItems(30);
    Settle();
    m_ctrl->Scroll(0, 12);
    Settle();
    wxRect scrolled;
    wxRect logical;
    ASSERT_TRUE(m_ctrl->GetItemRect(7, scrolled, true));
    ASSERT_TRUE(m_ctrl->GetItemRect(7, logical, false));
    EXPECT_EQ(logical.y - scrolled.y, 120);
    ASSERT_TRUE(m_ctrl->GetItemRectImage(7, scrolled, true));
    ASSERT_TRUE(m_ctrl->GetItemRectImage(7, logical, false));
    EXPECT_EQ(logical.y - scrolled.y, 120);
}

TEST_F(ThumbnailCtrlTest, EmptyStripHasNoScrolling)
{
    int x = -1;
    int y = -1;
    m_ctrl->GetScrollPixelsPerUnit(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    AppendItems(1);
    m_ctrl->Clear();
    m_ctrl->GetScrollPixelsPerUnit(&x, &y);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(m_ctrl->GetScrollLines(wxVERTICAL), 0);
}

TEST_F(ThumbnailCtrlTest, ScrollRangeIsTheGridHeightInTenPixelSteps)
{
    // Lower than two rows, so that there is something to scroll.
    m_ctrl->SetClientSize(kClientWidth, 200);
    Settle();
    AppendItems(6);
    const int total = 3 + 2 * (m_ctrl->GetCellSize().y + 3);
    int x = -1;
    int y = -1;
    m_ctrl->GetScrollPixelsPerUnit(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 10);
    EXPECT_EQ(m_ctrl->GetScrollLines(wxVERTICAL), total / 10);
    EXPECT_EQ(m_ctrl->GetScrollLines(wxHORIZONTAL), 0);
    EXPECT_EQ(m_ctrl->GetVirtualSize().y, total / 10 * 10);
}

TEST_F(ThumbnailCtrlTest, ViewMovesUpWhenTheContentShrinks)
{
    AppendItems(60);
    Settle();
    m_ctrl->Scroll(0, 150);
    Settle();
    for (int i = 0; i < 55; ++i)
        m_ctrl->Delete(m_ctrl->GetCount() - 1);
    Settle();
    // Five items fit in two rows: nothing is left to scroll.
    EXPECT_EQ(m_ctrl->GetViewStart().y, 0);
}

TEST_F(ThumbnailCtrlTest, AppendRefusesAnItemWhoseFileIsGone)
{
    AppendItems(2, 10);
    wxImageThumbnailItem* gone = MakeItem(*wxRED, wxSize(16, 16), 0, m_dir.File("gone.png"));
    EXPECT_EQ(m_ctrl->Append(gone, 25), -1);
    EXPECT_EQ(m_ctrl->GetCount(), 2);
    delete gone; // a refused item stays with the caller
}

TEST_F(ThumbnailCtrlTest, InsertKeepsTheSameItemsSelected)
{
    AppendItems(4);
    m_ctrl->Select(0);
    m_ctrl->Select(2);
    const int inserted = m_ctrl->Insert(MakeItem(*wxBLUE), 0);
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(Selection(), (std::vector<int>{1, 3}));
    EXPECT_EQ(m_ctrl->GetCount(), 5);
    EXPECT_EQ(m_ctrl->GetAnchorItem(), -1);
    EXPECT_EQ(m_ctrl->GetLastSelectedItem(), -1);
    EXPECT_EQ(m_ctrl->GetFocusItem(), -1);
    // The new item was prepared: it has its thumbnail.
    auto* item = static_cast<wxImageThumbnailItem*>(m_ctrl->GetItem(0));
    EXPECT_TRUE(item->GetThumbnailBitmap().IsOk());
}

TEST_F(ThumbnailCtrlTest, InsertAtTheEndAppends)
{
    AppendItems(2);
    EXPECT_EQ(m_ctrl->Insert(MakeItem(*wxBLUE), 2), 2);
    EXPECT_EQ(m_ctrl->GetCount(), 3);
}

TEST_F(ThumbnailCtrlTest, DeleteRenumbersTheSelection)
{
    AppendItems(6);
    m_ctrl->Select(4);
    m_ctrl->Select(0);
    m_ctrl->Select(2); // markers are now 2
    m_ctrl->SetFocusItem(5);
    m_ctrl->Delete(2);
    EXPECT_EQ(Selection(), (std::vector<int>{3, 0}));
    EXPECT_EQ(m_ctrl->GetAnchorItem(), -1);
    EXPECT_EQ(m_ctrl->GetLastSelectedItem(), -1);
    // A marker naming another item keeps its number.
    EXPECT_EQ(m_ctrl->GetFocusItem(), 5);
    EXPECT_EQ(m_ctrl->GetCount(), 5);
    m_ctrl->Delete(1);
    EXPECT_EQ(Selection(), (std::vector<int>{2, 0}));
    EXPECT_TRUE(Asserts().empty());
}

TEST_F(ThumbnailCtrlTest, DeleteInDescendingOrderRemovesTheSelectedFrames)
{
    for (const wxColour& colour : {*wxRED, *wxGREEN, *wxBLUE, *wxBLACK})
        m_ctrl->Append(MakeItem(colour), 10);
    m_ctrl->Select(3);
    m_ctrl->Select(1);
    wxArrayInt doomed = m_ctrl->GetSelections();
    doomed.Sort([](int* a, int* b) { return *b - *a; });
    for (int index : doomed)
        m_ctrl->Delete(index);
    ASSERT_EQ(m_ctrl->GetCount(), 2);
    const auto colourOf = [this](int index) {
        const wxImage image =
            static_cast<wxImageThumbnailItem*>(m_ctrl->GetItem(index))->GetSource()->Decode();
        return wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
    };
    EXPECT_EQ(colourOf(0), *wxRED);
    EXPECT_EQ(colourOf(1), *wxBLUE);
    EXPECT_TRUE(Selection().empty());
}

TEST_F(ThumbnailCtrlTest, ClearEmptiesItemsAndSelection)
{
    AppendItems(3);
    m_ctrl->Select(1);
    m_ctrl->Clear();
    EXPECT_EQ(m_ctrl->GetCount(), 0);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(m_ctrl->GetFocusItem(), -1);
}

TEST_F(ThumbnailCtrlTest, NestedFreezeWaitsForTheLastThaw)
{
    m_ctrl->FreezeLayout();
    m_ctrl->FreezeLayout();
    AppendItems(12);
    EXPECT_EQ(m_ctrl->GetScrollLines(wxVERTICAL), 0);
    m_ctrl->ThawLayout();
    EXPECT_TRUE(m_ctrl->IsLayoutFrozen());
    EXPECT_EQ(m_ctrl->GetScrollLines(wxVERTICAL), 0);
    m_ctrl->ThawLayout();
    EXPECT_FALSE(m_ctrl->IsLayoutFrozen());
    const int total = 3 + 4 * (m_ctrl->GetCellSize().y + 3);
    EXPECT_EQ(m_ctrl->GetScrollLines(wxVERTICAL), total / 10);
}

TEST_F(ThumbnailCtrlTest, FrozenStripKeepsShowingWhatItShowed)
{
    Painted();
    m_ctrl->FreezeLayout();
    AppendItems(3);
    m_ctrl->Select(0);
    m_ctrl->m_cellsDrawn = 0;
    const wxImage frozen = Painted();
    EXPECT_EQ(m_ctrl->m_cellsDrawn, 0);
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(0, cell));
    const wxPoint inside(cell.x + 1, cell.y + cell.height / 2);
    EXPECT_EQ(frozen.GetRed(inside.x, inside.y), kStripBackgroundRed);

    m_ctrl->ThawLayout();
    const wxImage thawed = Painted();
    EXPECT_EQ(m_ctrl->m_cellsInLastPaint, 3);
    EXPECT_NE(thawed.GetRed(inside.x, inside.y), kStripBackgroundRed);
}

TEST_F(ThumbnailCtrlTest, OutOfRangeIndicesAreReportedAndRefused)
{
    AppendItems(3);
    wxRect rect(1, 2, 3, 4);
    EXPECT_FALSE(m_ctrl->GetItemRect(3, rect));
    EXPECT_FALSE(m_ctrl->GetItemRectImage(7, rect));
    EXPECT_EQ(rect, wxRect(1, 2, 3, 4));
    int row = 9;
    int col = 9;
    EXPECT_FALSE(m_ctrl->GetRowCol(3, m_ctrl->GetClientSize(), row, col));
    EXPECT_EQ(row, 9);
    // Looking up a stale index is answered quietly.
    EXPECT_EQ(m_ctrl->GetItem(3), nullptr);
    EXPECT_EQ(m_ctrl->GetItem(-1), nullptr);
    m_ctrl->Select(1);
    m_ctrl->Delete(3);
    m_ctrl->Delete(-1);
    EXPECT_EQ(m_ctrl->GetCount(), 3);
    EXPECT_EQ(Selection(), (std::vector<int>{1}));
    EXPECT_EQ(Asserts(), (std::vector<wxString>{
                             "n < GetCount()", "n < GetCount()", "item < GetCount()",
                             "bad index in wxThumbnailItemArray::RemoveAt()",
                             "bad index in wxThumbnailItemArray::RemoveAt()"}));
}

TEST_F(ThumbnailCtrlTest, EmptyStripPaintsOnlyTheBackdrop)
{
    const wxImage painted = Painted();
    ASSERT_TRUE(painted.IsOk());
    for (const wxPoint& point : {wxPoint(0, 0), wxPoint(45, 60), wxPoint(299, 399)}) {
        EXPECT_EQ(painted.GetRed(point.x, point.y), kStripBackgroundRed);
        EXPECT_EQ(painted.GetGreen(point.x, point.y), 223);
        EXPECT_EQ(painted.GetBlue(point.x, point.y), 227);
    }
}

TEST_F(ThumbnailCtrlTest, PaintShowsCellsAndPictures)
{
    m_ctrl->Append(MakeItem(*wxRED), 10);
    m_ctrl->Append(MakeItem(*wxGREEN), 10);
    const wxImage painted = Painted();
    wxRect cell;
    wxRect picture;
    ASSERT_TRUE(m_ctrl->GetItemRect(1, cell));
    ASSERT_TRUE(m_ctrl->GetItemRectImage(1, picture));
    const wxPoint centre = picture.GetPosition() + wxSize(picture.width / 2, picture.height / 2);
    EXPECT_EQ(painted.GetRed(centre.x, centre.y), 0);
    EXPECT_EQ(painted.GetGreen(centre.x, centre.y), 255);
    // Around the small picture the cell's own fill shows.
    const wxColour cellColour = m_ctrl->GetCellColour();
    EXPECT_EQ(painted.GetRed(picture.x + 2, picture.y + 2), cellColour.Red());
    EXPECT_EQ(painted.GetBlue(cell.x + 1, cell.y + cell.height / 2), cellColour.Blue());
    // Raised frame: white top-left, black bottom-right.
    EXPECT_EQ(painted.GetRed(cell.x, cell.y + 20), 255);
    EXPECT_EQ(painted.GetRed(cell.GetRight(), cell.y + 20), 0);
    // Between the cells the backdrop shows.
    EXPECT_EQ(painted.GetRed(cell.x - 2, cell.y + 20), kStripBackgroundRed);
}

TEST_F(ThumbnailCtrlTest, SelectedCellIsFilledAndPressedIn)
{
    AppendItems(2);
    m_ctrl->Select(1);
    const wxImage painted = Painted();
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(1, cell));
    const wxColour fill = wxWindow::FindFocus() == m_ctrl ? m_ctrl->GetFocusedSelectionColour()
                                                          : m_ctrl->GetUnfocusedSelectionColour();
    EXPECT_EQ(painted.GetRed(cell.x + 1, cell.y + cell.height / 2), fill.Red());
    EXPECT_EQ(painted.GetRed(cell.x, cell.y + 20), 0);
    EXPECT_EQ(painted.GetRed(cell.GetRight(), cell.y + 20), 255);
}

TEST_F(ThumbnailCtrlTest, RepaintDrawsOnlyTheVisibleCellsOfALongList)
{
    m_ctrl->FreezeLayout();
    AppendItems(2000);
    m_ctrl->ThawLayout();
    Settle();
    Painted();
    // Three columns and at most four partly visible rows.
    EXPECT_GT(m_ctrl->m_cellsInLastPaint, 0);
    EXPECT_LE(m_ctrl->m_cellsInLastPaint, 12);

    m_ctrl->Scroll(0, m_ctrl->GetScrollLines(wxVERTICAL));
    Settle();
    const wxImage painted = Painted();
    EXPECT_GT(m_ctrl->m_cellsInLastPaint, 0);
    EXPECT_LE(m_ctrl->m_cellsInLastPaint, 12);
    wxRect last;
    ASSERT_TRUE(m_ctrl->GetItemRectImage(1999, last));
    EXPECT_LT(last.y, kClientHeight);
    EXPECT_EQ(painted.GetRed(last.x + 40, last.y + 40), 255);
}

TEST_F(ThumbnailCtrlTest, SelectAllCommandFollowsTheItemCount)
{
    wxUpdateUIEvent update(wxID_SELECTALL);
    update.SetEventObject(m_ctrl);
    m_ctrl->ProcessWindowEvent(update);
    EXPECT_FALSE(update.GetEnabled());

    AppendItems(4);
    m_ctrl->Select(2);
    wxUpdateUIEvent again(wxID_SELECTALL);
    again.SetEventObject(m_ctrl);
    m_ctrl->ProcessWindowEvent(again);
    EXPECT_TRUE(again.GetEnabled());

    wxCommandEvent command(wxEVT_MENU, wxID_SELECTALL);
    command.SetEventObject(m_ctrl);
    m_ctrl->ProcessWindowEvent(command);
    EXPECT_EQ(Selection(), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(m_ctrl->GetFocusItem(), 3);
    EXPECT_EQ(m_ctrl->GetAnchorItem(), 3);
    EXPECT_EQ(m_ctrl->GetLastSelectedItem(), 3);
    EXPECT_TRUE(m_events.empty());
}
