// File > Exit and the title-bar close button both destroy the main window,
// which ends the program's main loop.
#include "gifframe.h"
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

class EndingTheProgram : public MainWindowTest {
protected:

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
};
} // namespace

TEST_F(EndingTheProgram, ExitMenuCommandDestroysTheWindow)
{
    GifFrame* frame = m_frame;
    EXPECT_TRUE(MainLoopEndsAfter([frame] { ChooseMenuItemForTest(*frame, ID_MENU_EXIT); }));
    EXPECT_TRUE(Closed());
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
    EXPECT_TRUE(Closed());
}
