// Frame delays: the Delay control, Set Delay of Selected Frames, and what a
// save or a project takes from them.
#include "gifframe.h"

#include "rules/delay_rules.h"
#include "framedelaydialog.h"
#include "io/trace.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>


namespace {
wxString SecondsLabel(bool mixed)
{
    wxString label = "1/100" + _("sec ");
    // TRANSLATORS: after "1/100sec" beside the Delay control, when the
    // frames it speaks for have different delays.
    if (mixed)
        label += _("(mixed)");
    return label;
}
} // namespace

void GifFrame::SetFrameDelays(const std::vector<FrameDelay>& changes, int mergeKey)
{
    if (!m_thumbnail_ctrl)
        return;
    const FrameListState before = CaptureState();
    m_thumbnail_ctrl->FreezeLayout();
    for (const FrameDelay& change : changes)
        if (change.index >= 0 && change.index < m_thumbnail_ctrl->GetCount())
            m_thumbnail_ctrl->SetItemDelay(change.index, change.delay);
    m_thumbnail_ctrl->ThawLayout();
    ShowSelectionDelay();
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s".
    RecordStep(wxTRANSLATE("Delay"), before, mergeKey);
}

std::vector<int> GifFrame::GetFrameDelays() const
{
    std::vector<int> delays;
    const int count = m_thumbnail_ctrl ? m_thumbnail_ctrl->GetCount() : 0;
    for (int i = 0; i < count; ++i)
        delays.push_back(m_thumbnail_ctrl->GetItem(i)->GetDelay());
    return delays;
}

std::vector<wxString> GifFrame::GetFramePaths() const
{
    std::vector<wxString> paths;
    const int count = m_thumbnail_ctrl ? m_thumbnail_ctrl->GetCount() : 0;
    for (int i = 0; i < count; ++i)
        paths.push_back(m_thumbnail_ctrl->GetItem(i)->GetFileName());
    return paths;
}

void GifFrame::ShowSelectionDelay()
{
    if (!m_spinctrl_delay || !m_thumbnail_ctrl)
        return;
    std::vector<int> selected;
    for (int index : m_thumbnail_ctrl->GetSelections())
        if (const wxThumbnailItem* item = m_thumbnail_ctrl->GetItem(index))
            selected.push_back(item->GetDelay());
    const DelayShown shown = DelayToShow(selected, GetFrameDelays(), m_spinctrl_delay->GetValue());
    // Setting the value sends no text event, so no frame changes here.
    if (m_spinctrl_delay->GetValue() != shown.delay)
        m_spinctrl_delay->SetValue(shown.delay);
    if (m_staticText_sec && m_staticText_sec->GetLabel() != SecondsLabel(shown.mixed)) {
        m_staticText_sec->SetLabel(SecondsLabel(shown.mixed));
        Layout();
    }
}

int GifFrame::NewFrameDelay(int own) const
{
    if (own >= 0)
        return own;
    return m_spinctrl_delay ? m_spinctrl_delay->GetValue() : 0;
}

int GifFrame::GetQuality() const
{
    return m_spinctrl_quality ? m_spinctrl_quality->GetValue() : kGifDefaultQuality;
}

GifEncodeSettings GifFrame::GetSaveSettings(const wxSize& size) const
{
    GifEncodeSettings settings;
    settings.width = size.GetWidth();
    settings.height = size.GetHeight();
    settings.delayCs = m_spinctrl_delay ? m_spinctrl_delay->GetValue() : 0;
    settings.delaysCs = GetFrameDelays();
    settings.loopCount = m_loopInFile ? m_loopCount : 0;
    settings.quality = GetQuality();
    return settings;
}

void GifFrame::OnSetDelay(wxCommandEvent&)
{
    Trace("OnSetDelay");
    StopPreview();
    if (!m_thumbnail_ctrl || !m_spinctrl_delay)
        return;
    // The control sets every frame, whatever is selected.
    std::vector<FrameDelay> changes;
    for (int i = 0; i < m_thumbnail_ctrl->GetCount(); ++i)
        changes.push_back({i, m_spinctrl_delay->GetValue()});
    SetFrameDelays(changes, kMergeDelay);
}

void GifFrame::OnThumbnailSelectionChanged(wxThumbnailEvent&)
{
    ShowSelectionDelay();
}

void GifFrame::OnSetSelectedDelay(wxCommandEvent&)
{
    StopPreview();
    if (!m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0)
        return;
    const wxArrayInt& selections = m_thumbnail_ctrl->GetSelections();
    if (selections.empty()) {
        wxMessageBox(_("Select the frames whose delay you want to set."), GetTitle(), wxOK | wxICON_INFORMATION,
                     this);
        return;
    }
    const wxThumbnailItem* first = m_thumbnail_ctrl->GetItem(selections[0]);
    FrameDelayDialog dialog(this, first ? first->GetDelay() : 0);
    if (dialog.ShowModal() != wxID_OK)
        return;
    std::vector<FrameDelay> changes;
    for (int index : selections)
        changes.push_back({index, dialog.GetDelay()});
    SetFrameDelays(changes);
}
