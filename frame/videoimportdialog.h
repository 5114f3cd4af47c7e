#pragma once

#include "video/video_clip.h"

#include <wx/dialog.h>

class wxSpinCtrlDouble;
class wxSpinDoubleEvent;
class wxStaticBitmap;
class wxStaticText;

// The part of a clip and the rate last confirmed with OK; the dialog starts
// from them for the next clip.
struct VideoImportSetting {
    long long fromMs = 0;
    long long toMs = -1; // -1: the clip's end
    double fps = 0;      // 0: none chosen yet, the rate the current delay plays
};
extern VideoImportSetting g_videoImportSetting;

// Asks which part of a clip to take and at what rate, showing the clip's
// first frame and how many frames the choice makes.
class VideoImportDialog : public wxDialog {
public:
    // `delayCs` is the window's current delay, which suggests the rate.
    VideoImportDialog(wxWindow* parent, const VideoClipPtr& clip, int delayCs);

    // What OK confirmed: the clip's range name for the loader
    // (decode/video_frame_name.h), and the rate chosen.
    wxString RangeName() const;
    double Fps() const;
    // How many frames the controls' choice makes.
    int FrameCount() const;

    wxSpinCtrlDouble* m_from = nullptr;
    wxSpinCtrlDouble* m_to = nullptr;
    wxSpinCtrlDouble* m_fps = nullptr;
    wxStaticText* m_count = nullptr;
    wxStaticBitmap* m_firstFrame = nullptr;

private:
    void CreateControls(int delayCs);
    long long FromMs() const;
    long long ToMs() const;
    void OnChange(wxSpinDoubleEvent& event);
    void OnOk(wxCommandEvent& event);
    void ShowCount();

    VideoClipPtr m_clip;

    wxDECLARE_EVENT_TABLE();
};
