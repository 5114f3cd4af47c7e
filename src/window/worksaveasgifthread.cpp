#include "window/worksaveasgifthread.h"

#include "window/worker_events.h"
#include "io/atomic_file.h"
#include "encode/gif_pipeline.h"
#include "io/trace.h"

#include <wx/intl.h>

#include <atomic>

namespace {
const int kPercent = 100;
} // namespace

WorkSaveAsGifThread::WorkSaveAsGifThread(wxEvtHandler* handler, const wxThumbnailCtrl* thumbnails,
                                         const wxString& path, const GifEncodeSettings& settings)
    : wxThread(wxTHREAD_DETACHED),
      m_handler(handler),
      m_frames(CollectSaveFrames(*thumbnails)),
      m_settings(settings),
      // A copy of its own, so that no string storage is shared with the window.
      m_path(path.wc_str())
{
    m_count = static_cast<int>(m_frames.size());
}

WorkSaveAsGifThread::~WorkSaveAsGifThread() = default;

wxThread::ExitCode WorkSaveAsGifThread::Entry()
{
    Trace("thread:");
    if (m_count == 0) {
        PostFinished(false, _("there are no frames to save"));
        return 0;
    }

    std::atomic<bool> cancel{false};
    const GifFrameSupplier supply = MakeFrameSupplier(m_frames);
    const GifProgress progress = [&](std::size_t written) {
        PostProgress(static_cast<int>(kPercent * written / m_frames.size()));
        if (TestDestroy())
            cancel = true;
    };

    wxString error;
    const bool written = WriteFileAtomically(
        m_path,
        [&](wxOutputStream& out) {
            return EncodeGifAnimation(out, m_frames.size(), supply, m_settings, progress, &cancel);
        },
        &error);
    if (!written && error.empty())
        error = _("the frames could not be written");
    PostFinished(written, error);
    return 0;
}

void WorkSaveAsGifThread::PostProgress(int percent)
{
    auto* event = new wxCommandEvent(EVT_THREAD_UPDATE, ID_SAVE_GIF_THREAD);
    event->SetExtraLong(SAVE_EVENT_PROGRESS);
    event->SetInt(percent);
    wxQueueEvent(m_handler, event);
}

void WorkSaveAsGifThread::PostFinished(bool written, const wxString& error)
{
    auto* event = new wxCommandEvent(EVT_THREAD_UPDATE, ID_SAVE_GIF_THREAD);
    event->SetExtraLong(SAVE_EVENT_FINISHED);
    event->SetInt(written ? 1 : 0);
    event->SetString(wxString(error.wc_str()));
    wxQueueEvent(m_handler, event);
}
