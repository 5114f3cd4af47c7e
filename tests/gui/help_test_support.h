#pragma once

// The real main window with its Help menu, option values of the test's own
// and a browser launcher that records instead of starting a browser.
#include "domain_option.h"
#include "gifframe.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "update_check.h"
#include "web_browser.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <string>
#include <vector>

class HelpMenuTest : public MainWindowTest {
protected:
    static constexpr long kTestTimeoutMs = 1500;

    void SetUp() override
    {
        m_previousOptions = g_domainOption;
        g_domainOption = new DomainOption(m_dir.File("option.cfg"));
        g_domainOption->m_helpUrl = "https://brackwell.test/help";
        g_domainOption->m_supportUrl = "https://brackwell.test/support";
        g_domainOption->m_homeUrl = "https://brackwell.test/gifmaker";

        m_show = false;
        MainWindowTest::SetUp();
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
        MainWindowTest::TearDown();
        delete g_domainOption;
        g_domainOption = m_previousOptions;
    }

    // Starts the preview as Run animation does.
    void StartPreview()
    {
        Fill(2);
        Choose(ID_MENU_RUN_ANIMATION);
        ASSERT_TRUE(m_frame->IsPlaying());
    }

    // Runs what the event loop would run next, such as the queued result of
    // an update check.
    static void DeliverQueuedEvents() { wxTheApp->ProcessPendingEvents(); }

    static bool RecordLaunch(const wxString& url, int)
    {
        s_launched.push_back(url);
        if (s_frame)
            s_playingAtLaunch.push_back(!s_frame->IsStopped());
        return true;
    }

    static inline std::vector<wxString> s_launched;
    static inline std::vector<bool> s_playingAtLaunch;
    static inline GifFrame* s_frame = nullptr;

private:
    DomainOption* m_previousOptions = nullptr;
    BrowserLauncher m_previousLauncher = nullptr;
    long m_previousTimeout = kUpdateCheckTimeoutMs;
};
