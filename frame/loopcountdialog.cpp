#include "loopcountdialog.h"

#include "gifframe.h"
#include "window/thumbnailctrl.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
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
    : wxDialog(parent, wxID_ANY, _("Loop Counter"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE)
{
    CreateControls();
    m_loopCount = 0;
}

LoopCountDialog::~LoopCountDialog() = default;

void LoopCountDialog::CreateControls()
{
    // Sizers give every control the room its text and the theme ask for, in
    // whatever language; the controls live inside the box they are drawn in.
    m_box = new wxStaticBox(this, wxID_STATIC, _("Animation Loop Count"));
    m_radioTimes = new wxRadioButton(m_box, ID_RADIO_TIMES, _("Play animation"), wxDefaultPosition,
                                     wxDefaultSize, wxRB_GROUP);
    m_spinTimes = new wxSpinCtrl(m_box, ID_SPIN_TIMES, wxEmptyString, wxDefaultPosition,
                                 wxDefaultSize, wxSP_ARROW_KEYS, 0, kMaxLoops, kInitialLoops);
    m_labelTimes = new wxStaticText(m_box, wxID_ANY, _("time(s)"));
    m_radioEndless = new wxRadioButton(m_box, ID_RADIO_ENDLESS, _("Play animation infinitely"));

    if (g_loopCountSetting == 0) {
        m_spinTimes->Enable(false);
        m_radioEndless->SetValue(true);
    } else {
        m_radioTimes->SetValue(true);
        m_spinTimes->SetValue(g_loopCountSetting);
        m_spinTimes->Enable(true);
    }

    m_checkInFile = new wxCheckBox(this, wxID_ANY, _("Write the count into the saved GIF"));
    m_checkInFile->SetValue(g_loopInFileSetting);

    m_buttonOk = new wxButton(this, wxID_OK, _("OK"));
    m_buttonCancel = new wxButton(this, wxID_CANCEL, _("Cancel"));

    auto* times = new wxBoxSizer(wxHORIZONTAL);
    times->Add(m_radioTimes, wxSizerFlags().CentreVertical());
    times->Add(m_spinTimes, wxSizerFlags().CentreVertical().Border(wxLEFT | wxRIGHT));
    times->Add(m_labelTimes, wxSizerFlags().CentreVertical());

    auto* choices = new wxStaticBoxSizer(m_box, wxVERTICAL);
    choices->Add(times, wxSizerFlags().Border());
    choices->Add(m_radioEndless, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM));

    // The platform's order and spacing of OK and Cancel.
    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(m_buttonOk);
    buttons->AddButton(m_buttonCancel);
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(choices, wxSizerFlags().Expand().Border());
    top->Add(m_checkInFile, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    top->Add(buttons, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    SetSizerAndFit(top);
    m_buttonOk->SetDefault();
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
    const FrameListState before = CaptureState();
    LoopCountDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK) {
        m_loopCount = dialog.m_loopCount;
        m_loopInFile = dialog.m_loopInFile;
        m_loopsPlayed = 0;
        RecordStep(wxTRANSLATE("Loop Count"), before);
    }
    StopPreview();
}
