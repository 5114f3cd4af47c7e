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

// What the main window and a running load share.
struct ImageLoadControl {
    // Set by Cancel: the load ends after the frames in hand.
    std::atomic<bool> stop{false};
    // Frames posted and not yet handled by the window; the load waits while
    // many are, so a window slower than the decoders holds few frames.
    std::atomic<int> unhandled{0};
};

// Loads frames off the main thread, on every core, and hands each one to the
// main window in list order in an EVT_THREAD_UPDATE event with id
// ID_IMAGE_LOAD_THREAD: int = progress in percent, extra long = frame index
// inside a GIF file (a clip frame's time in milliseconds), string = the
// file's path (for a clip frame its name, "clip.mp4#t=1.5"), client data =
// the frame (LoadedFrame* with a thumbnail fitting `thumbnailSize`, owned by
// the receiver, which also counts it off `control->unhandled`). The load
// always ends with an event carrying 100, with no frame when the last entry
// yielded none. With `delays` (one per path) each frame carries its path's
// delay in place of its own. Detached: deletes itself when done.
class ImageLoadThread : public wxThread {
public:
    ImageLoadThread(GifFrame* frame, const wxArrayString& paths, const wxSize& thumbnailSize,
                    std::shared_ptr<ImageLoadControl> control, const std::vector<int>& delays = {});
    ~ImageLoadThread() override;

protected:
    ExitCode Entry() override;

private:
    // A frame that has arrived, held back until it is known whether it is
    // the last one of the load. Owned by this thread until posted.
    struct Held {
        int entry = 0;
        int ordinal = 0; // among its entry's frames, from 0
        wxString name;
        LoadedFrame* frame = nullptr;
    };
    void PostHeld(bool lastOfLoad);
    void Post(int progress, const wxString& path, LoadedFrame* frame);
    bool Stopping() { return TestDestroy() || m_control->stop.load(); }

    GifFrame* m_frame;
    std::vector<wxString> m_paths;
    wxSize m_thumbnailSize;
    std::shared_ptr<ImageLoadControl> m_control;
    std::vector<int> m_delays;
    Held m_held;
};
