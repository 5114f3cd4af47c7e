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

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

// Answers a file dialog with `path`. The GTK file chooser takes a new path in
// the background, so events are processed until the dialog reports it.
class ExpectFileDialog : public wxExpectModalBase<wxFileDialog, ExpectFileDialog> {
public:
    explicit ExpectFileDialog(const wxString& path, int id = wxID_OK) : m_path(path), m_id(id) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override
    {
        if (m_id != wxID_OK)
            return m_id;
        dialog->SetPath(m_path);
        const long timeoutMs = 5000;
        wxStopWatch watch;
        while (dialog->GetPath() != m_path && watch.Time() < timeoutMs) {
            wxYield();
            wxMilliSleep(1);
        }
        return m_id;
    }

private:
    wxString m_path;
    int m_id;
};
