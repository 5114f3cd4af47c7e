#include "gifapp.h"

#include "command_line.h"
#include "crash_report.h"
#include "domain_option.h"
#include "gifframe.h"
#include "language.h"
#include "layout_check.h"
#include "paths.h"
#include "io/settings_store.h"
#include "io/trace.h"

#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

#include <cstdio>

namespace {
const char kMainWindowLayout[] = "MyFrame1";

wxArrayString& GivenFiles()
{
    static wxArrayString files;
    return files;
}

// Start-up cannot go on without its layout; say what is missing instead of
// failing later on a window that is not there.
bool ReportMissingResource(const wxString& what)
{
    const wxString message = wxString::Format(
        "%s cannot start: %s is missing.\nReinstall the program.", GetProductName(), what);
    std::fprintf(stderr, "%s\n", static_cast<const char*>(message.utf8_str()));
    wxMessageBox(message, GetProductName(), wxOK | wxICON_ERROR);
    return false;
}
} // namespace

void SetStartupFiles(const wxArrayString& files)
{
    GivenFiles() = files;
}

bool LoadLayoutResources(const wxString& themesFolder)
{
    if (!wxDirExists(themesFolder))
        return false;
    wxXmlResource::Get()->LoadAllFiles(themesFolder);
    return true;
}

GifFrame* CreateMainWindow(wxString* missing)
{
    auto* frame = new GifFrame;
    wxString lacking;
    if (!wxXmlResource::Get()->LoadFrame(frame, nullptr, kMainWindowLayout)) {
        delete frame;
        lacking = wxString::Format("the window layout \"%s\"", kMainWindowLayout);
    } else if (const wxString object = FindMissingLayoutObject(*frame); !object.empty()) {
        frame->Destroy();
        lacking = wxString::Format("the control %s of the window layout \"%s\"", object,
                                   kMainWindowLayout);
    }
    if (!lacking.empty()) {
        if (missing)
            *missing = lacking;
        return nullptr;
    }
    frame->InitFrame();
    return frame;
}

GifApp::GifApp()
{
    wxHandleFatalExceptions(true);
}

GifApp::~GifApp() = default;

bool GifApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;

    // The toolkit's messages about locales the system lacks, missing images
    // or catalogs are of no use to the user; what start-up cannot do without
    // is reported below.
    wxLogNull noLog;
    UseProgramSettingsStore();
    m_locale = nullptr;
    InitStartupLocale(*this);

    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    const wxString themes = GetResourceRoot() + "/Themes";
    if (!LoadLayoutResources(themes))
        return ReportMissingResource(wxString::Format("the folder \"%s\"", themes));

    Trace(static_cast<const char*>(GetOptionFilePath().utf8_str()));
    g_domainOption = new DomainOption(GetOptionFilePath());
    LoadDomainOptions();

    wxString missing;
    m_frame = CreateMainWindow(&missing);
    if (!m_frame) {
        // OnExit is not called when start-up fails.
        delete g_domainOption;
        g_domainOption = nullptr;
        return ReportMissingResource(wxString::Format("%s in \"%s\"", missing, themes));
    }
    m_frame->Show(true);
    if (!GivenFiles().empty()) {
        // Once the window is on screen, so that the load's progress and any
        // message appear over it.
        const StartupFiles files = SortStartupFiles(GivenFiles(), wxGetCwd());
        GivenFiles().clear();
        GifFrame* const frame = m_frame;
        frame->CallAfter([frame, files] { frame->OpenStartupFiles(files); });
    }
    return true;
}

int GifApp::OnExit()
{
    delete g_domainOption;
    g_domainOption = nullptr;
    return 0;
}

void GifApp::OnFatalException()
{
    GenerateCrashReport();
}
