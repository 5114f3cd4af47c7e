#pragma once

// wxTEST_DIALOG with a hook that fails the test by throwing instead of showing
// an unexpected dialog for real, which would wait for ever under Xvfb.

#include <stdexcept>

#define wxTEST_DIALOG_HOOK_CLASS ThrowingModalHook
#include <wx/testing.h>

class ThrowingModalHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    void ReportFailure(const wxString& msg) override
    {
        throw std::runtime_error(msg.ToStdString());
    }
};

// Runs `code` and fails when it shows any modal dialog.
#define EXPECT_NO_DIALOG(code)                                  \
    do {                                                        \
        ThrowingModalHook noDialogHook(__FILE__, __LINE__, __func__); \
        code;                                                   \
        noDialogHook.CheckUnmetExpectations();                  \
    } while (false)
