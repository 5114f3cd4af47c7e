// The strip's notification event and the owning item list.
#include "window/thumbnailctrl.h"

#include "window/thumbnailitem.h"

wxIMPLEMENT_CLASS(wxThumbnailEvent, wxNotifyEvent);

wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_RETURN, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_MOVE_SELECTION, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_FILES_DROPPED, wxThumbnailEvent);

wxThumbnailEvent::wxThumbnailEvent(wxEventType commandType, int winid)
    : wxNotifyEvent(commandType, winid)
{
}

wxThumbnailEvent::~wxThumbnailEvent() = default;

wxEvent* wxThumbnailEvent::Clone() const
{
    return new wxThumbnailEvent(*this);
}

wxThumbnailItemArray::~wxThumbnailItemArray()
{
    Clear();
}

void wxThumbnailItemArray::Add(wxThumbnailItem* item)
{
    m_items.push_back(item);
}

void wxThumbnailItemArray::Insert(wxThumbnailItem* item, size_t n)
{
    wxCHECK_RET(n <= m_items.size(), "bad index in wxThumbnailItemArray::Insert()");
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(n), item);
}

bool wxThumbnailItemArray::RemoveAt(size_t n)
{
    wxCHECK_MSG(n < m_items.size(), false, "bad index in wxThumbnailItemArray::RemoveAt()");
    wxThumbnailItem* item = m_items[n];
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(n));
    delete item;
    return true;
}

void wxThumbnailItemArray::Clear()
{
    std::vector<wxThumbnailItem*> items;
    items.swap(m_items);
    for (wxThumbnailItem* item : items)
        delete item;
}

std::vector<wxThumbnailItem*> wxThumbnailItemArray::Release()
{
    std::vector<wxThumbnailItem*> items;
    items.swap(m_items);
    return items;
}

void wxThumbnailItemArray::Assign(std::vector<wxThumbnailItem*> items)
{
    Clear();
    m_items = std::move(items);
}
