#pragma once

#include "encode/gif_pipeline.h"
#include "sizing/gif_size_fit.h"
#include "window/save_frames.h"

#include "window/worker_events.h"

#include <wx/event.h>
#include <wx/string.h>
#include <wx/thread.h>

#include <atomic>
#include <memory>
#include <vector>

class wxThumbnailCtrl;

// What an EVT_THREAD_UPDATE event of the save thread reports, in its extra
// long. Progress events carry the percentage of frames written in their int;
// the one finished event carries 1 in its int when the file was written, else
// 0 and the reason in its string (for a file fitted under a size limit, the
// string of a written file says what was changed).
enum SaveThreadEventKind : long {
    SAVE_EVENT_PROGRESS = 0,
    SAVE_EVENT_FINISHED = 1,
};

// Writes the frame list as one animated GIF without blocking the window. The
// frames' sources are collected on the main thread when the thread is made;
// the encoder's workers decode each frame from its source as it is needed,
// never touching a bitmap or the strip. The file is written beside its place
// and moved there only when every frame was written, so a failed save (a frame
// that no longer decodes) leaves an earlier file as it was.
class WorkSaveAsGifThread : public wxThread {
public:
    // `settings` hold the output size, the delays, the loop count and the
    // quality; the thread keeps a copy.
    // Setting `stop` abandons the save, as Cancel does. With a limit in
    // `fit` the file is fitted under it (FitGifUnderLimit) and the finished
    // event of a written file carries what was changed in its string; when
    // nothing fits, nothing is written and the string says so.
    WorkSaveAsGifThread(wxEvtHandler* handler, std::vector<SaveFrame> frames, const wxString& path,
                        const GifEncodeSettings& settings, std::shared_ptr<std::atomic<bool>> stop,
                        const GifFitOptions& fit = {});
    ~WorkSaveAsGifThread() override;

    int GetFrameCount() const { return m_count; }
    // The reason a save stopped by `stop` gives, when nothing else failed.
    static wxString CancelledMessage();

protected:
    ExitCode Entry() override;

private:
    void PostProgress(int percent);
    void PostFinished(bool written, const wxString& error);
    // Writes the file fitted under m_fit.limit; false with `error` set when
    // it was not written.
    bool WriteFitted(const GifFrameSupplier& supply, std::atomic<bool>& cancel, wxString& report);

    wxEvtHandler* m_handler;
    int m_count;
    std::vector<SaveFrame> m_frames;
    GifEncodeSettings m_settings;
    GifFitOptions m_fit;
    std::shared_ptr<std::atomic<bool>> m_stop;
    wxString m_path;
};
