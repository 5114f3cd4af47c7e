#pragma once

#include <wx/dnd.h>

class wxThumbnailCtrl;

// What the strip does with files dragged over it from outside: the insertion
// marker follows the pointer, the strip scrolls near its edges, and a drop
// sends wxEVT_COMMAND_THUMBNAIL_FILES_DROPPED with the gap and the files.
class wxThumbnailFileDropTarget : public wxFileDropTarget {
public:
    explicit wxThumbnailFileDropTarget(wxThumbnailCtrl* strip) : m_strip(strip) {}

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult defaultResult) override;
    void OnLeave() override;
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

private:
    wxThumbnailCtrl* m_strip;
};
