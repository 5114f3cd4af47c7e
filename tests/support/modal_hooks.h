#pragma once

// Modal dialogs answered through the toolkit's test hook:
//   wxTEST_DIALOG(code, wxExpectModal<wxMessageDialog>(wxID_NO),
//                 ExpectFileChoice("Save XML Files", path));
// An unexpected dialog fails the test by throwing instead of being shown for
// real, which would wait for ever under Xvfb.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#define wxTEST_DIALOG_HOOK_CLASS ThrowingModalHook
#include <wx/testing.h>

class ThrowingModalHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    void ReportFailure(const wxString& message) override
    {
        throw std::runtime_error(message.ToStdString());
    }
};

// Runs `code` and fails when it shows any modal dialog.
#define EXPECT_NO_DIALOG(code)                                          \
    do {                                                                \
        ThrowingModalHook noDialogHook(__FILE__, __LINE__, __func__);   \
        code;                                                           \
        noDialogHook.CheckUnmetExpectations();                          \
    } while (false)

#include <wx/filedlg.h>
#include <wx/msgdlg.h>

// Answers a dialog of type T with whatever `answer` does and returns.
template <class T>
class ExpectDialog : public wxExpectModalBase<T, ExpectDialog<T>> {
public:
    explicit ExpectDialog(std::function<int(T*)> answer) : m_answer(std::move(answer)) {}

protected:
    int OnInvoked(T* dialog) const override { return m_answer(dialog); }

private:
    std::function<int(T*)> m_answer;
};

// Answers a file dialog by choosing `path` (or with `id` other than OK). The
// GTK chooser takes the path in the background, so events are processed until
// the dialog reports it. `title`, when not empty, is the title the dialog
// must carry.
class ExpectFileChoice : public wxExpectModalBase<wxFileDialog, ExpectFileChoice> {
public:
    ExpectFileChoice(const wxString& title, const wxString& path, int id = wxID_OK)
        : m_title(title), m_path(path), m_id(id)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dialog) const override;

private:
    wxString m_title;
    wxString m_path;
    int m_id;
};

// What a message box said, filled in when the box is answered.
struct ShownMessage {
    bool shown = false;
    wxString message;
    wxString caption;
    long style = 0;
};

// Answers a message box like wxExpectModal<wxMessageDialog> and records it.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
public:
    ExpectMessage(ShownMessage& record, int answer) : m_record(&record), m_answer(answer) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override;

private:
    ShownMessage* m_record;
    int m_answer;
};
