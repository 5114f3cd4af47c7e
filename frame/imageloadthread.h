#pragma once

#include "decode/frame_loader.h"
#include "window/worker_events.h"

#include <wx/arrstr.h>
#include <wx/image.h>
#include <wx/thread.h>

#include <atomic>
#include <memory>
#include <vector>

class GifFrame;

// Loads frames off the main thread and hands each one to the main window in
// an EVT_THREAD_UPDATE event with id ID_IMAGE_LOAD_THREAD: int = progress in
// percent, extra long = frame index inside a GIF file, string = the file's
// path, client data = the frame (LoadedFrame* with a thumbnail fitting
// `thumbnailSize`, owned by the receiver). The load
// always ends with an event carrying 100, with no frame when the last entry
// yielded none. With `delays` (one per path) each frame carries its path's
// delay in place of a GIF frame's own. Detached: deletes itself when done.
class ImageLoadThread : public wxThread {
public:
    // Setting `stop` ends the load after the frame in hand, as Cancel does.
    ImageLoadThread(GifFrame* frame, const wxArrayString& paths, const wxSize& thumbnailSize,
                    std::shared_ptr<std::atomic<bool>> stop, const std::vector<int>& delays = {});
    ~ImageLoadThread() override;

protected:
    ExitCode Entry() override;

private:
    void Post(int progress, const wxString& path, LoadedFrame* frame);
    bool Stopping() { return TestDestroy() || m_stop->load(); }

    GifFrame* m_frame;
    wxArrayString m_paths;
    wxSize m_thumbnailSize;
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::vector<int> m_delays;
    // The frame loaded last, held back until it is known whether it is the
    // last one of the load. Owned by this thread until posted.
    LoadedFrame* m_held = nullptr;
};
