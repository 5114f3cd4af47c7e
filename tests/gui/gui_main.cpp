// Runs the GUI tests inside a real toolkit application. HOME points at a fresh
// folder so that the tests never touch the user's settings, and log messages go
// to standard error so that no log window waits for an answer.
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/app.h>
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

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    char home[] = "/tmp/gifmaker-home-XXXXXX";
    if (mkdtemp(home))
        setenv("HOME", home, 1);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    wxFileName::Rmdir(home, wxPATH_RMDIR_RECURSIVE);
    return result;
}
