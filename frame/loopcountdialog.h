#pragma once

#include <wx/dialog.h>

class wxButton;
class wxCheckBox;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticBox;
class wxStaticText;

// The last loop count confirmed with OK; the dialog starts from it. 0 plays
// the preview endlessly.
extern int g_loopCountSetting;
// The last choice confirmed with OK of writing the count into the saved GIF;
// off, the GIF repeats for ever.
extern bool g_loopInFileSetting;

// Asks how many passes the preview plays before it stops by itself, and
// whether the saved GIF plays that many too.
class LoopCountDialog : public wxDialog {
public:
    explicit LoopCountDialog(wxWindow* parent);
    ~LoopCountDialog() override;

    // The controls carry their own state; nothing is transferred.
    bool TransferDataToWindow() override { return true; }
    bool TransferDataFromWindow() override { return true; }

    void CreateControls();
    void OnRadioTimes(wxCommandEvent& event);
    void OnRadioEndless(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);

    wxButton* m_buttonOk = nullptr;
    wxButton* m_buttonCancel = nullptr;
    wxRadioButton* m_radioTimes = nullptr;
    wxRadioButton* m_radioEndless = nullptr;
    wxStaticBox* m_box = nullptr;
    wxStaticText* m_labelTimes = nullptr;
    wxSpinCtrl* m_spinTimes = nullptr;
    wxCheckBox* m_checkInFile = nullptr;
    int m_loopCount = 0;
    bool m_loopInFile = false;

private:
    wxDECLARE_CLASS(LoopCountDialog);
    wxDECLARE_EVENT_TABLE();
};
