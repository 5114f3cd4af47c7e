// Mouse, keyboard and focus handling of the frame strip, and keeping the
// item the user works on in view.
#include "window/thumbnailctrl.h"

namespace {
int ModifierFlags(const wxKeyboardState& state)
{
    int flags = 0;
    if (state.ShiftDown())
        flags |= THUMB_KEY_SHIFT;
    if (state.ControlDown())
        flags |= THUMB_KEY_CTRL;
    if (state.AltDown())
        flags |= THUMB_KEY_ALT;
    return flags;
}
} // namespace

bool wxThumbnailCtrl::ItemAtPoint(const wxPoint& point, int& index) const
{
    const int hit = GridIndexAt(GetGrid(), GetClientSize().x, CalcUnscrolledPosition(point));
    if (hit < 0 || hit >= GetCount())
        return false;
    index = hit;
    return true;
}

void wxThumbnailCtrl::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    int index = -1;
    if (!ItemAtPoint(event.GetPosition(), index))
        return;
    const int flags = ModifierFlags(event);
    ScrollToItem(index);
    // The press may start a drag of the frame, or of the whole selection
    // when it is on a selected frame without a modifier; then the selection
    // changes only if the button comes up without a drag.
    m_pressIndex = index;
    m_pressPoint = event.GetPosition();
    m_pressDeferredClick = flags == 0 && IsSelected(index) && m_selections.size() > 1;
    if (m_pressDeferredClick)
        return;
    ApplyClickSelection(index, flags);
    SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, index, flags);
}

void wxThumbnailCtrl::OnRightDown(wxMouseEvent& event)
{
    SetFocus();
    int index = -1;
    if (!ItemAtPoint(event.GetPosition(), index))
        return;
    if (index != m_focusItem)
        SetFocusItem(index);
    SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, index, ModifierFlags(event));
}

void wxThumbnailCtrl::OnMiddleDown(wxMouseEvent& event)
{
    int index = -1;
    if (ItemAtPoint(event.GetPosition(), index))
        SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, index, ModifierFlags(event));
}

void wxThumbnailCtrl::OnLeftDClick(wxMouseEvent& event)
{
    int index = -1;
    if (ItemAtPoint(event.GetPosition(), index))
        SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, index, ModifierFlags(event));
}

void wxThumbnailCtrl::OnChar(wxKeyEvent& event)
{
    const int flags = ModifierFlags(event);
    const int keyCode = event.GetKeyCode();
    switch (keyCode) {
    case WXK_RETURN:
        SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_RETURN, -1, flags);
        break;
    case WXK_END:
    case WXK_HOME:
    case WXK_LEFT:
    case WXK_UP:
    case WXK_RIGHT:
    case WXK_DOWN:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
        MoveFocusByKey(keyCode, flags);
        break;
    default:
        event.Skip();
        break;
    }
}

bool wxThumbnailCtrl::MoveFocusByKey(int keyCode, int flags)
{
    const int count = GetCount();
    if (count == 0)
        return false;
    const wxSize client = GetClientSize();
    const int current = m_focusItem != -1 ? m_focusItem : m_lastSelectedItem;
    if (current < 0 || current >= count) {
        // The first navigation key in a freshly filled list starts at the top.
        m_lastSelectedItem = 0;
        ApplyClickSelection(0, flags);
        ScrollToItemForKey(0, keyCode);
        return true;
    }
    const int target = KeyNavigationTarget(keyCode, current, count,
                                           GridColumns(GetGrid(), client.x),
                                           GridRowsPerPage(GetGrid(), client.y));
    if (target >= 0) {
        ApplyClickSelection(target, flags);
        ScrollToItemForKey(target, keyCode);
    }
    return true;
}

void wxThumbnailCtrl::ScrollToItem(int index)
{
    ScrollCellIntoView(index, ScrollOrder::BottomFirst);
}

void wxThumbnailCtrl::ScrollToItemForKey(int index, int keyCode)
{
    ScrollCellIntoView(index, ScrollOrderForKey(keyCode));
}

void wxThumbnailCtrl::ScrollCellIntoView(int index, ScrollOrder order)
{
    wxRect cell;
    if (!GetItemRect(index, cell, false))
        return;
    int pixelsPerUnitX = 0;
    int pixelsPerUnitY = 0;
    GetScrollPixelsPerUnit(&pixelsPerUnitX, &pixelsPerUnitY);
    const int viewTop = CalcUnscrolledPosition(wxPoint(0, 0)).y;
    const int position = ScrollUnitsToShowCell(cell, m_spacing, viewTop, GetClientSize().y,
                                               pixelsPerUnitY, order);
    if (position >= 0)
        Scroll(-1, position);
}

void wxThumbnailCtrl::OnSetFocus(wxFocusEvent& event)
{
    // Selected cells and the focus mark look different with the focus.
    if (GetCount() > 0)
        Refresh(false);
    event.Skip();
}

void wxThumbnailCtrl::OnKillFocus(wxFocusEvent& event)
{
    if (GetCount() > 0)
        Refresh(false);
    event.Skip();
}

void wxThumbnailCtrl::OnSelectAll(wxCommandEvent&)
{
    SelectAll();
}

void wxThumbnailCtrl::OnUpdateSelectAll(wxUpdateUIEvent& event)
{
    event.Enable(GetCount() > 0);
}
