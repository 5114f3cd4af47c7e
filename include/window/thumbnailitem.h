#pragma once

#include "decode/frame_loader.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/object.h>

#include <memory>

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
    // Another item for the same frame, sharing its pixels, with the same
    // delay; null when the item cannot be copied.
    virtual wxThumbnailItem* Duplicate() const;

private:
    wxString m_fileName;
    int m_delay = 0;

    wxDECLARE_ABSTRACT_CLASS(wxThumbnailItem);
};

// What a frame item shows and decodes from. Immutable once made, so that
// copies of a frame and the undo history share it instead of its pixels.
// Main thread only (it holds a bitmap).
struct FramePicture {
    wxString fileName;
    int frameIndex = 0;
    wxSize size;
    wxBitmap thumbnail;
    FrameSourcePtr source;
};
using FramePicturePtr = std::shared_ptr<const FramePicture>;

// One frame of the animation: its source path, its frame index inside a GIF
// file, its thumbnail, its full size and the source its full-size pixels are
// decoded from when needed. No full-size picture is kept.
class wxImageThumbnailItem : public wxThumbnailItem {
public:
    // A frame as the loader gives it: its thumbnail, size and source.
    wxImageThumbnailItem(LoadedFrame&& frame, const wxString& fileName);
    // A picture in hand, with no file behind it that could give it back: it
    // is held compressed as the source. Takes ownership of `image` (may be
    // null); PrepareBitmaps makes the source and the thumbnail and releases it.
    wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& fileName);
    // A frame already shown once, its bitmaps ready.
    explicit wxImageThumbnailItem(FramePicturePtr picture);
    wxImageThumbnailItem(const wxImageThumbnailItem&) = delete;
    wxImageThumbnailItem& operator=(const wxImageThumbnailItem&) = delete;
    ~wxImageThumbnailItem() override;

    bool DrawImage(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect, int flags) override;
    // Refuses the item when its file is gone. Names a GIF frame after its
    // file and index ("anim.gif_3") and makes the thumbnail.
    bool PrepareBitmaps(wxThumbnailCtrl* ctrl, bool force) override;
    wxThumbnailItem* Duplicate() const override;

    // The frame as it is now shown; made on the first call after the bitmaps
    // are prepared, then the same object every time.
    FramePicturePtr GetPicture() const;

    int GetFrameIndex() const { return m_frameIndex; }
    const wxBitmap& GetThumbnailBitmap() const { return m_thumbnailBitmap; }
    // The frame decoded from its source, at least `atLeast` in size or at
    // its own size for (0, 0). Invalid when the source cannot give the
    // picture back. Main thread only.
    wxBitmap GetFullBitmap(const wxSize& atLeast = wxSize(0, 0)) const;
    // (0, 0) when the item has no valid picture.
    wxSize GetFullSize() const { return m_size; }
    // Null when the item has no valid picture. Immutable: any thread may
    // decode from it.
    const FrameSourcePtr& GetSource() const { return m_source; }

private:
    wxBitmap m_thumbnailBitmap;
    // Until PrepareBitmaps: the picture given to the constructor, or the
    // loader's thumbnail.
    wxImage* m_image = nullptr;
    wxImage m_thumbnail;
    int m_frameIndex;
    wxSize m_size;
    FrameSourcePtr m_source;
    mutable FramePicturePtr m_picture;

    wxDECLARE_CLASS(wxImageThumbnailItem);
};

// The thumbnail of `image`: scaled down to fit width x height keeping its
// proportions, never enlarged. Invalid for an invalid or empty image.
wxBitmap ScaleToFit(const wxImage& image, int width, int height);
