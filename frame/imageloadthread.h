#pragma once

#include "window/worker_events.h"

#include <wx/arrstr.h>
#include <wx/image.h>
#include <wx/thread.h>

#include <vector>

class GifFrame;

// Decodes pictures off the main thread and hands each one to the main window
// in an EVT_THREAD_UPDATE event with id ID_IMAGE_LOAD_THREAD: int = progress
// in percent, extra long = frame index inside a GIF file, string = the file's
// path, client data = the picture (wxImage*, owned by the receiver). The load
// always ends with an event carrying 100, with no picture when the last entry
// yielded none. With `delays` (one per path) each picture carries its path's
// delay as kPictureDelayOption, in place of a GIF frame's own. Detached:
// deletes itself when done.
class ImageLoadThread : public wxThread {
public:
    ImageLoadThread(GifFrame* frame, const wxArrayString& paths, const std::vector<int>& delays = {});
    ~ImageLoadThread() override;

protected:
    ExitCode Entry() override;

private:
    void Post(int progress, int frameIndex, const wxString& path, wxImage* picture);

    GifFrame* m_frame;
    wxArrayString m_paths;
    std::vector<int> m_delays;
    // The picture decoded last, held back until it is known whether it is the
    // last one of the load. Owned by this thread until posted.
    wxImage* m_image = nullptr;
};
