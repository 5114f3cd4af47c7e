#include "gifframe.h"

#include "paths.h"
#include "rules/preview_rules.h"
#include "rules/status_text.h"
#include "window/thumbnailctrl.h"
#include "window/preview_read_ahead.h"
#include "window/thumbnailitem.h"

#include <wx/dcclient.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menuitem.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {

// Frames decoded ahead of the playing preview: enough to ride out one slow
// decode, few enough to keep memory small.
constexpr int kReadAheadFrames = 3;

void ClearCanvas(wxDC& dc)
{
    dc.SetBackground(wxBrush(dc.GetWindow()->GetBackgroundColour()));
    dc.Clear();
}

} // namespace

void GifFrame::ApplyPreviewLook(const char* bitmapFile, const wxString& label)
{
    {
        wxLogNull noLog;
        const wxBitmap bitmap(GetResourceRoot() + "/Themes/" + bitmapFile, wxBITMAP_TYPE_ANY);
        if (m_toolBar_button && bitmap.IsOk())
            m_toolBar_button->SetToolNormalBitmap(XRCID("m_tool_play"), bitmap);
    }
    if (m_item_run_animation)
        m_item_run_animation->SetItemLabel(label);
}

void GifFrame::ShowPlayLook()
{
    ApplyPreviewLook("play.png", _("Run animation") + "\tCtrl+P");
}

void GifFrame::ShowStopLook()
{
    ApplyPreviewLook("stop.png", _("Stop animation") + "\tCtrl+T");
}

void GifFrame::StopPreview()
{
    m_timer.Stop();
    m_playIndex = 0;
    ShowPlayLook();
    m_playing = false;
    if (m_readAhead)
        m_readAhead->Want({});
}

void GifFrame::OnPlayAnimation(wxCommandEvent&)
{
    if (m_playing) {
        StopPreview();
        return;
    }
    if (!m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0)
        return;
    if (m_playIndex >= m_thumbnail_ctrl->GetCount())
        m_playIndex = 0;
    // The first frame comes one of its own delays after the start; each frame
    // then stays for its own delay.
    m_timer.StartOnce(PreviewIntervalMs(m_thumbnail_ctrl->GetItem(m_playIndex)->GetDelay()));
    ShowStopLook();
    m_playing = true;
    ReadAheadFrom(m_playIndex - 1);
}

void GifFrame::OnTimer(wxTimerEvent&)
{
    const int count = m_thumbnail_ctrl ? m_thumbnail_ctrl->GetCount() : 0;
    if (count == 0) {
        StopPreview();
        return;
    }
    if (m_playIndex >= count)
        m_playIndex = 0;
    ShowFrame(m_playIndex);
    const int shownDelay = m_thumbnail_ctrl->GetItem(m_playIndex)->GetDelay();
    if (AdvancePreview(m_playIndex, m_loopsPlayed, m_loopCount, count)) {
        m_timer.Stop();
        ShowPlayLook();
        m_playing = false;
        return;
    }
    m_timer.StartOnce(PreviewIntervalMs(shownDelay));
}

void GifFrame::ShowFrame(int index)
{
    if (!m_thumbnail_ctrl || !m_panel_down)
        return;
    auto* item = dynamic_cast<wxImageThumbnailItem*>(m_thumbnail_ctrl->GetItem(index));
    if (!item)
        return;
    m_previewName = wxFileNameFromPath(item->GetFileName());
    m_previewSize = item->GetFullSize();
    const wxSize atLeast = PreviewDecodeSize(m_previewSize);
    const wxImage readAhead = m_readAhead ? m_readAhead->Take(item->GetSource(), atLeast) : wxImage();
    m_previewBitmap = readAhead.IsOk() ? wxBitmap(readAhead) : item->GetFullBitmap(atLeast);
    if (m_playing)
        ReadAheadFrom(index);

    wxClientDC dc(m_panel_down);
    ClearCanvas(dc);
    DrawPreview(dc);

    if (m_statusBar1) {
        const wxSize size = m_previewBitmap.IsOk() ? m_previewSize : wxSize(0, 0);
        m_statusBar1->SetStatusText(FrameDetailsText(m_previewName, size.x, size.y),
                                    kFrameStatusField);
    }
}

void GifFrame::ReadAheadFrom(int index)
{
    if (!m_readAhead)
        m_readAhead = std::make_unique<PreviewReadAhead>();
    const int count = m_thumbnail_ctrl->GetCount();
    std::vector<PreviewReadAhead::Wish> upcoming;
    for (int step = 1; step <= kReadAheadFrames && step < count; ++step) {
        auto* item = dynamic_cast<wxImageThumbnailItem*>(m_thumbnail_ctrl->GetItem((index + step) % count));
        if (item && item->GetSource())
            upcoming.push_back({item->GetSource(), PreviewDecodeSize(item->GetFullSize())});
    }
    m_readAhead->Want(upcoming);
}

// Decoded no larger than it is drawn: a camera photo decodes at a reduced
// scale.
wxSize GifFrame::PreviewDecodeSize(const wxSize& frameSize) const
{
    const wxRect place = PreviewPlacement(m_panel_down->GetClientSize(), frameSize);
    return place.IsEmpty() ? wxSize(1, 1) : place.GetSize();
}

void GifFrame::DrawPreview(wxDC& dc)
{
    if (!m_previewBitmap.IsOk())
        return;
    const wxRect place = PreviewPlacement(m_panel_down->GetClientSize(), m_previewSize);
    if (place.IsEmpty())
        return;
    if (place.GetSize() == m_previewBitmap.GetSize()) {
        dc.DrawBitmap(m_previewBitmap, place.GetPosition(), true);
        return;
    }
    wxImage scaled = m_previewBitmap.ConvertToImage();
    scaled.Rescale(place.width, place.height, wxIMAGE_QUALITY_NORMAL);
    dc.DrawBitmap(wxBitmap(scaled), place.GetPosition(), true);
}

// The canvas shows the frame it last showed again whenever the system asks
// it to repaint, instead of falling back to its bare background.
void GifFrame::OnPaintPreview(wxPaintEvent&)
{
    wxPaintDC dc(m_panel_down);
    DrawPreview(dc);
}

// A resize moves the centre and may change the scale: all of the canvas is
// painted again, not only the part the resize uncovered.
void GifFrame::OnSizePreview(wxSizeEvent& event)
{
    m_panel_down->Refresh();
    event.Skip();
}

void GifFrame::ClearPreview()
{
    // Once cleared, a repaint must not bring the old frame back.
    m_previewName.clear();
    m_previewBitmap = wxBitmap();
    if (!m_panel_down)
        return;
    wxClientDC dc(m_panel_down);
    ClearCanvas(dc);
}

void GifFrame::OnThumbnailLeftClick(wxThumbnailEvent& event)
{
    if (!m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0)
        return;
    StopPreview();
    ShowFrame(event.GetItemIndex());
}
