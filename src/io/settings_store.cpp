#include "io/settings_store.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

namespace {
const char kSettingsName[] = "brackwell-gifmaker";
} // namespace

void UseProgramSettingsStore()
{
    // The command line runs under a console application, which wxTheApp
    // (a window application) would misname.
    if (wxAppConsole* app = wxAppConsole::GetInstance())
        app->SetAppName(kSettingsName);
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
}

void FlushProgramSettings(wxConfigBase& config)
{
    wxLogNull noLog;
    wxFileName::Mkdir(wxStandardPaths::Get().GetUserConfigDir(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    config.Flush();
}
