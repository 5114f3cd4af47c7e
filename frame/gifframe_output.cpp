#include "gifframe.h"

#include "encode/gif_output_size.h"
#include "rules/output_size.h"
#include "paths.h"
#include "rules/status_text.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "io/trace.h"

#include <wx/intl.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <vector>

namespace {

bool StripIsEmpty(const wxThumbnailCtrl* strip)
{
    return !strip || strip->GetCount() == 0;
}
} // namespace

void GifFrame::SetLabels()
{
    auto set = [](wxStaticText* label, const wxString& text) {
        if (label)
            label->SetLabel(text);
    };
    set(m_staticText_delay, _("Delay ") + ":");
    set(m_staticText_sec, "1/100" + _("sec "));
    set(m_staticText_gif, _("GIF") + ":");
    set(m_staticText_width, _("Width") + ":");
    set(m_staticText_wpx, _("px"));
    set(m_staticText_height, _("Height") + ":");
    set(m_staticText_hpx, _("px"));
    set(m_staticText_quality, _("Quality") + ":");
    FillSizeLimitChoices();
    ShowEstimate();
    // The layout's tool tips were translated while only the start-up locale
    // existed.
    if (m_toolBar_button) {
        m_toolBar_button->SetToolShortHelp(XRCID("m_tool_insert"), _("Add Image"));
        m_toolBar_button->SetToolShortHelp(XRCID("m_tool_delete"), _("Delete"));
        m_toolBar_button->SetToolShortHelp(XRCID("m_tool_play"), _("Run animation"));
    }
}

void GifFrame::UpdateOutputSize()
{
    if (!m_spinctrl_width || !m_spinctrl_height || !m_statusBar1)
        return;
    if (StripIsEmpty(m_thumbnail_ctrl)) {
        m_statusBar1->SetStatusText(wxEmptyString, kOutputStatusField);
        m_spinctrl_width->SetValue(0);
        m_spinctrl_height->SetValue(0);
        return;
    }
    std::vector<wxSize> sizes;
    for (int i = 0; i < m_thumbnail_ctrl->GetCount(); ++i)
        if (auto* item = dynamic_cast<wxImageThumbnailItem*>(m_thumbnail_ctrl->GetItem(i)))
            sizes.push_back(item->GetFullSize());
    const wxSize size = GifDefaultOutputSize(sizes);
    m_aspectWidth = m_outputWidth = size.x;
    m_aspectHeight = m_outputHeight = size.y;
    m_spinctrl_width->SetValue(size.x);
    m_spinctrl_height->SetValue(size.y);
    m_statusBar1->SetStatusText(
        OutputStatusText(m_gifName, m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue()),
        kOutputStatusField);
}

void GifFrame::UpdateLabels()
{
    SetLabels();
    ShowSelectionDelay();
    if (m_statusBar1) {
        // Nothing is described while the canvas shows no frame.
        const wxString details =
            m_previewBitmap.IsOk()
                ? FrameDetailsText(m_previewName, m_previewSize.x, m_previewSize.y)
                : wxString();
        m_statusBar1->SetStatusText(details, kFrameStatusField);
    }
    UpdateOutputSize();
    SetTitle(GetProductName());
}

void GifFrame::OnSetWidth(wxCommandEvent&)
{
    if (StripIsEmpty(m_thumbnail_ctrl) || !m_spinctrl_width || !m_spinctrl_height)
        return;
    FrameListState before = CaptureState();
    before.width = m_outputWidth;
    before.height = m_outputHeight;
    const int width = m_spinctrl_width->GetValue();
    const int height = CoupledHeight(width, wxSize(m_aspectWidth, m_aspectHeight),
                                     m_spinctrl_height->GetValue());
    m_outputWidth = width;
    m_outputHeight = height;
    m_spinctrl_height->SetValue(height);
    if (m_statusBar1)
        m_statusBar1->SetStatusText(OutputStatusText(m_gifName, width, height), kOutputStatusField);
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s": the output width and height.
    RecordStep(wxTRANSLATE("Size"), before, kMergeSize);
}

void GifFrame::OnSetHeight(wxCommandEvent&)
{
    if (StripIsEmpty(m_thumbnail_ctrl) || !m_spinctrl_width || !m_spinctrl_height)
        return;
    FrameListState before = CaptureState();
    before.width = m_outputWidth;
    before.height = m_outputHeight;
    const int height = m_spinctrl_height->GetValue();
    const int width = CoupledWidth(height, wxSize(m_aspectWidth, m_aspectHeight),
                                   m_spinctrl_width->GetValue());
    m_outputWidth = width;
    m_outputHeight = height;
    m_spinctrl_width->SetValue(width);
    if (m_statusBar1)
        m_statusBar1->SetStatusText(OutputStatusText(m_gifName, width, height), kOutputStatusField);
    RecordStep(wxTRANSLATE("Size"), before, kMergeSize);
}

void GifFrame::OnChangeSplitterWindow(wxSplitterEvent&)
{
    Trace("OnChangeSplitterWindow");
    if (!m_thumbnail_ctrl)
        return;
    const wxArrayInt& selections = m_thumbnail_ctrl->GetSelections();
    if (!selections.empty() && selections[0] >= 0)
        ShowFrame(selections[0]);
}
