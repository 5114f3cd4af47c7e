// Selection, mouse and keyboard handling of the frame strip, driven with
// real toolkit events.
#include "thumbnail_fixture.h"

#include <wx/uiaction.h>

#include <functional>
#include <ostream>
#include <utility>

namespace {
using Events = std::vector<RecordedEvent>;
} // namespace

// Click sequences on a strip of ten items: each step's notifications in
// order, the selection in selection order, and the anchor, focus and last
// selected item where the step names them.
constexpr int kUnchecked = -2;
constexpr int kBoth = THUMB_KEY_CTRL | THUMB_KEY_SHIFT;

struct ClickStep {
    int index;
    int flags;
    Events events;
    std::vector<int> selection;
    int anchor = kUnchecked;
    int focus = kUnchecked;
    int lastSelected = kUnchecked;
};

struct ClickCase {
    const char* name;
    std::vector<int> selectedFirst;                 // by Select, in this order
    std::vector<std::pair<int, int>> clickedFirst; // index and flags, before the checked steps
    std::vector<ClickStep> steps;
};

void PrintTo(const ClickCase& c, std::ostream* out)
{
    *out << c.name;
}

class ClickSelection : public ThumbnailCtrlTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickSelection, NotifiesAndSelects)
{
    const ClickCase& c = GetParam();
    AppendItems(10);
    for (int index : c.selectedFirst)
        m_ctrl->Select(index);
    for (const auto& [index, flags] : c.clickedFirst)
        Click(index, flags);
    for (const ClickStep& step : c.steps) {
        SCOPED_TRACE(::testing::Message() << "click on " << step.index << " flags " << step.flags);
        m_events.clear();
        Click(step.index, step.flags);
        EXPECT_EQ(m_events, step.events);
        EXPECT_EQ(Selection(), step.selection);
        if (step.anchor != kUnchecked) {
            EXPECT_EQ(m_ctrl->GetAnchorItem(), step.anchor);
        }
        if (step.focus != kUnchecked) {
            EXPECT_EQ(m_ctrl->GetFocusItem(), step.focus);
        }
        if (step.lastSelected != kUnchecked) {
            EXPECT_EQ(m_ctrl->GetLastSelectedItem(), step.lastSelected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    ThumbnailCtrlTest, ClickSelection,
    ::testing::Values(
        ClickCase{"PlainClickReplacesTheSelection", {2, 7}, {},
                  {{5, 0, {Deselected(2), Deselected(7), Selected(5), LeftClick(5)}, {5}, 5, 5, 5}}},
        ClickCase{"PlainClickOnASelectedItemKeepsIt", {2, 7}, {},
                  {{2, 0, {Selected(2), Deselected(7), LeftClick(2)}, {2}}}},
        ClickCase{"CtrlClickTogglesOneItem", {2, 7}, {},
                  {{7, THUMB_KEY_CTRL, {Deselected(7), LeftClick(7, THUMB_KEY_CTRL)}, {2}, 7, 7, 7},
                   {4, THUMB_KEY_CTRL, {Selected(4), LeftClick(4, THUMB_KEY_CTRL)}, {2, 4}}}},
        // The anchor is the last item selected (2); it stays for the next range.
        ClickCase{"ShiftClickSelectsTheRangeFromTheAnchor", {9, 2}, {},
                  {{5, THUMB_KEY_SHIFT,
                    {Selected(2), Selected(3), Selected(4), Selected(5), LeftClick(5, THUMB_KEY_SHIFT)},
                    {2, 3, 4, 5}, 2, 5},
                   {0, THUMB_KEY_SHIFT, {Selected(2), Selected(1), Selected(0), LeftClick(0, THUMB_KEY_SHIFT)},
                    {2, 1, 0}, 2}}},
        ClickCase{"ShiftClickWithoutAnchorSelectsOnlyTheItem", {}, {},
                  {{6, THUMB_KEY_SHIFT, {Selected(6), LeftClick(6, THUMB_KEY_SHIFT)}, {6}, 6}}},
        ClickCase{"ShiftClickOnTheAnchorSelectsOnlyIt", {}, {{3, 0}, {7, THUMB_KEY_CTRL}},
                  {{7, THUMB_KEY_SHIFT, {Selected(7), LeftClick(7, THUMB_KEY_SHIFT)}, {7}}}},
        ClickCase{"CtrlAndShiftTogetherActAsCtrl", {}, {{2, 0}},
                  {{6, kBoth, {Selected(6), LeftClick(6, kBoth)}, {2, 6}}}}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

TEST_F(ThumbnailCtrlTest, ClickBesideTheCellsHitsTheOwningItem)
{
    AppendItems(10);
    // The spacing strip left of the second cell of the first row.
    SendMouse(wxEVT_LEFT_DOWN, wxPoint(90, 50));
    EXPECT_EQ(Selection(), (std::vector<int>{1}));
    // Right of the last column of row 0: column 3 of three, so item 3.
    SendMouse(wxEVT_LEFT_DOWN, wxPoint(280, 50));
    EXPECT_EQ(Selection(), (std::vector<int>{3}));
}

TEST_F(ThumbnailCtrlTest, ClickOnNoItemDoesNothing)
{
    AppendItems(2);
    m_ctrl->Select(1);
    SendMouse(wxEVT_LEFT_DOWN, wxPoint(20, 300));
    SendMouse(wxEVT_RIGHT_DOWN, wxPoint(20, 300));
    SendMouse(wxEVT_MIDDLE_DOWN, wxPoint(20, 300));
    SendMouse(wxEVT_LEFT_DCLICK, wxPoint(20, 300));
    EXPECT_TRUE(m_events.empty());
    EXPECT_EQ(Selection(), (std::vector<int>{1}));
}

TEST_F(ThumbnailCtrlTest, RightClickMovesOnlyTheFocusMark)
{
    AppendItems(6);
    Click(1);
    m_events.clear();
    Click(4, THUMB_KEY_ALT, wxEVT_RIGHT_DOWN);
    EXPECT_EQ(m_events,
              (Events{{wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, 4, THUMB_KEY_ALT}}));
    EXPECT_EQ(Selection(), (std::vector<int>{1}));
    EXPECT_EQ(m_ctrl->GetFocusItem(), 4);
    EXPECT_EQ(m_ctrl->GetAnchorItem(), 1);
}

TEST_F(ThumbnailCtrlTest, MiddleAndDoubleClicksOnlyNotify)
{
    AppendItems(6);
    Click(3, 0, wxEVT_MIDDLE_DOWN);
    Click(2, THUMB_KEY_SHIFT, wxEVT_LEFT_DCLICK);
    EXPECT_EQ(m_events, (Events{{wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, 3, 0},
                                {wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, 2, THUMB_KEY_SHIFT}}));
    EXPECT_TRUE(Selection().empty());
}

TEST_F(ThumbnailCtrlTest, ClickInAStripWithoutMultiSelectIsPlain)
{
    AppendItems(6);
    m_ctrl->SetWindowStyleFlag(m_ctrl->GetWindowStyleFlag() & ~THUMB_STYLE_MULTI_SELECT);
    Click(1);
    Click(4, THUMB_KEY_CTRL);
    EXPECT_EQ(Selection(), (std::vector<int>{4}));
}

class ThumbnailKeyTest : public ThumbnailCtrlTest {
protected:
    // Four columns and three rows per page.
    void SetUp() override
    {
        ThumbnailCtrlTest::SetUp();
        const int rowPitch = m_ctrl->GetCellSize().y + 3;
        m_ctrl->SetClientSize(400, 3 * rowPitch + 20);
        Settle();
        AppendItems(10);
        Settle();
    }
};

TEST_F(ThumbnailKeyTest, ArrowsMoveWithinTheGrid)
{
    ASSERT_GE(m_ctrl->GetClientSize().x, 4 * 89);
    const auto from8 = [this](int key) {
        Click(8);
        PressKey(key);
        return m_ctrl->GetFocusItem();
    };
    EXPECT_EQ(from8(WXK_DOWN), 8);
    EXPECT_EQ(from8(WXK_RIGHT), 9);
    EXPECT_EQ(from8(WXK_END), 9);
    EXPECT_EQ(from8(WXK_UP), 4);
    EXPECT_EQ(from8(WXK_LEFT), 7);
    EXPECT_EQ(from8(WXK_HOME), 0);
    EXPECT_EQ(Selection(), (std::vector<int>{0}));
}

TEST_F(ThumbnailKeyTest, KeyMoveSelectsLikeAClick)
{
    Click(5);
    m_events.clear();
    EXPECT_TRUE(PressKey(WXK_RIGHT));
    EXPECT_EQ(m_events, (Events{Deselected(5), Selected(6)}));
    // A move that goes nowhere sends nothing.
    m_events.clear();
    EXPECT_TRUE(PressKey(WXK_DOWN));
    EXPECT_TRUE(m_events.empty());
    EXPECT_EQ(Selection(), (std::vector<int>{6}));
}

TEST_F(ThumbnailKeyTest, ShiftArrowExtendsFromTheAnchor)
{
    Click(5);
    PressKey(WXK_RIGHT, THUMB_KEY_SHIFT);
    PressKey(WXK_RIGHT, THUMB_KEY_SHIFT);
    EXPECT_EQ(Selection(), (std::vector<int>{5, 6, 7}));
    PressKey(WXK_RIGHT, THUMB_KEY_CTRL);
    EXPECT_EQ(Selection(), (std::vector<int>{5, 6, 7, 8}));
}

TEST_F(ThumbnailKeyTest, PageDownStopsAtTheLastItem)
{
    Click(1);
    PressKey(WXK_PAGEDOWN);
    EXPECT_EQ(m_ctrl->GetFocusItem(), 9);
    PressKey(WXK_PAGEUP);
    EXPECT_EQ(m_ctrl->GetFocusItem(), 0);
}

TEST_F(ThumbnailKeyTest, FirstKeyAfterFillingSelectsTheFirstItem)
{
    EXPECT_TRUE(PressKey(WXK_END));
    EXPECT_EQ(Selection(), (std::vector<int>{0}));
    EXPECT_EQ(m_ctrl->GetFocusItem(), 0);
    EXPECT_EQ(m_events, (Events{Selected(0)}));

    m_ctrl->Append(MakeItem(), 10);
    EXPECT_TRUE(PressKey(WXK_HOME));
    EXPECT_EQ(Selection(), (std::vector<int>{0}));
}

TEST_F(ThumbnailKeyTest, LastSelectedItemIsTheStartWithoutFocusItem)
{
    m_ctrl->Select(6);
    m_ctrl->Delete(9); // resets nothing that names 6
    ASSERT_EQ(m_ctrl->GetFocusItem(), 6);
    PressKey(WXK_LEFT);
    EXPECT_EQ(m_ctrl->GetFocusItem(), 5);
}

TEST_F(ThumbnailKeyTest, ReturnNotifiesWithoutAnItem)
{
    Click(3);
    m_events.clear();
    EXPECT_TRUE(PressKey(WXK_RETURN, THUMB_KEY_SHIFT));
    EXPECT_EQ(m_events, (Events{{wxEVT_COMMAND_THUMBNAIL_RETURN, -1, THUMB_KEY_SHIFT}}));
    EXPECT_EQ(Selection(), (std::vector<int>{3}));
}

TEST_F(ThumbnailKeyTest, OtherKeysArePassedOn)
{
    EXPECT_FALSE(PressKey('a'));
    EXPECT_TRUE(Selection().empty());
}

TEST_F(ThumbnailCtrlTest, NavigationKeyInAnEmptyStripIsConsumed)
{
    EXPECT_TRUE(PressKey(WXK_DOWN));
    EXPECT_TRUE(m_events.empty());
    EXPECT_TRUE(Asserts().empty());
}

TEST_F(ThumbnailCtrlTest, KeysScrollTheFocusItemIntoView)
{
    AppendItems(40);
    Settle();
    const int clientHeight = m_ctrl->GetClientSize().y;
    PressKey(WXK_HOME);
    PressKey(WXK_END);
    wxRect last;
    ASSERT_TRUE(m_ctrl->GetItemRect(39, last, false));
    EXPECT_EQ(m_ctrl->GetViewStart().y, (last.GetBottom() + 1 + 3 - clientHeight) / 10);
    ASSERT_TRUE(m_ctrl->GetItemRect(39, last));
    EXPECT_LT(last.y, clientHeight);

    PressKey(WXK_HOME);
    EXPECT_EQ(m_ctrl->GetViewStart().y, 0);

    // Down from the last whole row brings the next row's bottom into view,
    // Up from there back to the top brings the top row's top into view.
    Click(3);
    ASSERT_EQ(m_ctrl->GetViewStart().y, 0);
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(6, cell, false));
    ASSERT_GT(cell.GetBottom(), clientHeight);
    PressKey(WXK_DOWN);
    EXPECT_EQ(m_ctrl->GetViewStart().y, (cell.GetBottom() + 1 + 3 - clientHeight) / 10);
    PressKey(WXK_UP);
    EXPECT_GT(m_ctrl->GetViewStart().y, 0);
    PressKey(WXK_UP);
    EXPECT_EQ(m_ctrl->GetFocusItem(), 0);
    EXPECT_EQ(m_ctrl->GetViewStart().y, 0);
}

TEST_F(ThumbnailCtrlTest, ClickOnAPartlyHiddenCellScrollsItIntoView)
{
    AppendItems(15);
    Settle();
    const int clientHeight = m_ctrl->GetClientSize().y;
    // The first cell whose top is visible but whose bottom is not.
    int index = 0;
    wxRect cell;
    for (; index < m_ctrl->GetCount(); ++index) {
        ASSERT_TRUE(m_ctrl->GetItemRect(index, cell));
        if (cell.GetBottom() >= clientHeight)
            break;
    }
    ASSERT_LT(cell.y, clientHeight);
    SendMouse(wxEVT_LEFT_DOWN, wxPoint(cell.x + 10, clientHeight - 2));
    EXPECT_EQ(Selection(), (std::vector<int>{index}));
    ASSERT_TRUE(m_ctrl->GetItemRect(index, cell, false));
    EXPECT_EQ(m_ctrl->GetViewStart().y, (cell.GetBottom() + 1 + 3 - clientHeight) / 10);
}

TEST_F(ThumbnailCtrlTest, SelectWhileFrozenOnlyChangesTheState)
{
    AppendItems(3);
    m_ctrl->FreezeLayout();
    m_ctrl->Select(1);
    m_ctrl->Select(1, false);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(m_ctrl->GetAnchorItem(), 1);
    EXPECT_EQ(m_ctrl->GetFocusItem(), 1);
    m_ctrl->ThawLayout();
}

TEST_F(ThumbnailCtrlTest, SelectAndFocusRefuseBadIndices)
{
    AppendItems(3);
    m_ctrl->Select(3);
    m_ctrl->SetFocusItem(4);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(m_ctrl->GetFocusItem(), -1);
    EXPECT_EQ(Asserts(), (std::vector<wxString>{"n < GetCount()", "item < GetCount()"}));
}

TEST_F(ThumbnailCtrlTest, SelectAllOfALongListIsLinear)
{
    m_ctrl->FreezeLayout();
    AppendItems(2000);
    m_ctrl->ThawLayout();
    m_ctrl->Select(1500);
    m_ctrl->SelectAll();
    const wxArrayInt& selection = m_ctrl->GetSelections();
    ASSERT_EQ(selection.size(), 2000u);
    EXPECT_EQ(selection[0], 1500);
    EXPECT_EQ(selection[1], 0);
    EXPECT_EQ(selection[1999], 1999);
    // A plain click then deselects the rest.
    Click(0);
    EXPECT_EQ(Selection(), (std::vector<int>{0}));
    EXPECT_EQ(m_events.size(), 2000u + 1u);
}

TEST_F(ThumbnailCtrlTest, RealClicksAndKeysFromTheDisplay)
{
    AppendItems(10);
    Settle();
    // Input arrives asynchronously through the X server.
    const auto waitFor = [](const std::function<bool()>& done) {
        const wxLongLong deadline = wxGetLocalTimeMillis() + kPaintTimeoutMs;
        while (!done() && wxGetLocalTimeMillis() < deadline) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        return done();
    };
    wxUIActionSimulator input;
    wxRect cell;
    ASSERT_TRUE(m_ctrl->GetItemRect(4, cell));
    input.MouseMove(m_ctrl->ClientToScreen(cell.GetPosition() + wxSize(20, 40)));
    Settle();
    input.MouseClick();
    ASSERT_TRUE(waitFor([this] { return Selection() == std::vector<int>{4}; }));
    EXPECT_EQ(m_events, (Events{Selected(4), LeftClick(4)}));
    ASSERT_TRUE(waitFor([this] { return wxWindow::FindFocus() == m_ctrl; }));

    input.Char(WXK_RIGHT);
    EXPECT_TRUE(waitFor([this] { return m_ctrl->GetFocusItem() == 5; }));
    input.Char(WXK_DOWN);
    EXPECT_TRUE(waitFor([this] { return m_ctrl->GetFocusItem() == 8; }));
    input.Char(WXK_LEFT, wxMOD_SHIFT);
    EXPECT_TRUE(waitFor([this] { return Selection() == std::vector<int>{8, 7}; }));
}
