// Minimal item so that the rest of the program links; drawing and thumbnails
// come with the thumbnail work.
#include "window/thumbnailitem.h"

#include <wx/filefn.h>

wxIMPLEMENT_ABSTRACT_CLASS(wxThumbnailItem, wxObject);
wxIMPLEMENT_CLASS(wxImageThumbnailItem, wxThumbnailItem);

bool wxThumbnailItem::DrawImage(wxDC&, wxThumbnailCtrl*, const wxRect&, int) { return false; }
bool wxThumbnailItem::DrawCell(wxDC&, wxThumbnailCtrl*, const wxRect&, const wxRect&, int, int) { return false; }
bool wxThumbnailItem::PrepareBitmaps(wxThumbnailCtrl*, bool) { return false; }

wxImageThumbnailItem::wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& fileName)
    : wxThumbnailItem(fileName), m_image(image), m_frameIndex(frameIndex)
{
}
wxImageThumbnailItem::~wxImageThumbnailItem() { delete m_image; }
bool wxImageThumbnailItem::DrawImage(wxDC&, wxThumbnailCtrl*, const wxRect&, int) { return true; }
bool wxImageThumbnailItem::PrepareBitmaps(wxThumbnailCtrl*, bool)
{
    if (!wxFileExists(GetFileName()))
        return false;
    if (m_image) {
        m_fullImage = *m_image;
        delete m_image;
        m_image = nullptr;
    }
    return true;
}
wxBitmap wxImageThumbnailItem::GetFullBitmap() const { return wxBitmap(m_fullImage); }
wxSize wxImageThumbnailItem::GetFullSize() const { return m_fullImage.GetSize(); }
wxBitmap ScaleToFit(const wxImage& image, int, int) { return wxBitmap(image); }
