#pragma once

#include <wx/dialog.h>

class wxSpinCtrl;

// Asks for the delay of the selected frames, in hundredths of a second.
class FrameDelayDialog : public wxDialog {
public:
    FrameDelayDialog(wxWindow* parent, int delay);

    int GetDelay() const;
    void SetDelay(int delay);

private:
    wxSpinCtrl* m_spinDelay = nullptr;
};
