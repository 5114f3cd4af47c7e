#pragma once

// Helpers for driving the main window: dialogs answered through the toolkit's
// modal hook, pictures written for the tests, loads waited for.

#include "test_paths.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// An unexpected dialog fails the test by throwing instead of being shown for
// real, which would wait for ever under Xvfb.
#define wxTEST_DIALOG_HOOK_CLASS MainWindowModalHook
#include <wx/testing.h>

class MainWindowModalHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    void ReportFailure(const wxString& message) override
    {
        throw std::runtime_error(message.ToStdString());
    }
};

// Runs `code` and fails when it shows any modal dialog.
#define RUN_WITHOUT_DIALOG(code)                                          \
    do {                                                                  \
        MainWindowModalHook noDialogHook(__FILE__, __LINE__, __func__);   \
        code;                                                             \
        noDialogHook.CheckUnmetExpectations();                            \
    } while (false)

#include <wx/filedlg.h>
#include <wx/image.h>

class GifFrame;

// While it lives, a failed toolkit assertion fails the running test instead
// of opening an assertion dialog that nobody answers.
class AssertsFailTests {
public:
    AssertsFailTests();
    ~AssertsFailTests();
    AssertsFailTests(const AssertsFailTests&) = delete;
    AssertsFailTests& operator=(const AssertsFailTests&) = delete;

private:
    wxAssertHandler_t m_previous;
};

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
// the dialog reports it. `message` is the title the dialog must carry.
class ExpectFileChoice : public wxExpectModalBase<wxFileDialog, ExpectFileChoice> {
public:
    ExpectFileChoice(const wxString& message, const wxString& path, int id = wxID_OK)
        : m_message(message), m_path(path), m_id(id)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dialog) const override;

private:
    wxString m_message;
    wxString m_path;
    int m_id;
};

// Pictures of one flat colour, written into `dir`.
wxString WritePng(const TempDir& dir, const wxString& name, int width, int height,
                  unsigned char shade = 128);
// An animated GIF of `frames` frames of width x height.
wxString WriteGif(const TempDir& dir, const wxString& name, int frames, int width = 40,
                  int height = 30);
wxString WriteBytes(const TempDir& dir, const wxString& name, const std::string& bytes);

// Processes events until the running load has ended and its dialog is gone;
// false when that takes longer than `timeoutMs`.
bool WaitForLoad(GifFrame* frame, long timeoutMs = 20000);

// What the loading thread told the window, in arrival order.
struct LoadEvent {
    int progress;
    long frameIndex;
    wxString path;
    bool hasPicture;
};
// Records every loading event before the window handles it.
class LoadRecorder {
public:
    explicit LoadRecorder(GifFrame* frame);
    ~LoadRecorder();
    const std::vector<LoadEvent>& Events() const { return m_events; }
    std::vector<int> Progress() const;

private:
    void OnEvent(wxCommandEvent& event);
    GifFrame* m_frame;
    std::vector<LoadEvent> m_events;
};

// The file names (without folder) of the strip's items, in order.
std::vector<std::string> ItemNames(GifFrame* frame);
