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
    ~wxThumbnailItem() override;

    const wxString& GetFileName() const { return m_fileName; }
    void SetFileName(const wxString& fileName) { m_fileName = fileName; }

    // How long the frame is shown, in hundredths of a second. Once the item
    // is in a control, change it through wxThumbnailCtrl::SetItemDelay so
    // that the captions follow.
    int GetDelay() const { return m_delay; }
    void SetDelay(int delay) { m_delay = delay; }

    // The picture, centred in `rect`; the base has none.
    virtual bool DrawImage(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect, int flags);
    // The cell around the picture: fill, 3D frame, name label, caption and
    // focus mark. `index` is the item's position in the control.
    virtual bool DrawCell(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& cellRect,
                          const wxRect& imageRect, int flags, int index);
    // Makes what the item draws; false refuses the item.
    virtual bool PrepareBitmaps(wxThumbnailCtrl* ctrl, bool force);

private:
    wxString m_fileName;
    int m_delay = 0;

    wxDECLARE_ABSTRACT_CLASS(wxThumbnailItem);
};

// One frame of the animation: its source path, its frame index inside a GIF
// file, its full-size picture and its thumbnail.
class wxImageThumbnailItem : public wxThumbnailItem {
public:
    // Takes ownership of `image` (may be null); PrepareBitmaps moves it into
    // the full-size picture and releases it.
    wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& fileName);
    wxImageThumbnailItem(const wxImageThumbnailItem&) = delete;
    wxImageThumbnailItem& operator=(const wxImageThumbnailItem&) = delete;
    ~wxImageThumbnailItem() override;

    bool DrawImage(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect, int flags) override;
    // Refuses the item when its file is gone. Names a GIF frame after its
    // file and index ("anim.gif_3") and makes the thumbnail.
    bool PrepareBitmaps(wxThumbnailCtrl* ctrl, bool force) override;

    int GetFrameIndex() const { return m_frameIndex; }
    const wxBitmap& GetThumbnailBitmap() const { return m_thumbnailBitmap; }
    // The frame at its own size, made on demand from the full-size picture
    // (the one most recently asked for is kept). Invalid when the picture is.
    // Main thread only.
    wxBitmap GetFullBitmap() const;
    // (0, 0) when the item has no valid picture.
    wxSize GetFullSize() const;
    // The full-size picture. Its pixel buffers stay unchanged while the item
    // lives, so a worker may read them while the main window cannot edit.
    // The wxImage object itself shares its data through a reference count
    // that is not thread-safe: a worker reads GetData()/GetAlpha() or makes
    // its copy with Copy(), it never copies or assigns the object.
    const wxImage& GetFullImage() const { return m_image ? *m_image : m_fullImage; }

private:
    void ReleaseCachedFullBitmap() const;

    wxBitmap m_thumbnailBitmap;
    wxImage* m_image;
    int m_frameIndex;
    wxImage m_fullImage;
    mutable wxBitmap m_cachedFullBitmap;

    wxDECLARE_CLASS(wxImageThumbnailItem);
};

// The thumbnail of `image`: scaled down to fit width x height keeping its
// proportions, never enlarged. Invalid for an invalid or empty image.
wxBitmap ScaleToFit(const wxImage& image, int width, int height);
