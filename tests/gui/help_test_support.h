#pragma once

// The real main window with its Help menu, option values of the test's own
// and a browser launcher that records instead of starting a browser.
#include "domain_option.h"
#include "gifframe.h"
#include "main_window.h"
#include "test_paths.h"
#include "update_check.h"
#include "web_browser.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/debug.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <string>
#include <vector>

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
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        m_record->shown = true;
        m_record->message = dialog->GetMessage();
        m_record->caption = dialog->GetCaption();
        m_record->style = dialog->GetMessageDialogStyle();
        return m_answer;
    }

private:
    ShownMessage* m_record;
    int m_answer;
};

class HelpMenuTest : public ::testing::Test {
protected:
    static constexpr long kTestTimeoutMs = 1500;

    void SetUp() override
    {
        m_previousAssertHandler = wxSetAssertHandler(FailOnAssert);

        m_previousOptions = g_domainOption;
        g_domainOption = new DomainOption(m_dir.File("option.cfg"));
        g_domainOption->m_helpUrl = "https://brackwell.test/help";
        g_domainOption->m_supportUrl = "https://brackwell.test/support";
        g_domainOption->m_homeUrl = "https://brackwell.test/gifmaker";

        m_frame = CreateMainWindowForTest(false);
        ASSERT_NE(m_frame, nullptr);
        wxTheApp->SetTopWindow(m_frame);

        s_launched.clear();
        s_playingAtLaunch.clear();
        s_frame = m_frame;
        m_previousLauncher = SetBrowserLauncher(RecordLaunch);
        m_previousTimeout = SetUpdateCheckTimeout(kTestTimeoutMs);
    }

    void TearDown() override
    {
        SetUpdateCheckTimeout(m_previousTimeout);
        SetBrowserLauncher(m_previousLauncher);
        s_frame = nullptr;
        wxTheApp->SetTopWindow(nullptr);
        DestroyMainWindowForTest(m_frame);
        delete g_domainOption;
        g_domainOption = m_previousOptions;
        wxSetAssertHandler(m_previousAssertHandler);
    }

    // Sends the menu command as the menu bar would.
    void Choose(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(m_frame);
        m_frame->ProcessWindowEvent(command);
    }

    // Runs what the event loop would run next, such as the queued result of
    // an update check.
    static void DeliverQueuedEvents() { wxTheApp->ProcessPendingEvents(); }

    static void FailOnAssert(const wxString& file, int line, const wxString& function,
                             const wxString& condition, const wxString& message)
    {
        ADD_FAILURE_AT(static_cast<const char*>(file.utf8_str()), line)
            << function << ": " << condition << " " << message;
    }

    static bool RecordLaunch(const wxString& url, int)
    {
        s_launched.push_back(url);
        if (s_frame)
            s_playingAtLaunch.push_back(s_frame->m_playing || s_frame->m_timer.IsRunning());
        return true;
    }

    static inline std::vector<wxString> s_launched;
    static inline std::vector<bool> s_playingAtLaunch;
    static inline GifFrame* s_frame = nullptr;

    TempDir m_dir;
    GifFrame* m_frame = nullptr;

private:
    DomainOption* m_previousOptions = nullptr;
    BrowserLauncher m_previousLauncher = nullptr;
    long m_previousTimeout = kUpdateCheckTimeoutMs;
    wxAssertHandler_t m_previousAssertHandler = nullptr;
};
