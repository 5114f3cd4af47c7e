// Selection and focus of the frame strip, and the notifications they send.
#include "window/thumbnailctrl.h"

#include <vector>

void wxThumbnailCtrl::Select(int index, bool select)
{
    wxCHECK_RET(IsValidIndex(index), "n < GetCount()");
    const int position = m_selections.Index(index);
    if (select && position == wxNOT_FOUND)
        m_selections.Add(index);
    else if (!select && position != wxNOT_FOUND)
        m_selections.RemoveAt(static_cast<size_t>(position));

    const int oldFocus = m_focusItem;
    m_anchorItem = index;
    m_lastSelectedItem = index;
    m_focusItem = index;
    if (IsLayoutFrozen())
        return;
    RefreshItem(index);
    if (oldFocus != -1 && oldFocus != index && oldFocus < GetCount())
        RefreshItem(oldFocus);
}

void wxThumbnailCtrl::SelectAll()
{
    const int count = GetCount();
    FreezeLayout();
    // The same result as selecting every index in turn: the missing ones are
    // added in ascending order after those already selected.
    const std::vector<bool> selected = SelectionMask();
    for (int index = 0; index < count; ++index) {
        if (!selected[static_cast<size_t>(index)])
            m_selections.Add(index);
    }
    if (count > 0) {
        m_anchorItem = count - 1;
        m_lastSelectedItem = count - 1;
    }
    m_focusItem = count - 1;
    ThawLayout();
}

void wxThumbnailCtrl::SetSelections(const std::vector<int>& selection)
{
    m_selections.Clear();
    ResetMarkers();
    for (int index : selection) {
        if (IsValidIndex(index) && m_selections.Index(index) == wxNOT_FOUND) {
            m_selections.Add(index);
            m_anchorItem = m_lastSelectedItem = m_focusItem = index;
        }
    }
    if (!IsLayoutFrozen())
        Refresh(false);
}

void wxThumbnailCtrl::SetFocusItem(int index)
{
    wxCHECK_RET(index >= -1 && index < GetCount(), "item < GetCount()");
    const int oldFocus = m_focusItem;
    m_focusItem = index;
    if (IsLayoutFrozen())
        return;
    if (oldFocus != -1 && oldFocus < GetCount())
        RefreshItem(oldFocus);
    if (index != -1)
        RefreshItem(index);
}

void wxThumbnailCtrl::ApplyClickSelection(int index, int flags)
{
    wxCHECK_RET(IsValidIndex(index), "n < GetCount()");
    const bool multiSelect = HasFlag(THUMB_STYLE_MULTI_SELECT);
    const bool wasSelected = IsSelected(index);
    wxArrayInt changed;

    if (multiSelect && (flags & THUMB_KEY_CTRL)) {
        Select(index, !wasSelected);
        changed.Add(index);
    } else if (multiSelect && (flags & THUMB_KEY_SHIFT)) {
        const int anchor = m_anchorItem;
        const wxArrayInt oldSelection = m_selections;
        m_selections.Clear();
        const bool buildRange = anchor >= 0 && anchor < GetCount() && anchor != index;
        if (buildRange) {
            // The selection is empty here and the range has no repeats.
            const int step = index > anchor ? 1 : -1;
            for (int item = anchor; item != index; item += step) {
                m_selections.Add(item);
                changed.Add(item);
                RefreshItem(item);
            }
        }
        const std::vector<bool> inRange = SelectionMask();
        for (int item : oldSelection) {
            if (item >= 0 && item < GetCount() && !inRange[static_cast<size_t>(item)])
                RefreshItem(item);
        }
        Select(index, true);
        if (changed.Index(index) == wxNOT_FOUND)
            changed.Add(index);
        if (buildRange)
            m_anchorItem = anchor;
    } else {
        for (int item : m_selections) {
            RefreshItem(item);
            changed.Add(item);
        }
        m_selections.Clear();
        Select(index, true);
        if (changed.Index(index) == wxNOT_FOUND)
            changed.Add(index);
    }

    // Decided before any handler runs, from the selection as it now stands.
    const std::vector<bool> selected = SelectionMask();
    for (int item : changed) {
        SendThumbnailEvent(selected[static_cast<size_t>(item)]
                               ? wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED
                               : wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED,
                           item, 0);
    }
}

std::vector<bool> wxThumbnailCtrl::SelectionMask() const
{
    std::vector<bool> mask(static_cast<size_t>(GetCount()), false);
    for (int index : m_selections) {
        if (IsValidIndex(index))
            mask[static_cast<size_t>(index)] = true;
    }
    return mask;
}

void wxThumbnailCtrl::RefreshItem(int index)
{
    if (IsLayoutFrozen() || !IsValidIndex(index))
        return;
    wxRect cell;
    GetItemRect(index, cell, true);
    // Cells scrolled out of view need no repaint; with a long list most are.
    if (cell.Intersects(wxRect(GetClientSize())))
        RefreshRect(cell, false);
}

void wxThumbnailCtrl::SendThumbnailEvent(wxEventType type, int index, int flags)
{
    wxThumbnailEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetItemIndex(index);
    event.SetModifierFlags(flags);
    GetEventHandler()->ProcessEvent(event);
}
