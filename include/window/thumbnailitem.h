#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/object.h>

class wxDC;
class wxThumbnailCtrl;

// One entry of the frame strip; the control owns it and asks it to draw itself.
class wxThumbnailItem : public wxObject {
public:
    explicit wxThumbnailItem(const wxString& fileName) : m_fileName(fileName) {}

    const wxString& GetFileName() const { return m_fileName; }
    void SetFileName(const wxString& fileName) { m_fileName = fileName; }

    virtual bool DrawImage(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect, int flags);
    virtual bool DrawCell(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& cellRect,
                          const wxRect& imageRect, int flags, int index);
    virtual bool PrepareBitmaps(wxThumbnailCtrl* ctrl, bool force);

private:
    wxString m_fileName;

    wxDECLARE_ABSTRACT_CLASS(wxThumbnailItem);
};

// One frame of the animation: its source path, its frame index inside a GIF
// file, its full-size picture and its thumbnail.
class wxImageThumbnailItem : public wxThumbnailItem {
public:
    // Takes ownership of `image`.
    wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& fileName);
    ~wxImageThumbnailItem() override;

    bool DrawImage(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect, int flags) override;
    bool PrepareBitmaps(wxThumbnailCtrl* ctrl, bool force) override;

    int GetFrameIndex() const { return m_frameIndex; }
    const wxBitmap& GetThumbnailBitmap() const { return m_thumbnailBitmap; }
    // The frame at its own size, made on demand from the full-size picture.
    // Main thread only.
    wxBitmap GetFullBitmap() const;
    wxSize GetFullSize() const;
    // The full-size picture. Its pixel buffers stay unchanged while the item
    // lives, so a worker may read them while the main window cannot edit.
    const wxImage& GetFullImage() const { return m_fullImage; }

private:
    wxBitmap m_thumbnailBitmap;
    wxImage* m_image;
    int m_frameIndex;
    wxImage m_fullImage;

    wxDECLARE_CLASS(wxImageThumbnailItem);
};

// The thumbnail of `image`: scaled down to fit width x height keeping its
// proportions, never enlarged.
wxBitmap ScaleToFit(const wxImage& image, int width, int height);
