#pragma once

// A frame strip shown in a real top-level window, with its notifications and
// any assertion reports recorded, for the strip's GUI tests: derive from
// ThumbnailCtrlTest, fill with AppendItems, drive with Click and PressKey, and
// check m_events, Selection() and Painted().

#include "asserts.h"
#include "file_bytes.h"
#include "test_paths.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/time.h>
#include <wx/utils.h>

#include <vector>

// Exposes the protected operations the tests drive and counts painted cells.
class TestThumbnailCtrl : public wxThumbnailCtrl {
public:
    TestThumbnailCtrl(wxWindow* parent, const wxPoint& pos, const wxSize& size)
        : wxThumbnailCtrl(parent, pos, size)
    {
        Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            ++m_paints;
            m_cellsInLastPaint = 0;
            event.Skip();
        });
    }
    using wxThumbnailCtrl::ApplyClickSelection;
    using wxThumbnailCtrl::GetBackBuffer;
    using wxThumbnailCtrl::ItemAtPoint;
    using wxThumbnailCtrl::MoveFocusByKey;

    int m_cellsDrawn = 0;
    int m_cellsInLastPaint = 0;
    int m_paints = 0;

protected:
    bool DrawItemCell(int index, wxDC& dc, const wxRect& cellRect, const wxRect& imageRect,
                      int flags) override
    {
        ++m_cellsDrawn;
        ++m_cellsInLastPaint;
        return wxThumbnailCtrl::DrawItemCell(index, dc, cellRect, imageRect, flags);
    }
};

struct RecordedEvent {
    wxEventType type;
    int index;
    int flags;
    bool operator==(const RecordedEvent& other) const
    {
        return type == other.type && index == other.index && flags == other.flags;
    }
};

inline std::ostream& operator<<(std::ostream& out, const RecordedEvent& event)
{
    const wxEventType t = event.type;
    const char* name = t == wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED     ? "SELECTED"
                       : t == wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED ? "DESELECTED"
                       : t == wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK      ? "LEFT_CLICK"
                       : t == wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK     ? "RIGHT_CLICK"
                       : t == wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK    ? "MIDDLE_CLICK"
                       : t == wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK     ? "LEFT_DCLICK"
                       : t == wxEVT_COMMAND_THUMBNAIL_RETURN          ? "RETURN"
                                                                      : "?";
    return out << name << " " << event.index << " flags " << event.flags;
}

inline RecordedEvent Selected(int index) { return {wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, index, 0}; }
inline RecordedEvent Deselected(int index) { return {wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, index, 0}; }
inline RecordedEvent LeftClick(int index, int flags = 0)
{
    return {wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, index, flags};
}

class ThumbnailCtrlTest : public ::testing::Test {
protected:
    // Client size of the strip in the tests unless a test resizes it.
    static constexpr int kClientWidth = 300;
    static constexpr int kClientHeight = 400;
    static constexpr int kStripBackgroundRed = 176;
    static constexpr int kPaintTimeoutMs = 3000;

    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "strip", wxPoint(0, 0), wxSize(900, 900));
        m_panel = new wxPanel(m_frame);
        m_ctrl = new TestThumbnailCtrl(m_panel, wxPoint(0, 0), wxSize(kClientWidth, kClientHeight));
        m_ctrl->SetBackgroundColour(wxColour(kStripBackgroundRed, 223, 227));
        m_ctrl->SetClientSize(kClientWidth, kClientHeight);
        for (const wxEventTypeTag<wxThumbnailEvent>& type :
             {wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED,
              wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK,
              wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK,
              wxEVT_COMMAND_THUMBNAIL_RETURN}) {
            m_panel->Bind(type, [this](wxThumbnailEvent& event) {
                EXPECT_EQ(event.GetEventObject(), m_ctrl);
                EXPECT_EQ(event.GetId(), ID_THUMBNAIL_CTRL);
                m_events.push_back({event.GetEventType(), event.GetItemIndex(),
                                    event.GetModifierFlags()});
            });
        }
        m_frame->Show();
        Settle();
        m_imageFile = m_dir.File("frame.png");
        WriteFileText(m_imageFile, "x");
    }

    void TearDown() override
    {
        delete m_frame;
    }

    // Lets the toolkit deliver sizes, exposures and paints.
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            wxTheApp->Yield(true);
    }

    // An item for an existing file with a picture of one colour.
    wxImageThumbnailItem* MakeItem(const wxColour& colour = *wxRED, wxSize size = wxSize(16, 16),
                                   int frameIndex = 0, const wxString& path = wxString())
    {
        auto* image = new wxImage(size);
        image->SetRGB(wxRect(size), colour.Red(), colour.Green(), colour.Blue());
        return new wxImageThumbnailItem(image, frameIndex, path.empty() ? m_imageFile : path);
    }

    void AppendItems(int count, int delay = 10)
    {
        for (int i = 0; i < count; ++i) {
            const int expected = m_ctrl->GetCount();
            ASSERT_EQ(m_ctrl->Append(MakeItem(), delay), expected);
        }
    }

    void SendMouse(wxEventType type, const wxPoint& point, int flags = 0)
    {
        wxMouseEvent event(type);
        event.SetPosition(point);
        event.SetShiftDown((flags & THUMB_KEY_SHIFT) != 0);
        event.SetControlDown((flags & THUMB_KEY_CTRL) != 0);
        event.SetAltDown((flags & THUMB_KEY_ALT) != 0);
        event.SetEventObject(m_ctrl);
        event.SetId(m_ctrl->GetId());
        m_ctrl->ProcessWindowEvent(event);
    }

    // Clicks the middle of an item's cell; a left click is a press and a
    // release (a press on a selection may start a drag).
    void Click(int index, int flags = 0, wxEventType type = wxEVT_LEFT_DOWN)
    {
        wxRect cell;
        ASSERT_TRUE(m_ctrl->GetItemRect(index, cell));
        const wxPoint middle = cell.GetPosition() + wxSize(cell.width / 2, cell.height / 2);
        SendMouse(type, middle, flags);
        if (type == wxEVT_LEFT_DOWN)
            SendMouse(wxEVT_LEFT_UP, middle, flags);
    }

    // Returns whether the strip consumed the key.
    bool PressKey(int keyCode, int flags = 0)
    {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = keyCode;
        event.SetShiftDown((flags & THUMB_KEY_SHIFT) != 0);
        event.SetControlDown((flags & THUMB_KEY_CTRL) != 0);
        event.SetEventObject(m_ctrl);
        event.SetId(m_ctrl->GetId());
        return m_ctrl->ProcessWindowEvent(event);
    }

    std::vector<int> Selection() const
    {
        const wxArrayInt& selection = m_ctrl->GetSelections();
        return std::vector<int>(selection.begin(), selection.end());
    }

    // The strip as painted, read back from its back buffer. GTK paints on
    // its frame clock, so this waits for the repaint to happen.
    wxImage Painted()
    {
        Settle();
        const int paintsBefore = m_ctrl->m_paints;
        m_ctrl->Refresh(false);
        m_ctrl->Update();
        const wxLongLong deadline = wxGetLocalTimeMillis() + kPaintTimeoutMs;
        while (m_ctrl->m_paints == paintsBefore && wxGetLocalTimeMillis() < deadline) {
            wxTheApp->Yield(true);
            wxMilliSleep(2);
        }
        EXPECT_GT(m_ctrl->m_paints, paintsBefore) << "the strip was not repainted";
        return m_ctrl->GetBackBuffer().ConvertToImage();
    }

    // Assertions the strip raised during the test.
    const std::vector<wxString>& Asserts() const { return m_asserts.Messages(); }

    AssertRecorder m_asserts;
    TempDir m_dir;
    wxString m_imageFile;
    wxFrame* m_frame = nullptr;
    wxPanel* m_panel = nullptr;
    TestThumbnailCtrl* m_ctrl = nullptr;
    std::vector<RecordedEvent> m_events;
};
