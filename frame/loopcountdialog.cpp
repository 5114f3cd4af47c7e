#include "loopcountdialog.h"

#include "gifframe.h"
#include "window/thumbnailctrl.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

int g_loopCountSetting = 0;
bool g_loopInFileSetting = false;

namespace {
// Window ids inside the dialog.
constexpr int ID_RADIO_TIMES = 0;
constexpr int ID_RADIO_ENDLESS = 1;
constexpr int ID_SPIN_TIMES = 2;

constexpr int kMaxLoops = 100;
constexpr int kInitialLoops = 1;
} // namespace

wxIMPLEMENT_CLASS(LoopCountDialog, wxDialog);

wxBEGIN_EVENT_TABLE(LoopCountDialog, wxDialog)
    EVT_RADIOBUTTON(ID_RADIO_TIMES, LoopCountDialog::OnRadioTimes)
    EVT_RADIOBUTTON(ID_RADIO_ENDLESS, LoopCountDialog::OnRadioEndless)
    EVT_BUTTON(wxID_OK, LoopCountDialog::OnButton)
    EVT_BUTTON(wxID_CANCEL, LoopCountDialog::OnButton)
wxEND_EVENT_TABLE()

LoopCountDialog::LoopCountDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Loop Counter"), wxDefaultPosition, wxSize(300, 175),
               wxDEFAULT_DIALOG_STYLE)
{
    CreateControls();
    m_loopCount = 0;
}

LoopCountDialog::~LoopCountDialog() = default;

void LoopCountDialog::CreateControls()
{
    // Fixed positions and sizes, in pixels; the dialog has no sizer.
    m_box = new wxStaticBox(this, wxID_STATIC, _("Animation Loop Count"), wxPoint(10, 10),
                            wxSize(275, 70));
    m_radioTimes = new wxRadioButton(this, ID_RADIO_TIMES, _("Play animation"), wxPoint(20, 30),
                                     wxDefaultSize, wxRB_GROUP);
    m_spinTimes = new wxSpinCtrl(this, ID_SPIN_TIMES, wxEmptyString, wxPoint(195, 30),
                                 wxSize(45, 20), wxSP_ARROW_KEYS, 0, kMaxLoops, kInitialLoops);
    m_labelTimes = new wxStaticText(this, wxID_ANY, _("time(s)"), wxPoint(240, 30));
    m_radioEndless =
        new wxRadioButton(this, ID_RADIO_ENDLESS, _("Play animation infinitely"), wxPoint(20, 55));

    if (g_loopCountSetting == 0) {
        m_spinTimes->Enable(false);
        m_radioEndless->SetValue(true);
    } else {
        m_radioTimes->SetValue(true);
        m_spinTimes->SetValue(g_loopCountSetting);
        m_spinTimes->Enable(true);
    }

    m_checkInFile = new wxCheckBox(this, wxID_ANY, _("Write the count into the saved GIF"), wxPoint(20, 85));
    m_checkInFile->SetValue(g_loopInFileSetting);

    m_buttonOk = new wxButton(this, wxID_OK, _("OK"), wxPoint(60, 110), wxSize(70, 25));
    m_buttonCancel = new wxButton(this, wxID_CANCEL, _("Cancel"), wxPoint(170, 110), wxSize(70, 25));
}

void LoopCountDialog::OnRadioTimes(wxCommandEvent&)
{
    if (m_radioTimes->GetValue())
        m_spinTimes->Enable(true);
}

void LoopCountDialog::OnRadioEndless(wxCommandEvent&)
{
    if (m_radioEndless->GetValue())
        m_spinTimes->Enable(false);
}

void LoopCountDialog::OnButton(wxCommandEvent& event)
{
    if (event.GetId() == wxID_OK) {
        const int value = m_radioTimes->GetValue() ? m_spinTimes->GetValue() : 0;
        g_loopCountSetting = value;
        m_loopCount = value;
        g_loopInFileSetting = m_loopInFile = m_checkInFile->GetValue();
    }
    EndDialog(event.GetId());
}

void GifFrame::OnLoopCount(wxCommandEvent&)
{
    if (!m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0)
        return;
    LoopCountDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK) {
        m_loopCount = dialog.m_loopCount;
        m_loopInFile = dialog.m_loopInFile;
        m_loopsPlayed = 0;
    }
    StopPreview();
}
