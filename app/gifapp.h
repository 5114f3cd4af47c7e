#pragma once

#include <wx/app.h>
#include <wx/arrstr.h>

class GifFrame;
class wxLocale;

class GifApp : public wxApp {
public:
    GifApp();
    ~GifApp() override;

    bool OnInit() override;
    int OnExit() override;
    void OnFatalException() override;

    GifFrame* m_frame = nullptr;
    wxLocale* m_locale = nullptr;
};

wxDECLARE_APP(GifApp);

// The files named on the command line, opened once the main window is up.
void SetStartupFiles(const wxArrayString& files);

// Loads every layout file of the Themes folder into the global resource
// object; false when the folder does not exist.
bool LoadLayoutResources(const wxString& themesFolder);

// Creates the main window from the layout "MyFrame1" and initialises it, not
// yet shown. Null when the loaded layouts hold no such window or it lacks a
// control the window needs; `missing` then says which.
GifFrame* CreateMainWindow(wxString* missing = nullptr);
