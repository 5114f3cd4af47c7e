// The items of the frame strip: how a cell looks, and the frame item with
// its thumbnail and the source of its full-size picture.
#include "window/thumbnailitem.h"

#include "decode/gif_frame_name.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnaillayout.h"
#include "io/trace.h"

#include <wx/dc.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>

#include <algorithm>
#include <utility>

wxIMPLEMENT_ABSTRACT_CLASS(wxThumbnailItem, wxObject);
wxIMPLEMENT_CLASS(wxImageThumbnailItem, wxThumbnailItem);

namespace {
// Draws `text` into `clip`, centred when it fits and otherwise from the left
// edge, cut off at the right.
void DrawClippedLabel(wxDC& dc, const wxString& text, const wxRect& clip, bool centred)
{
    dc.SetClippingRegion(clip);
    int x = clip.x;
    if (centred) {
        const int textWidth = dc.GetTextExtent(text).x;
        x += std::max(0, (clip.width - textWidth) / 2);
    }
    dc.DrawText(text, x, clip.y);
    dc.DestroyClippingRegion();
}
} // namespace

wxThumbnailItem::~wxThumbnailItem() = default;

bool wxThumbnailItem::DrawImage(wxDC&, wxThumbnailCtrl*, const wxRect&, int)
{
    return false;
}

bool wxThumbnailItem::PrepareBitmaps(wxThumbnailCtrl*, bool)
{
    return false;
}

wxThumbnailItem* wxThumbnailItem::Duplicate() const
{
    return nullptr;
}

bool wxThumbnailItem::DrawCell(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& cellRect,
                               const wxRect& imageRect, int flags, int index)
{
    const int x = cellRect.x;
    const int y = cellRect.y;
    const int w = cellRect.width;
    const int h = cellRect.height;
    const int m = ctrl->GetMargin();
    const bool selected = (flags & THUMB_CELL_SELECTED) != 0;

    const wxColour& selectionFill = (flags & THUMB_CELL_CTRL_FOCUSED)
                                        ? ctrl->GetFocusedSelectionColour()
                                        : ctrl->GetUnfocusedSelectionColour();
    const wxColour& fill = selected ? selectionFill : ctrl->GetCellColour();
    dc.SetBrush(wxBrush(fill));
    dc.SetPen(wxPen(fill, 1));
    dc.DrawRectangle(cellRect);

    // Pressed in when selected, raised otherwise.
    const wxPen& lowerRight = selected ? *wxWHITE_PEN : *wxBLACK_PEN;
    const wxPen& upperLeft = selected ? *wxBLACK_PEN : *wxWHITE_PEN;
    dc.SetPen(lowerRight);
    dc.DrawLine(x + w - 1, y, x + w - 1, y + h - 1);
    dc.DrawLine(x, y + h - 1, x + w, y + h - 1);
    dc.SetPen(upperLeft);
    dc.DrawLine(x, y, x + w - 1, y);
    dc.DrawLine(x, y, x, y + h - 1);

    const wxString name = wxFileNameFromPath(GetFileName());
    const int t = ctrl->GetTextHeight();
    if (!name.empty() && ctrl->HasFlag(THUMB_STYLE_NAME_LABEL)) {
        dc.SetFont(ctrl->GetFont());
        dc.SetTextForeground(selected ? *wxWHITE : *wxBLACK);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        DrawClippedLabel(dc, name, wxRect(x + m, y + m, w - 2 * m, t), true);
    }

    if (!name.empty()) {
        wxString extension;
        wxFileName::SplitPath(name, nullptr, nullptr, &extension);
        if (!extension.empty() && ctrl->HasFlag(THUMB_STYLE_CAPTION)) {
            dc.SetFont(ctrl->GetFont());
            dc.SetTextForeground(selected ? *wxWHITE : ctrl->GetCaptionColour());
            dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
            const int captionTop = imageRect.GetBottom() + 1 + m;
            DrawClippedLabel(dc, ThumbnailCaption(index, ctrl->GetStartTime(index)),
                             wxRect(x + m, captionTop, w - 2 * m, t), false);
            DrawClippedLabel(dc, ThumbnailDelayCaption(GetDelay()),
                             wxRect(x + m, captionTop + t + m, w - 2 * m, t), false);
        }
    }

    if (flags & THUMB_CELL_FOCUS_ITEM) {
        dc.SetPen(wxPen(ctrl->GetFocusMarkColour(), 1, wxPENSTYLE_DOT));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(imageRect.x - 1, imageRect.y - 1, imageRect.width + 2,
                         imageRect.height + 2);
    }
    return true;
}

wxImageThumbnailItem::wxImageThumbnailItem(LoadedFrame&& frame, const wxString& fileName)
    : wxThumbnailItem(fileName),
      m_thumbnail(std::move(frame.thumbnail)),
      m_frameIndex(frame.frameIndex),
      m_size(frame.source ? frame.size : wxSize(0, 0)),
      m_source(std::move(frame.source))
{
}

wxImageThumbnailItem::wxImageThumbnailItem(wxImage* image, int frameIndex,
                                           const wxString& fileName)
    : wxThumbnailItem(fileName), m_image(image), m_frameIndex(frameIndex)
{
}

wxImageThumbnailItem::wxImageThumbnailItem(FramePicturePtr picture)
    : wxThumbnailItem(picture->fileName),
      m_thumbnailBitmap(picture->thumbnail),
      m_frameIndex(picture->frameIndex),
      m_size(picture->size),
      m_source(picture->source),
      m_picture(std::move(picture))
{
}

wxImageThumbnailItem::~wxImageThumbnailItem()
{
    delete m_image;
}

bool wxImageThumbnailItem::PrepareBitmaps(wxThumbnailCtrl* ctrl, bool force)
{
    Trace("wxImageThumbnailItem");
    if (m_thumbnailBitmap.IsOk() && !force)
        return true;
    if (!wxFileExists(GetFileName()))
        return false;
    wxLogNull noLog;

    if (HasGifExtension(GetFileName()))
        SetFileName(GifFrameName(GetFileName(), m_frameIndex));

    if (m_image) {
        if (m_image->IsOk() && m_image->GetWidth() > 0 && m_image->GetHeight() > 0) {
            m_source = MakeHeldFrameSource(*m_image);
            m_size = m_image->GetSize();
            m_thumbnail = *m_image;
        }
        delete m_image;
        m_image = nullptr;
    }
    const wxSize box = ctrl ? ctrl->GetThumbnailSize() : wxSize(0, 0);
    if (!m_thumbnail.IsOk() && m_source && box.x > 0 && box.y > 0)
        m_thumbnail = m_source->Decode(FitThumbnailSize(m_size, box));
    m_thumbnailBitmap = ScaleToFit(m_thumbnail, box.x, box.y);
    // Only the bitmap stays: the list holds what the screen shows.
    m_thumbnail.Destroy();
    m_picture.reset();
    return true;
}

FramePicturePtr wxImageThumbnailItem::GetPicture() const
{
    if (!m_picture || m_picture->fileName != GetFileName()) {
        auto picture = std::make_shared<FramePicture>();
        picture->fileName = GetFileName();
        picture->frameIndex = m_frameIndex;
        picture->size = m_size;
        picture->thumbnail = m_thumbnailBitmap;
        picture->source = m_source;
        m_picture = std::move(picture);
    }
    return m_picture;
}

wxThumbnailItem* wxImageThumbnailItem::Duplicate() const
{
    auto* copy = new wxImageThumbnailItem(GetPicture());
    copy->SetDelay(GetDelay());
    return copy;
}

bool wxImageThumbnailItem::DrawImage(wxDC& dc, wxThumbnailCtrl*, const wxRect& rect, int)
{
    if (!m_thumbnailBitmap.IsOk())
        return true;
    const int x = rect.x + (rect.width - m_thumbnailBitmap.GetWidth()) / 2;
    const int y = rect.y + (rect.height - m_thumbnailBitmap.GetHeight()) / 2;
    dc.DrawBitmap(m_thumbnailBitmap, x, y, false);
    return true;
}

wxBitmap wxImageThumbnailItem::GetFullBitmap(const wxSize& atLeast) const
{
    if (!m_source)
        return wxNullBitmap;
    wxLogNull noLog;
    const wxImage image = m_source->Decode(atLeast);
    if (!image.IsOk() || image.GetWidth() <= 0 || image.GetHeight() <= 0)
        return wxNullBitmap;
    return wxBitmap(image);
}

wxBitmap ScaleToFit(const wxImage& image, int width, int height)
{
    if (!image.IsOk() || width <= 0 || height <= 0)
        return wxNullBitmap;
    const wxSize fitted = FitThumbnailSize(image.GetSize(), wxSize(width, height));
    if (fitted.x <= 0 || fitted.y <= 0)
        return wxNullBitmap;
    if (fitted == image.GetSize())
        return wxBitmap(image);
    return wxBitmap(image.Scale(fitted.x, fitted.y, wxIMAGE_QUALITY_NORMAL));
}
