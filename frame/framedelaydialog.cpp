#include "framedelaydialog.h"

#include "format/gif_format.h"

#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

namespace {
constexpr int kBorder = 10;
} // namespace

FrameDelayDialog::FrameDelayDialog(wxWindow* parent, int delay)
    : wxDialog(parent, wxID_ANY, _("Set Delay of Selected Frames"))
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, _("Delay ") + ":"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kBorder);
    // The same range as the Delay control: the GIF's 16-bit field.
    m_spinDelay = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                 0, kGifMaxField, delay);
    row->Add(m_spinDelay, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(new wxStaticText(this, wxID_ANY, "1/100" + _("sec ")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, kBorder);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row, 0, wxALL, kBorder);
    column->Add(CreateSeparatedButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, kBorder);
    SetSizerAndFit(column);
    m_spinDelay->SetFocus();
    m_spinDelay->SetSelection(-1, -1);
}

int FrameDelayDialog::GetDelay() const
{
    return m_spinDelay->GetValue();
}

void FrameDelayDialog::SetDelay(int delay)
{
    m_spinDelay->SetValue(delay);
}
