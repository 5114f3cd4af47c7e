#include "sizepresetsdialog.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace {
// Wide enough for a name and its limit, in any language.
constexpr int kListWidth = 280;
constexpr int kListHeight = 160;
} // namespace

SizePresetsDialog::SizePresetsDialog(wxWindow* parent, const std::vector<SizePreset>& presets)
    : wxDialog(parent, wxID_ANY, _("Size Limit Presets"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_presets(presets)
{
    CreateControls();
    FillList(m_presets.empty() ? -1 : 0);
}

void SizePresetsDialog::CreateControls()
{
    m_list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(kListWidth, kListHeight));
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(new wxButton(this, ID_ADD, _("Add")), wxSizerFlags().Expand());
    buttons->Add(new wxButton(this, ID_CHANGE, _("Change")), wxSizerFlags().Expand().Border(wxTOP));
    buttons->Add(new wxButton(this, ID_DELETE, _("Delete")), wxSizerFlags().Expand().Border(wxTOP));
    buttons->Add(new wxButton(this, ID_RESTORE, _("Restore Built-in Presets")),
                 wxSizerFlags().Expand().Border(wxTOP));

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(m_list, wxSizerFlags(1).Expand());
    top->Add(buttons, wxSizerFlags().Border(wxLEFT));

    m_name = new wxTextCtrl(this, wxID_ANY);
    m_limit = new wxTextCtrl(this, wxID_ANY);
    m_side = new wxTextCtrl(this, wxID_ANY);
    auto* fields = new wxFlexGridSizer(2, wxSize(8, 4));
    fields->AddGrowableCol(1);
    fields->Add(new wxStaticText(this, wxID_ANY, _("Name") + ":"), wxSizerFlags().CentreVertical());
    fields->Add(m_name, wxSizerFlags().Expand());
    fields->Add(new wxStaticText(this, wxID_ANY, _("Size limit") + ":"), wxSizerFlags().CentreVertical());
    fields->Add(m_limit, wxSizerFlags().Expand());
    // TRANSLATORS: the longer side of the picture a destination accepts, in pixels
    fields->Add(new wxStaticText(this, wxID_ANY, _("Longest side (pixels, empty for none)") + ":"),
                wxSizerFlags().CentreVertical());
    fields->Add(m_side, wxSizerFlags().Expand());

    auto* answer = new wxStdDialogButtonSizer;
    answer->AddButton(new wxButton(this, wxID_OK, _("OK")));
    answer->AddButton(new wxButton(this, wxID_CANCEL, _("Cancel")));
    answer->Realize();

    auto* all = new wxBoxSizer(wxVERTICAL);
    all->Add(top, wxSizerFlags(1).Expand().Border());
    all->Add(fields, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    all->Add(new wxStaticText(this, wxID_ANY, _("Services change their limits: check their help pages.")),
             wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    all->Add(answer, wxSizerFlags().Expand().Border(wxALL));
    SetSizerAndFit(all);

    m_list->Bind(wxEVT_LISTBOX, &SizePresetsDialog::OnChoose, this);
    Bind(wxEVT_BUTTON, &SizePresetsDialog::OnAdd, this, ID_ADD);
    Bind(wxEVT_BUTTON, &SizePresetsDialog::OnChange, this, ID_CHANGE);
    Bind(wxEVT_BUTTON, &SizePresetsDialog::OnDelete, this, ID_DELETE);
    Bind(wxEVT_BUTTON, &SizePresetsDialog::OnRestore, this, ID_RESTORE);
}

void SizePresetsDialog::FillList(int select)
{
    wxArrayString labels;
    for (const SizePreset& preset : m_presets)
        labels.Add(SizePresetLabel(preset));
    m_list->Set(labels);
    if (select >= 0 && select < int(m_presets.size()))
        m_list->SetSelection(select);
    ShowChosen();
}

void SizePresetsDialog::ShowChosen()
{
    const int chosen = m_list->GetSelection();
    if (chosen == wxNOT_FOUND) {
        m_name->Clear();
        m_limit->Clear();
        m_side->Clear();
        return;
    }
    const SizePreset& preset = m_presets[chosen];
    m_name->ChangeValue(preset.name);
    m_limit->ChangeValue(ExactSizeLimitText(preset.bytes));
    m_side->ChangeValue(preset.maxSide > 0 ? wxString::Format("%d", preset.maxSide) : wxString());
}

bool SizePresetsDialog::ReadFields(std::size_t editing, SizePreset& preset)
{
    wxString problem;
    switch (ReadSizePreset(m_name->GetValue(), m_limit->GetValue(), m_side->GetValue(), m_presets, editing,
                           preset)) {
    case SizePresetProblem::None:
        return true;
    case SizePresetProblem::NoName:
        problem = _("Give the preset a name.");
        break;
    case SizePresetProblem::NameTaken:
        problem = _("Another preset has that name.");
        break;
    case SizePresetProblem::BadLimit:
        problem = _("Size limit not understood: write 10M, 256K or a number of bytes");
        break;
    case SizePresetProblem::BadSide:
        problem = _("The longest side must be a whole number of pixels, or empty for none.");
        break;
    }
    wxMessageBox(problem, GetTitle(), wxOK | wxICON_WARNING, this);
    return false;
}

void SizePresetsDialog::OnChoose(wxCommandEvent&)
{
    ShowChosen();
}

void SizePresetsDialog::OnAdd(wxCommandEvent&)
{
    SizePreset preset;
    if (!ReadFields(m_presets.size(), preset))
        return;
    m_presets.push_back(preset);
    FillList(int(m_presets.size()) - 1);
}

void SizePresetsDialog::OnChange(wxCommandEvent&)
{
    const int chosen = m_list->GetSelection();
    SizePreset preset;
    if (chosen == wxNOT_FOUND || !ReadFields(std::size_t(chosen), preset))
        return;
    m_presets[chosen] = preset;
    FillList(chosen);
}

void SizePresetsDialog::OnDelete(wxCommandEvent&)
{
    const int chosen = m_list->GetSelection();
    if (chosen == wxNOT_FOUND)
        return;
    m_presets.erase(m_presets.begin() + chosen);
    FillList(std::min(chosen, int(m_presets.size()) - 1));
}

void SizePresetsDialog::OnRestore(wxCommandEvent&)
{
    m_presets = BuiltInSizePresets();
    FillList(0);
}
