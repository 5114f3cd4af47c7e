#include "gifapp.h"

#include "domain_option.h"
#include "gifframe.h"
#include "language.h"
#include "paths.h"

#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

#include <cstdio>

namespace {
// Start-up cannot go on without its layout; say what is missing instead of
// failing later on a window that is not there.
bool ReportMissingResource(const wxString& what)
{
    const wxString message = wxString::Format(
        "Brackwell GIF Maker cannot start: %s is missing.\nReinstall the program.", what);
    std::fprintf(stderr, "%s\n", static_cast<const char*>(message.utf8_str()));
    wxMessageBox(message, GetProductName(), wxOK | wxICON_ERROR);
    return false;
}
} // namespace

GifApp::GifApp()
{
    wxHandleFatalExceptions(true);
}

GifApp::~GifApp() = default;

bool GifApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;

    m_locale = nullptr;
    InitStartupLocale(*this);

    const wxString themes = GetResourceRoot() + "/Themes";
    {
        wxLogNull noLog;
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        if (wxDirExists(themes))
            wxXmlResource::Get()->LoadAllFiles(themes);
    }
    if (!wxDirExists(themes))
        return ReportMissingResource(wxString::Format("the folder \"%s\"", themes));

    std::printf("%s\n", static_cast<const char*>(GetOptionFilePath().utf8_str()));
    g_domainOption = new DomainOption(GetOptionFilePath());
    LoadDomainOptions();

    auto* frame = new GifFrame;
    bool loaded;
    {
        wxLogNull noLog;
        loaded = wxXmlResource::Get()->LoadFrame(frame, nullptr, "MyFrame1");
    }
    if (!loaded) {
        delete frame;
        return ReportMissingResource(
            wxString::Format("the window layout \"MyFrame1\" in \"%s\"", themes));
    }
    {
        wxLogNull noLog;
        frame->InitFrame();
    }
    m_frame = frame;
    frame->Show(true);
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
