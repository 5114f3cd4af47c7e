#pragma once

#include "decode/frame_source.h"

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Decodes the frames the preview will show next on a thread of its own, so
// that playback keeps its timing when frames come from large files. Holds at
// most the frames last asked for, each decoded at the size it is drawn.
class PreviewReadAhead {
public:
    struct Wish {
        FrameSourcePtr source;
        wxSize atLeast;
    };

    PreviewReadAhead();
    ~PreviewReadAhead();
    PreviewReadAhead(const PreviewReadAhead&) = delete;
    PreviewReadAhead& operator=(const PreviewReadAhead&) = delete;

    // The frames to have ready next, in the order they will be shown; replaces
    // the previous wishes and forgets pictures no longer wished for.
    void Want(const std::vector<Wish>& upcoming);
    // The picture of `source` at `atLeast` when it is ready, handed over
    // (it leaves the cache); invalid when it is not ready yet.
    wxImage Take(const FrameSourcePtr& source, const wxSize& atLeast);

private:
    struct Entry {
        Wish wish;
        // Made by the worker, then moved only under the lock: no copy of it
        // is ever shared between threads.
        std::unique_ptr<wxImage> picture;
        // Decoded (or failed to), or handed over: the worker leaves it alone.
        bool done = false;
    };

    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Entry> m_entries;
    bool m_stop = false;
    std::thread m_worker;
};
