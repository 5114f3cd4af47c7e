// File > Exit and the title-bar close button both destroy the main window,
// which ends the program's main loop.
#include "gifframe.h"
#include "home_override.h"
#include "main_window.h"
#include "program_paths.h"
#include "x11_windows.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <functional>

namespace {
constexpr int kGuardMs = 20000;
// Tells this window apart from any other main window on the display.
const char kTestTitle[] = "Main window whose close button is pressed";

class EndingTheProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = CreateMainWindowForTest();
        ASSERT_NE(m_frame, nullptr);
        m_window = m_frame;
    }

    void TearDown() override
    {
        if (m_window)
            DestroyMainWindowForTest(m_frame);
    }

    // Runs the program's main loop with `action` as its first work; true when
    // the loop ended by itself rather than by the guard timer.
    bool MainLoopEndsAfter(const std::function<void()>& action)
    {
        bool guardFired = false;
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [&guardFired](wxTimerEvent&) {
            guardFired = true;
            wxTheApp->ExitMainLoop();
        });
        guard.StartOnce(kGuardMs);
        wxTheApp->SetExitOnFrameDelete(true);
        wxTheApp->CallAfter(action);
        wxTheApp->MainLoop();
        guard.Stop();
        return !guardFired;
    }

    HomeOverride m_home;
    GifFrame* m_frame = nullptr;
    wxWeakRef<wxFrame> m_window;
};
} // namespace

TEST_F(EndingTheProgram, ExitMenuCommandDestroysTheWindow)
{
    wxMenuItem* exit = m_frame->m_item_exit;
    EXPECT_TRUE(MainLoopEndsAfter([exit] { exit->GetMenu()->SendEvent(exit->GetId()); }));
    EXPECT_FALSE(m_window);
}

TEST_F(EndingTheProgram, CloseButtonDestroysTheWindow)
{
    m_frame->SetTitle(kTestTitle);
    EXPECT_TRUE(MainLoopEndsAfter([] {
        const X11Window window =
            WaitForWindowTitled(kTestTitle, kProgramTimeoutMs, [] { wxTheApp->Yield(); });
        ASSERT_NE(window, 0u);
        RequestWindowClose(window);
    }));
    EXPECT_FALSE(m_window);
}
