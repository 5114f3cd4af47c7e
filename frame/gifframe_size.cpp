#include "gifframe.h"

#include "sizepresetsdialog.h"

#include "io/settings_store.h"
#include "sizing/size_limit.h"
#include "sizing/size_presets.h"
#include "window/size_estimate_worker.h"
#include "window/thumbnailctrl.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/intl.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

namespace {

// How often the window looks for changes to estimate: with the estimate's own
// time (a fifth of a save) the figure follows a change within about a second.
constexpr int kEstimatePollMs = 300;
// A range narrower than this share of the guess is shown as "about".
constexpr double kAboutSpread = 0.3;

} // namespace

void GifFrame::SetUpSizeLimit()
{
    m_staticText_limit = XRCCTRL(*this, "m_staticText_limit", wxStaticText);
    m_staticText_estimate = XRCCTRL(*this, "m_staticText_estimate", wxStaticText);
    m_combo_limit = XRCCTRL(*this, "m_combo_limit", wxComboBox);
    m_check_keep_frames = XRCCTRL(*this, "m_check_keep_frames", wxCheckBox);
    m_button_presets = XRCCTRL(*this, "m_button_presets", wxButton);
    m_sizePresets = LoadSizePresets(wxConfigBase::Get());
    FillSizeLimitChoices();
    if (m_button_presets)
        m_button_presets->Connect(wxEVT_BUTTON, wxCommandEventHandler(GifFrame::OnEditSizePresets), nullptr, this);
    if (m_combo_limit) {
        m_combo_limit->SetValue(_("No limit"));
        m_combo_limit->Connect(wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSizeLimitText), nullptr, this);
        m_combo_limit->Connect(wxEVT_COMBOBOX, wxCommandEventHandler(GifFrame::OnSizeLimitText), nullptr, this);
    }
    m_estimator = std::make_unique<SizeEstimateWorker>(this);
    Connect(wxID_ANY, EVT_SIZE_ESTIMATE, wxThreadEventHandler(GifFrame::OnSizeEstimate));
    m_estimateTimer.SetOwner(this, ID_TIMER_SIZE_ESTIMATE);
    Connect(ID_TIMER_SIZE_ESTIMATE, wxEVT_TIMER, wxTimerEventHandler(GifFrame::OnSizeEstimateTimer));
    m_estimateTimer.Start(kEstimatePollMs);
}

void GifFrame::FillSizeLimitChoices()
{
    if (m_staticText_limit)
        m_staticText_limit->SetLabel(_("Size limit") + ":");
    if (m_check_keep_frames)
        m_check_keep_frames->SetLabel(_("Never drop frames"));
    if (m_button_presets)
        m_button_presets->SetLabel(_("Edit Presets..."));
    if (!m_combo_limit)
        return;
    // Clearing the list empties the text too; a language switch keeps it,
    // except the words for no limit, which follow the language.
    long long bytes = 0;
    int side = 0;
    const bool known = GetSizeLimit(bytes, side);
    const wxString text = m_combo_limit->GetValue();
    m_combo_limit->Clear();
    m_combo_limit->Append(_("No limit"));
    for (const SizePreset& preset : m_sizePresets)
        m_combo_limit->Append(SizePresetLabel(preset));
    m_combo_limit->ChangeValue(known && bytes == 0 ? _("No limit") : text);
}

bool GifFrame::GetSizeLimit(long long& bytes, int& maxSide) const
{
    bytes = 0;
    maxSide = 0;
    if (!m_combo_limit)
        return true;
    const wxString text = m_combo_limit->GetValue().Strip(wxString::both);
    if (text.empty() || text == _("No limit") || (m_combo_limit->GetCount() > 0 && text == m_combo_limit->GetString(0)))
        return true;
    for (const SizePreset& preset : m_sizePresets)
        if (text == SizePresetLabel(preset)) {
            bytes = preset.bytes;
            maxSide = preset.maxSide;
            return true;
        }
    return ParseSizeLimitText(text, bytes, maxSide);
}

GifFitOptions GifFrame::GetFitOptions() const
{
    GifFitOptions fit;
    if (!GetSizeLimit(fit.limit, fit.maxSide))
        fit.limit = 0;
    fit.dropFrames = !(m_check_keep_frames && m_check_keep_frames->GetValue());
    return fit;
}

void GifFrame::ApplySizeLimit(long long bytes, int maxSide, bool keepAllFrames)
{
    if (m_check_keep_frames)
        m_check_keep_frames->SetValue(keepAllFrames);
    ShowSizeLimit(bytes, maxSide);
}

void GifFrame::ShowSizeLimit(long long bytes, int maxSide)
{
    if (!m_combo_limit)
        return;
    wxString text = bytes > 0 ? SizeLimitText(bytes, maxSide) : _("No limit");
    for (const SizePreset& preset : m_sizePresets)
        if (bytes > 0 && preset.bytes == bytes && preset.maxSide == maxSide)
            text = SizePresetLabel(preset);
    m_combo_limit->ChangeValue(text);
    ShowEstimate();
}

void GifFrame::OnEditSizePresets(wxCommandEvent&)
{
    long long bytes = 0;
    int side = 0;
    const bool known = GetSizeLimit(bytes, side);
    SizePresetsDialog dialog(this, m_sizePresets);
    if (dialog.ShowModal() != wxID_OK)
        return;
    m_sizePresets = dialog.Presets();
    if (wxConfigBase* config = wxConfigBase::Get()) {
        SaveSizePresets(*config, m_sizePresets);
        FlushProgramSettings(*config);
    }
    FillSizeLimitChoices();
    // The field keeps its limit, under the label of an edited preset when
    // one still has it.
    if (known)
        ShowSizeLimit(bytes, side);
}

wxString GifFrame::GetEstimateText() const
{
    return m_staticText_estimate ? m_staticText_estimate->GetLabel() : wxString();
}

void GifFrame::OnSizeLimitText(wxCommandEvent&)
{
    ShowEstimate();
}

void GifFrame::OnSizeEstimateTimer(wxTimerEvent&)
{
    // A save uses every core, and loading changes the frames on every tick:
    // the estimate waits for both to end.
    if (!m_estimator || !m_thumbnail_ctrl || IsSaving() || IsLoading())
        return;
    AnimationSettings now = CurrentSettings();
    // The estimate is of the file as the settings make it, whatever the limit.
    now.sizeLimit = 0;
    now.sizeLimitSide = 0;
    now.keepAllFrames = false;
    if (now == m_estimatedFor)
        return;
    m_estimatedFor = now;
    m_estimateKnown = false;
    if (now.frameCount == 0 || !IsGifOutputSizeAllowed(now.width, now.height)) {
        m_estimator->Cancel();
        ShowEstimate();
        return;
    }
    m_estimateRequest = m_estimator->Request(CollectSaveFrames(*m_thumbnail_ctrl),
                                             GetSaveSettings(wxSize(now.width, now.height)));
    ShowEstimate();
}

void GifFrame::OnSizeEstimate(wxThreadEvent& event)
{
    const SizeEstimateReport report = event.GetPayload<SizeEstimateReport>();
    if (report.request != m_estimateRequest)
        return;
    m_estimateKnown = report.ok;
    m_estimate = report.estimate;
    // A frame that cannot be decoded leaves no figure; the save names it.
    ShowEstimate();
}

void GifFrame::ShowEstimate()
{
    if (!m_staticText_estimate)
        return;
    long long limit = 0;
    int side = 0;
    wxString text;
    const wxString bytesWord = _("bytes");
    if (!GetSizeLimit(limit, side)) {
        text = _("Size limit not understood: write 10M, 256K or a number of bytes");
    } else if (!m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0 || m_estimatedFor.frameCount == 0) {
        text.clear();
    } else if (!m_estimateKnown) {
        text = _("Estimating size...");
    } else {
        wxString size;
        if (m_estimate.exact)
            size = FormatFileSize(m_estimate.bytes, bytesWord);
        else if (double(m_estimate.high - m_estimate.low) <= kAboutSpread * double(m_estimate.bytes))
            // TRANSLATORS: an estimated file size, e.g. "about 2.1 MB"
            size = wxString::Format(_("about %s"), FormatFileSize(m_estimate.bytes, bytesWord));
        else
            // TRANSLATORS: the range of an estimated file size, e.g. "1.8 MB to 2.4 MB"
            size = wxString::Format(_("%s to %s"), FormatFileSize(m_estimate.low, bytesWord),
                                    FormatFileSize(m_estimate.high, bytesWord));
        // TRANSLATORS: beside the output settings, e.g. "Estimated size: about 2.1 MB"
        text = wxString::Format(_("Estimated size: %s"), size);
        if (limit > 0 && m_estimate.bytes > limit)
            text += " " + _("(over the limit: Save fits it under)");
    }
    if (m_staticText_estimate->GetLabel() == text)
        return;
    m_staticText_estimate->SetLabel(text);
    if (wxWindow* parent = m_staticText_estimate->GetParent())
        parent->Layout();
}
