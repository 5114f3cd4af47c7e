#pragma once

#include "encode/gif_pipeline.h"
#include "window/save_frames.h"

#include "window/worker_events.h"

#include <wx/event.h>
#include <wx/string.h>
#include <wx/thread.h>

#include <vector>

class wxThumbnailCtrl;

// What an EVT_THREAD_UPDATE event of the save thread reports, in its extra
// long. Progress events carry the percentage of frames written in their int;
// the one finished event carries 1 in its int when the file was written, else
// 0 and the reason in its string.
enum SaveThreadEventKind : long {
    SAVE_EVENT_PROGRESS = 0,
    SAVE_EVENT_FINISHED = 1,
};

// Writes the frame list as one animated GIF without blocking the window. The
// frames' pixel buffers are collected on the main thread when the thread is
// made; the body reads only those, never a bitmap or the strip. The file is
// written beside its place and moved there only when every frame was written,
// so a failed save leaves an earlier file as it was.
class WorkSaveAsGifThread : public wxThread {
public:
    // `settings` hold the output size, the delays, the loop count and the
    // quality; the thread keeps a copy.
    WorkSaveAsGifThread(wxEvtHandler* handler, const wxThumbnailCtrl* thumbnails, const wxString& path,
                        const GifEncodeSettings& settings);
    ~WorkSaveAsGifThread() override;

    int GetFrameCount() const { return m_count; }

protected:
    ExitCode Entry() override;

private:
    void PostProgress(int percent);
    void PostFinished(bool written, const wxString& error);

    wxEvtHandler* m_handler;
    int m_count;
    std::vector<FramePixels> m_frames;
    GifEncodeSettings m_settings;
    wxString m_path;
};
