// Runs the GUI tests inside a real toolkit application. HOME points at a fresh
// folder so that the tests never touch the user's settings, and log messages go
// to standard error so that no log window waits for an answer.
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>

namespace {
class GuiTestApp : public wxApp {
public:
    bool OnInit() override
    {
        delete wxLog::SetActiveTarget(new wxLogStderr);
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        return true;
    }
};
} // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

#ifdef __SANITIZE_ADDRESS__
namespace {
// GTK and the toolkit keep caches for the life of the process, which the leak
// checker would report at every exit; the unit tests look for leaks instead.
// The crash report test needs the program's own fatal-signal handler.
const char kSanitizerOptions[] = "detect_leaks=0:allow_user_segv_handler=1";
} // namespace

extern "C" const char* __asan_default_options()
{
    return kSanitizerOptions;
}
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef __SANITIZE_ADDRESS__
    // The programs that the tests start inherit the options.
    setenv("ASAN_OPTIONS", kSanitizerOptions, 0);
#endif
    char home[] = "/tmp/gifmaker-home-XXXXXX";
    if (mkdtemp(home))
        setenv("HOME", home, 1);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    // A progress dialog shown while no event loop is active makes one of its
    // own and deletes it with itself, even when that happens inside a wxYield
    // running on it. The program always works inside its main loop, so the
    // tests run with a loop active too.
    wxGUIEventLoop testLoop;
    wxEventLoopBase::SetActive(&testLoop);
    const int result = RUN_ALL_TESTS();
    wxEventLoopBase::SetActive(nullptr);
    wxTheApp->OnExit();
    wxEntryCleanup();
    wxFileName::Rmdir(home, wxPATH_RMDIR_RECURSIVE);
    return result;
}
