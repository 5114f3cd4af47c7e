#pragma once

#include <wx/app.h>

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

// Writes the compressed crash report and tells the user where it lies.
void GenerateCrashReport();
