// Minimal container so that the rest of the program links; the strip's
// layout, painting and input come with the thumbnail work.
#include "window/thumbnailctrl.h"

#include "window/thumbnailitem.h"

wxIMPLEMENT_CLASS(wxThumbnailEvent, wxNotifyEvent);
wxIMPLEMENT_CLASS(wxThumbnailCtrl, wxScrolledWindow);

wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_RETURN, wxThumbnailEvent);

wxThumbnailItemArray::~wxThumbnailItemArray() { Clear(); }
size_t wxThumbnailItemArray::GetCount() const { return m_items.size(); }
wxThumbnailItem* wxThumbnailItemArray::Item(size_t n) const { return m_items[n]; }
void wxThumbnailItemArray::Add(wxThumbnailItem* item) { m_items.push_back(item); }
void wxThumbnailItemArray::Insert(wxThumbnailItem* item, size_t n) { m_items.insert(m_items.begin() + n, item); }
void wxThumbnailItemArray::RemoveAt(size_t n)
{
    wxCHECK_RET(n < m_items.size(), "bad index in wxThumbnailItemArray::RemoveAt()");
    delete m_items[n];
    m_items.erase(m_items.begin() + n);
}
void wxThumbnailItemArray::Clear()
{
    for (wxThumbnailItem* item : m_items)
        delete item;
    m_items.clear();
}

wxThumbnailEvent::wxThumbnailEvent(wxEventType commandType, int winid) : wxNotifyEvent(commandType, winid) {}
wxEvent* wxThumbnailEvent::Clone() const { return new wxThumbnailEvent(*this); }

wxBEGIN_EVENT_TABLE(wxThumbnailCtrl, wxScrolledWindow)
wxEND_EVENT_TABLE()

wxThumbnailCtrl::wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos, const wxSize& size)
{
    Create(parent, ID_THUMBNAIL_CTRL, pos, size,
           wxHSCROLL | wxBORDER_SUNKEN | THUMB_STYLE_MULTI_SELECT | THUMB_STYLE_NAME_LABEL | THUMB_STYLE_CAPTION);
}
wxThumbnailCtrl::~wxThumbnailCtrl() = default;
int wxThumbnailCtrl::Append(wxThumbnailItem* item, int delay)
{
    m_delay = delay;
    if (!item->PrepareBitmaps(this, false))
        return -1;
    m_items.Add(item);
    return int(m_items.GetCount()) - 1;
}
int wxThumbnailCtrl::Insert(wxThumbnailItem* item, int pos)
{
    m_items.Insert(item, pos);
    item->PrepareBitmaps(this, false);
    return pos;
}
void wxThumbnailCtrl::Clear() { m_items.Clear(); m_selections.Clear(); }
void wxThumbnailCtrl::Delete(int index) { m_items.RemoveAt(index); }
int wxThumbnailCtrl::GetCount() const { return int(m_items.GetCount()); }
wxThumbnailItem* wxThumbnailCtrl::GetItem(int index) const
{
    return index >= 0 && index < GetCount() ? m_items.Item(index) : nullptr;
}
void wxThumbnailCtrl::FreezeLayout() { ++m_freezeCount; }
void wxThumbnailCtrl::ThawLayout() { --m_freezeCount; }
void wxThumbnailCtrl::Select(int, bool) {}
void wxThumbnailCtrl::SelectAll() {}
void wxThumbnailCtrl::SetFocusItem(int) {}
bool wxThumbnailCtrl::GetItemRect(int, wxRect&, bool) const { return false; }
bool wxThumbnailCtrl::GetItemRectImage(int, wxRect&, bool) const { return false; }
bool wxThumbnailCtrl::GetRowCol(int, const wxSize&, int&, int&) const { return false; }
bool wxThumbnailCtrl::DrawItemImage(int, wxDC&, const wxRect&, int) { return false; }
bool wxThumbnailCtrl::DrawItemCell(int, wxDC&, const wxRect&, const wxRect&, int) { return false; }
bool wxThumbnailCtrl::MoveFocusByKey(int, int) { return false; }
void wxThumbnailCtrl::ApplyClickSelection(int, int) {}
bool wxThumbnailCtrl::ItemAtPoint(const wxPoint&, int&) const { return false; }
void wxThumbnailCtrl::ScrollToItem(int) {}
void wxThumbnailCtrl::ScrollToItemForKey(int, int) {}
void wxThumbnailCtrl::ComputeCellSize() {}
void wxThumbnailCtrl::UpdateScrollbars() {}
bool wxThumbnailCtrl::EnsureBackBuffer(const wxSize&) { return false; }
void wxThumbnailCtrl::PaintBackdrop(wxDC&) {}
wxSize wxThumbnailCtrl::DoGetBestSize() const { return wxWindowBase::DoGetBestSize(); }
void wxThumbnailCtrl::OnPaint(wxPaintEvent&) {}
void wxThumbnailCtrl::OnEraseBackground(wxEraseEvent&) {}
void wxThumbnailCtrl::OnSize(wxSizeEvent&) {}
void wxThumbnailCtrl::OnLeftDown(wxMouseEvent&) {}
void wxThumbnailCtrl::OnRightDown(wxMouseEvent&) {}
void wxThumbnailCtrl::OnMiddleDown(wxMouseEvent&) {}
void wxThumbnailCtrl::OnLeftDClick(wxMouseEvent&) {}
void wxThumbnailCtrl::OnChar(wxKeyEvent&) {}
void wxThumbnailCtrl::OnSetFocus(wxFocusEvent&) {}
void wxThumbnailCtrl::OnKillFocus(wxFocusEvent&) {}
void wxThumbnailCtrl::OnSelectAll(wxCommandEvent&) {}
void wxThumbnailCtrl::OnUpdateSelectAll(wxUpdateUIEvent&) {}
