#pragma once

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/dynarray.h>
#include <wx/event.h>
#include <wx/scrolwin.h>
#include <wx/timer.h>

#include "window/thumbnaillayout.h"

#include <vector>

class wxThumbnailItem;

// Window id of the frame strip; the main window binds its notifications by it.
constexpr int ID_THUMBNAIL_CTRL = 3;

// Window style bits.
constexpr long THUMB_STYLE_MULTI_SELECT = 0x0010;
constexpr long THUMB_STYLE_NAME_LABEL = 0x0020;
constexpr long THUMB_STYLE_CAPTION = 0x0080;

// Cell flags passed to the drawing operations.
constexpr int THUMB_CELL_SELECTED = 0x01;
constexpr int THUMB_CELL_CTRL_FOCUSED = 0x04;
constexpr int THUMB_CELL_FOCUS_ITEM = 0x08;

// Modifier flags carried by the notifications.
constexpr int THUMB_KEY_SHIFT = 0x01;
constexpr int THUMB_KEY_CTRL = 0x02;
constexpr int THUMB_KEY_ALT = 0x04;

// The owning list of items: removing an element deletes its item, clearing
// or destroying the list deletes them all.
class wxThumbnailItemArray {
public:
    wxThumbnailItemArray() = default;
    wxThumbnailItemArray(const wxThumbnailItemArray&) = delete;
    wxThumbnailItemArray& operator=(const wxThumbnailItemArray&) = delete;
    ~wxThumbnailItemArray();

    size_t GetCount() const { return m_items.size(); }
    wxThumbnailItem* Item(size_t n) const { return m_items[n]; }
    void Add(wxThumbnailItem* item);
    // `n` may equal the count, which appends.
    void Insert(wxThumbnailItem* item, size_t n);
    // False, and nothing changes, for an index at or past the end.
    bool RemoveAt(size_t n);
    void Clear();
    // Hands every item over to the caller, leaving the list empty.
    std::vector<wxThumbnailItem*> Release();
    // Deletes the items held and takes these.
    void Assign(std::vector<wxThumbnailItem*> items);

private:
    std::vector<wxThumbnailItem*> m_items;
};

// A notification of the strip; travels up to the parents like a command.
class wxThumbnailEvent : public wxNotifyEvent {
public:
    wxThumbnailEvent(wxEventType commandType, int winid);
    ~wxThumbnailEvent() override;
    wxEvent* Clone() const override;

    int GetItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index) { m_itemIndex = index; }
    int GetModifierFlags() const { return m_modifierFlags; }
    void SetModifierFlags(int flags) { m_modifierFlags = flags; }
    // The files dropped, for wxEVT_COMMAND_THUMBNAIL_FILES_DROPPED.
    const wxArrayString& GetFiles() const { return m_files; }
    void SetFiles(const wxArrayString& files) { m_files = files; }

private:
    int m_itemIndex = -1;
    int m_modifierFlags = 0;
    wxArrayString m_files;

    wxDECLARE_CLASS(wxThumbnailEvent);
};

wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_RETURN, wxThumbnailEvent);
// The selection was dragged to the gap before the item index (the count for
// the end); the strip leaves the moving to its owner.
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_MOVE_SELECTION, wxThumbnailEvent);
// Files were dropped from outside at the gap before the item index.
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_FILES_DROPPED, wxThumbnailEvent);

typedef void (wxEvtHandler::*wxThumbnailEventFunction)(wxThumbnailEvent&);
#define wxThumbnailEventHandler(func) wxEVENT_HANDLER_CAST(wxThumbnailEventFunction, func)
#define EVT_THUMBNAIL_ITEM_SELECTED(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_ITEM_DESELECTED(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_LEFT_CLICK(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_RIGHT_CLICK(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_MIDDLE_CLICK(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_LEFT_DCLICK(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_RETURN(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_RETURN, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_MOVE_SELECTION(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_MOVE_SELECTION, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_FILES_DROPPED(id, fn) \
    wx__DECLARE_EVT1(wxEVT_COMMAND_THUMBNAIL_FILES_DROPPED, id, wxThumbnailEventHandler(fn))

// The frame list: owns its items, shows them as a grid of equal cells that
// wraps at the window's width and scrolls vertically, and keeps the selection
// and the keyboard focus item.
class wxThumbnailCtrl : public wxScrolledWindow {
public:
    wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos = wxDefaultPosition,
                    const wxSize& size = wxDefaultSize);
    ~wxThumbnailCtrl() override;

protected:
    // Declared first so that the virtual slots keep their established order:
    // the two drawing hooks, the list operations, then MoveFocusByKey.
    virtual bool DrawItemImage(int index, wxDC& dc, const wxRect& rect, int flags);
    virtual bool DrawItemCell(int index, wxDC& dc, const wxRect& cellRect, const wxRect& imageRect,
                              int flags);

public:
    // The frame list. Append gives the item its delay (hundredths of a
    // second); an inserted item keeps the one it has.
    virtual int Append(wxThumbnailItem* item, int delay);
    virtual int Insert(wxThumbnailItem* item, int pos);
    virtual void Clear();
    virtual void Delete(int index);
    virtual int GetCount() const;
    wxThumbnailItem* GetItem(int index) const;
    // Selected indices in the order in which they were selected.
    const wxArrayInt& GetSelections() const { return m_selections; }
    bool IsSelected(int index) const { return m_selections.Index(index) != wxNOT_FOUND; }

    // The list made again from positions of the current one (`order`, a
    // position given twice is copied with wxThumbnailItem::Duplicate, one not
    // given is deleted), with `selection` selected.
    void Rearrange(const std::vector<int>& order, const std::vector<int>& selection);
    // The list replaced by `items`, taken over, with `selection` selected.
    void ReplaceItems(std::vector<wxThumbnailItem*> items, const std::vector<int>& selection);

    // The delay of one frame, and the time at which a frame starts: the sum
    // of the delays before it, in hundredths of a second.
    void SetItemDelay(int index, int delay);
    long long GetStartTime(int index) const;

    // Nestable: scrollbars and painting catch up once the last ThawLayout
    // brings the count back to 0.
    void FreezeLayout();
    void ThawLayout();
    bool IsLayoutFrozen() const { return m_freezeCount > 0; }

    // Selection and focus; these change the selection silently, only clicks
    // and navigation keys send selection events.
    void Select(int index, bool select = true);
    void SelectAll();
    void SetFocusItem(int index);
    // Exactly these indices selected, the focus on the last of them.
    void SetSelections(const std::vector<int>& selection);
    int GetFocusItem() const { return m_focusItem; }
    int GetAnchorItem() const { return m_anchorItem; }
    int GetLastSelectedItem() const { return m_lastSelectedItem; }

    // Geometry. With `transform` the rectangles are in window coordinates,
    // without it in the scrolled coordinates that painting uses.
    bool GetItemRect(int index, wxRect& rect, bool transform = true) const;
    bool GetItemRectImage(int index, wxRect& rect, bool transform = true) const;
    bool GetRowCol(int index, const wxSize& clientSize, int& row, int& col) const;
    wxSize GetCellSize() const { return wxSize(m_cellWidth, m_cellHeight); }
    int GetTextHeight() const { return m_textHeight; }

    // Dragging frames in, or within: the gap before which the point (window
    // coordinates) would put them, 0..count; the marker shown at a gap (-1
    // for none); scrolling on its own while the point is near the top or
    // bottom edge.
    int GapAtPoint(const wxPoint& point) const;
    int GetInsertionMarker() const { return m_insertionGap; }
    void SetInsertionMarker(int gap);
    void AutoScrollNear(const wxPoint& point);
    void StopAutoScroll();
    // A drag of frames within the strip is under way.
    bool IsDraggingFrames() const { return m_dragging; }

    // Read by the items while they draw.
    wxSize GetThumbnailSize() const { return wxSize(m_thumbnailWidth, m_thumbnailHeight); }
    int GetSpacing() const { return m_spacing; }
    int GetMargin() const { return m_margin; }
    const wxColour& GetFocusedSelectionColour() const { return m_focusedSelectionColour; }
    const wxColour& GetUnfocusedSelectionColour() const { return m_unfocusedSelectionColour; }
    const wxColour& GetCellColour() const { return m_cellColour; }
    const wxColour& GetFocusMarkColour() const { return m_focusMarkColour; }
    const wxColour& GetCaptionColour() const { return m_captionColour; }

protected:
    virtual bool MoveFocusByKey(int keyCode, int flags);

    void ApplyClickSelection(int index, int flags);
    bool ItemAtPoint(const wxPoint& point, int& index) const;
    void ScrollToItem(int index);
    void ScrollToItemForKey(int index, int keyCode);

    void ComputeCellSize();
    void UpdateScrollbars();
    bool EnsureBackBuffer(const wxSize& size = wxDefaultSize);
    void PaintBackdrop(wxDC& dc);

    wxSize DoGetBestSize() const override;

    const wxBitmap& GetBackBuffer() const { return m_backBuffer; }

private:
    ThumbnailGrid GetGrid() const;
    bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
    void ResetMarkers();
    void RefreshAfterListChange();
    // Repaints one cell if it is inside the client area.
    void RefreshItem(int index);
    void SendThumbnailEvent(wxEventType type, int index, int flags);
    void ScrollCellIntoView(int index, ScrollOrder order);
    void PaintCells(wxDC& dc);
    int CellFlags(int index, bool ctrlFocused) const;
    // One flag per item: whether it is selected.
    std::vector<bool> SelectionMask() const;

    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnMiddleDown(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnSelectAll(wxCommandEvent& event);
    void OnUpdateSelectAll(wxUpdateUIEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnAutoScrollTimer(wxTimerEvent& event);
    void EndFrameDrag();
    void PaintInsertionMarker(wxDC& dc);

    wxThumbnailItemArray m_items;
    // Start time of every frame, made again when the list or a delay changed.
    mutable std::vector<long long> m_startTimes;
    mutable bool m_startTimesValid = false;
    wxArrayInt m_selections;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_thumbnailWidth = 80;
    int m_thumbnailHeight = 80;
    int m_spacing = 3;
    int m_margin = 3;
    int m_textHeight = 0;
    int m_freezeCount = 0;
    int m_anchorItem = -1;
    int m_lastSelectedItem = -1;
    int m_focusItem = -1;
    wxColour m_focusedSelectionColour;
    wxColour m_unfocusedSelectionColour;
    wxColour m_cellColour;
    wxColour m_focusMarkColour;
    wxColour m_captionColour;
    wxBitmap m_backBuffer;
    // A press on a frame that may become a drag: where and on which item.
    // A plain press on a selected frame keeps the selection (it may be
    // dragged) until the button comes up without a drag.
    int m_pressIndex = -1;
    wxPoint m_pressPoint;
    bool m_pressDeferredClick = false;
    bool m_dragging = false;
    int m_insertionGap = -1;
    wxTimer m_autoScrollTimer;
    // Pixels per tick, negative upwards.
    int m_autoScrollStep = 0;

    wxDECLARE_CLASS(wxThumbnailCtrl);
    wxDECLARE_EVENT_TABLE();
};
