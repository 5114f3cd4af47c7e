// The frame strip: the item list, the grid geometry, scrolling and painting.
#include "window/thumbnailctrl.h"

#include "window/thumbnaildrop.h"
#include "window/thumbnailitem.h"
#include "io/trace.h"

#include <wx/dcbuffer.h>
#include <wx/dnd.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>

namespace {
// The strip scrolls vertically in steps of this many pixels.
constexpr int kScrollPixelsPerUnit = 10;
// The backdrop reaches this far past every edge of the client area.
constexpr int kBackdropOverhang = 2;
} // namespace

wxIMPLEMENT_CLASS(wxThumbnailCtrl, wxScrolledWindow);

wxBEGIN_EVENT_TABLE(wxThumbnailCtrl, wxScrolledWindow)
    EVT_PAINT(wxThumbnailCtrl::OnPaint)
    EVT_ERASE_BACKGROUND(wxThumbnailCtrl::OnEraseBackground)
    EVT_LEFT_DOWN(wxThumbnailCtrl::OnLeftDown)
    EVT_LEFT_UP(wxThumbnailCtrl::OnLeftUp)
    EVT_MOTION(wxThumbnailCtrl::OnMotion)
    EVT_MOUSE_CAPTURE_LOST(wxThumbnailCtrl::OnCaptureLost)
    EVT_TIMER(wxID_ANY, wxThumbnailCtrl::OnAutoScrollTimer)
    EVT_RIGHT_DOWN(wxThumbnailCtrl::OnRightDown)
    EVT_MIDDLE_DOWN(wxThumbnailCtrl::OnMiddleDown)
    EVT_LEFT_DCLICK(wxThumbnailCtrl::OnLeftDClick)
    EVT_CHAR(wxThumbnailCtrl::OnChar)
    EVT_SIZE(wxThumbnailCtrl::OnSize)
    EVT_SET_FOCUS(wxThumbnailCtrl::OnSetFocus)
    EVT_KILL_FOCUS(wxThumbnailCtrl::OnKillFocus)
    EVT_MENU(wxID_SELECTALL, wxThumbnailCtrl::OnSelectAll)
    EVT_UPDATE_UI(wxID_SELECTALL, wxThumbnailCtrl::OnUpdateSelectAll)
wxEND_EVENT_TABLE()

wxThumbnailCtrl::wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos, const wxSize& size)
    : m_focusedSelectionColour(140, 140, 140),
      m_unfocusedSelectionColour(175, 175, 175),
      m_cellColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)),
      m_focusMarkColour(100, 80, 80),
      m_captionColour(0, 0, 200)
{
    const long style = wxHSCROLL | wxVSCROLL | wxBORDER_SUNKEN | THUMB_STYLE_MULTI_SELECT |
                       THUMB_STYLE_NAME_LABEL | THUMB_STYLE_CAPTION;
    if (!wxScrolledWindow::Create(parent, ID_THUMBNAIL_CTRL, pos, size, style, wxPanelNameStr))
        return;
    if (!GetFont().IsOk())
        SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    ComputeCellSize();
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    SetInitialSize(size);
    EnsureBackBuffer(size);
    m_autoScrollTimer.SetOwner(this);
    SetDropTarget(new wxThumbnailFileDropTarget(this));
}

wxThumbnailCtrl::~wxThumbnailCtrl() = default;

wxSize wxThumbnailCtrl::DoGetBestSize() const
{
    return wxWindowBase::DoGetBestSize();
}

ThumbnailGrid wxThumbnailCtrl::GetGrid() const
{
    ThumbnailGrid grid;
    grid.cellWidth = m_cellWidth;
    grid.cellHeight = m_cellHeight;
    grid.spacing = m_spacing;
    return grid;
}

// ---- The item list ----

int wxThumbnailCtrl::Append(wxThumbnailItem* item, int delay)
{
    Trace("Append");
    wxCHECK_MSG(item, -1, "no item to append");
    item->SetDelay(delay);
    if (!item->PrepareBitmaps(this, false))
        return -1;
    const int index = GetCount();
    m_items.Add(item);
    ResetMarkers();
    RefreshAfterListChange();
    return index;
}

int wxThumbnailCtrl::Insert(wxThumbnailItem* item, int pos)
{
    wxCHECK_MSG(item, -1, "no item to insert");
    wxCHECK_MSG(pos >= 0 && pos <= GetCount(), -1, "pos <= GetCount()");
    m_items.Insert(item, static_cast<size_t>(pos));
    ResetMarkers();
    RenumberSelectionForInsert(m_selections, pos);
    item->PrepareBitmaps(this, false);
    RefreshAfterListChange();
    return pos;
}

void wxThumbnailCtrl::Rearrange(const std::vector<int>& order, const std::vector<int>& selection)
{
    std::vector<wxThumbnailItem*> old = m_items.Release();
    std::vector<bool> used(old.size(), false);
    std::vector<wxThumbnailItem*> items;
    items.reserve(order.size());
    for (int position : order) {
        if (position < 0 || static_cast<size_t>(position) >= old.size())
            continue;
        wxThumbnailItem*& item = old[static_cast<size_t>(position)];
        if (!used[static_cast<size_t>(position)]) {
            used[static_cast<size_t>(position)] = true;
            items.push_back(item);
        } else if (wxThumbnailItem* copy = item->Duplicate()) {
            items.push_back(copy);
        }
    }
    for (size_t i = 0; i < old.size(); ++i)
        if (!used[i])
            delete old[i];
    ReplaceItems(std::move(items), selection);
}

void wxThumbnailCtrl::ReplaceItems(std::vector<wxThumbnailItem*> items, const std::vector<int>& selection)
{
    m_items.Assign(std::move(items));
    FreezeLayout();
    SetSelections(selection);
    ThawLayout();
    RefreshAfterListChange();
}

void wxThumbnailCtrl::Clear()
{
    ResetMarkers();
    m_items.Clear();
    m_selections.Clear();
    RefreshAfterListChange();
}

void wxThumbnailCtrl::Delete(int index)
{
    // An index outside the list is refused by the array, before any marker or
    // selection entry is touched.
    if (!m_items.RemoveAt(static_cast<size_t>(index)))
        return;
    if (m_anchorItem == index)
        m_anchorItem = -1;
    if (m_lastSelectedItem == index)
        m_lastSelectedItem = -1;
    if (m_focusItem == index)
        m_focusItem = -1;
    RenumberSelectionForDelete(m_selections, index);
    RefreshAfterListChange();
}

int wxThumbnailCtrl::GetCount() const
{
    return static_cast<int>(m_items.GetCount());
}

wxThumbnailItem* wxThumbnailCtrl::GetItem(int index) const
{
    // Callers look items up by indices that may have gone stale and test
    // for null; the save worker calls this too, where no report may be shown.
    return IsValidIndex(index) ? m_items.Item(static_cast<size_t>(index)) : nullptr;
}

void wxThumbnailCtrl::FreezeLayout()
{
    ++m_freezeCount;
}

void wxThumbnailCtrl::ThawLayout()
{
    wxCHECK_RET(m_freezeCount > 0, "ThawLayout without FreezeLayout");
    if (--m_freezeCount == 0) {
        UpdateScrollbars();
        Refresh(false);
    }
}

void wxThumbnailCtrl::ResetMarkers()
{
    m_anchorItem = -1;
    m_lastSelectedItem = -1;
    m_focusItem = -1;
}

void wxThumbnailCtrl::SetItemDelay(int index, int delay)
{
    wxCHECK_RET(IsValidIndex(index), "index < GetCount()");
    m_items.Item(static_cast<size_t>(index))->SetDelay(delay);
    m_startTimesValid = false;
    // Every later caption shows a new start time.
    if (!IsLayoutFrozen())
        Refresh(false);
}

long long wxThumbnailCtrl::GetStartTime(int index) const
{
    wxCHECK_MSG(IsValidIndex(index), 0, "index < GetCount()");
    if (!m_startTimesValid) {
        m_startTimes.resize(m_items.GetCount());
        long long start = 0;
        for (size_t i = 0; i < m_items.GetCount(); ++i) {
            m_startTimes[i] = start;
            start += m_items.Item(i)->GetDelay();
        }
        m_startTimesValid = true;
    }
    return m_startTimes[static_cast<size_t>(index)];
}

void wxThumbnailCtrl::RefreshAfterListChange()
{
    m_startTimesValid = false;
    if (IsLayoutFrozen())
        return;
    UpdateScrollbars();
    Refresh(false);
}

// ---- Geometry ----

void wxThumbnailCtrl::ComputeCellSize()
{
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    wxCoord width = 0;
    wxCoord height = 0;
    dc.GetTextExtent("X", &width, &height);
    m_textHeight = height;
    m_cellWidth = m_thumbnailWidth + 2 * m_margin;
    // With captions: the name above the picture, the start time and the
    // delay below it.
    if (HasFlag(THUMB_STYLE_CAPTION))
        m_cellHeight = m_thumbnailHeight + 5 * m_margin + 3 * m_textHeight;
    else
        m_cellHeight = m_thumbnailHeight + 3 * m_margin + m_textHeight;
}

bool wxThumbnailCtrl::GetRowCol(int index, const wxSize& clientSize, int& row, int& col) const
{
    wxCHECK_MSG(IsValidIndex(index), false, "item < GetCount()");
    const int columns = GridColumns(GetGrid(), clientSize.x);
    row = index / columns;
    col = index % columns;
    return true;
}

bool wxThumbnailCtrl::GetItemRect(int index, wxRect& rect, bool transform) const
{
    wxCHECK_MSG(IsValidIndex(index), false, "n < GetCount()");
    wxRect cell = GridCellRect(GetGrid(), index, GetClientSize().x);
    if (transform)
        cell.SetPosition(CalcScrolledPosition(cell.GetPosition()));
    rect = cell;
    return true;
}

bool wxThumbnailCtrl::GetItemRectImage(int index, wxRect& rect, bool transform) const
{
    wxCHECK_MSG(IsValidIndex(index), false, "n < GetCount()");
    wxRect cell;
    GetItemRect(index, cell, transform);
    rect = PictureRectInCell(cell, GetThumbnailSize(), m_textHeight, m_margin,
                             HasFlag(THUMB_STYLE_CAPTION));
    return true;
}

// ---- Scrolling ----

void wxThumbnailCtrl::UpdateScrollbars()
{
    if (IsLayoutFrozen())
        return;
    if (GetCount() == 0) {
        SetScrollbars(0, 0, 0, 0, 0, 0);
        return;
    }
    const wxSize client = GetClientSize();
    const int totalHeight = GridTotalHeight(GetGrid(), GetCount(), client.x);
    int startX = 0;
    int startY = 0;
    GetViewStart(&startX, &startY);
    const int maxStartY = std::max(totalHeight - client.y, 0) / kScrollPixelsPerUnit;
    SetScrollbars(0, kScrollPixelsPerUnit, 0, totalHeight / kScrollPixelsPerUnit,
                  std::min(startX, 0), std::min(startY, maxStartY), false);
}

// ---- Painting ----

bool wxThumbnailCtrl::EnsureBackBuffer(const wxSize& size)
{
    const wxSize wanted = size == wxDefaultSize ? GetClientSize() : size;
    if (wanted.x < 1 || wanted.y < 1)
        return false;
    if (m_backBuffer.IsOk() && m_backBuffer.GetWidth() >= wanted.x &&
        m_backBuffer.GetHeight() >= wanted.y)
        return true;
    m_backBuffer = wxBitmap(wanted.x, wanted.y);
    return m_backBuffer.IsOk();
}

void wxThumbnailCtrl::PaintBackdrop(wxDC& dc)
{
    wxColour colour = GetBackgroundColour();
    if (!colour.IsOk())
        colour = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    dc.SetBrush(wxBrush(colour));
    dc.SetPen(*wxTRANSPARENT_PEN);
    const wxSize client = GetClientSize();
    const wxPoint corner = CalcUnscrolledPosition(wxPoint(-kBackdropOverhang, -kBackdropOverhang));
    dc.DrawRectangle(corner, wxSize(client.x + 2 * kBackdropOverhang,
                                    client.y + 2 * kBackdropOverhang));
}

int wxThumbnailCtrl::CellFlags(int index, bool ctrlFocused) const
{
    int flags = 0;
    if (IsSelected(index))
        flags |= THUMB_CELL_SELECTED;
    if (ctrlFocused) {
        flags |= THUMB_CELL_CTRL_FOCUSED;
        if (index == m_focusItem)
            flags |= THUMB_CELL_FOCUS_ITEM;
    }
    return flags;
}

void wxThumbnailCtrl::PaintCells(wxDC& dc)
{
    const wxRegion& update = GetUpdateRegion();
    const wxRect box = update.GetBox();
    const int viewTop = CalcUnscrolledPosition(wxPoint(0, 0)).y;
    // Only the rows that meet the update region are visited, so the cost of
    // a repaint follows the visible cells, not the length of the list.
    const IndexRange range = GridIndexRangeInBand(GetGrid(), GetClientSize().x, GetCount(),
                                                  box.y + viewTop, box.GetBottom() + 1 + viewTop);
    const bool ctrlFocused = wxWindow::FindFocus() == this;
    for (int index = range.first; index <= range.last; ++index) {
        wxRect cell;
        GetItemRect(index, cell, true);
        if (update.Contains(cell) == wxOutRegion)
            continue;
        const int flags = CellFlags(index, ctrlFocused);
        wxRect picture;
        GetItemRect(index, cell, false);
        GetItemRectImage(index, picture, false);
        DrawItemCell(index, dc, cell, picture, flags);
        DrawItemImage(index, dc, picture, flags);
    }
}

bool wxThumbnailCtrl::DrawItemImage(int index, wxDC& dc, const wxRect& rect, int flags)
{
    if (!IsValidIndex(index))
        return false;
    return m_items.Item(static_cast<size_t>(index))->DrawImage(dc, this, rect, flags);
}

bool wxThumbnailCtrl::DrawItemCell(int index, wxDC& dc, const wxRect& cellRect,
                                   const wxRect& imageRect, int flags)
{
    if (!IsValidIndex(index))
        return false;
    return m_items.Item(static_cast<size_t>(index))
        ->DrawCell(dc, this, cellRect, imageRect, flags, index);
}

void wxThumbnailCtrl::OnPaint(wxPaintEvent&)
{
    if (!IsLayoutFrozen())
        EnsureBackBuffer();
    wxBufferedPaintDC dc(this, m_backBuffer, wxBUFFER_CLIENT_AREA);
    PrepareDC(dc);
    if (IsLayoutFrozen())
        return;
    PaintBackdrop(dc);
    if (GetCount() > 0)
        PaintCells(dc);
    PaintInsertionMarker(dc);
}

void wxThumbnailCtrl::OnEraseBackground(wxEraseEvent&)
{
    // Painting covers the whole client area; erasing first would flicker.
}

void wxThumbnailCtrl::OnSize(wxSizeEvent& event)
{
    UpdateScrollbars();
    EnsureBackBuffer(GetClientSize());
    event.Skip();
}
