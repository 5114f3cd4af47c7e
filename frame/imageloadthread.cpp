#include "imageloadthread.h"

#include "gifframe.h"
#include "rules/load_progress.h"
#include "decode/gif_frame_name.h"
#include "decode/video_frame_name.h"
#include "video/list_loader.h"
#include "video/video_selection.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "window/thumbnaillayout.h"
#include "io/trace.h"

#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <algorithm>
#include <utility>


namespace {
// Elapsed, estimated and remaining time and a Cancel button; only the main
// window is disabled while the dialog is shown.
constexpr int kLoadProgressStyle =
    wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME | wxPD_CAN_ABORT;

// How long a close that cannot be refused waits for a running load to end.
constexpr long kLoadEndWaitMs = 30000;

// How many frames the window may have been sent and not yet shown.
constexpr int kUnhandledFrames = 32;
// How many decoded frames may wait beyond the entry being delivered.
constexpr std::size_t kFramesAhead = 16;

// wxString storage must not be shared between threads.
wxString DeepCopy(const wxString& text)
{
    return wxString::FromUTF8(text.utf8_str());
}

bool IsClipName(const wxString& entry, ClipName& clip)
{
    return ParseClipName(entry, clip) && !wxFileExists(entry);
}

// The frames a clip range entry is expected to give; 0 for other entries.
int ExpectedClipFrames(const wxString& entry)
{
    ClipName clip;
    if (!IsClipName(entry, clip) || clip.fps <= 0 || clip.toMs < 0)
        return 0;
    return static_cast<int>(ClipFrameTimes(clip.fromMs, clip.toMs, clip.fps, clip.toMs).size());
}

// The name the strip shows for a frame of `entry`: a clip frame's own name,
// or the picture's file (a GIF frame's number is added by its item).
wxString FrameName(const wxString& entry, const LoadedFrame& frame)
{
    ClipName clip;
    if (IsClipName(entry, clip))
        return ClipFrameName(clip.file, frame.frameIndex);
    return GifFrameSourcePath(entry);
}
} // namespace

ImageLoadThread::ImageLoadThread(GifFrame* frame, const wxArrayString& paths, const wxSize& thumbnailSize,
                                 std::shared_ptr<ImageLoadControl> control, const std::vector<int>& delays)
    : wxThread(wxTHREAD_DETACHED),
      m_frame(frame),
      m_thumbnailSize(thumbnailSize),
      m_control(std::move(control)),
      m_delays(delays)
{
    for (const wxString& path : paths)
        m_paths.push_back(DeepCopy(path));
}

ImageLoadThread::~ImageLoadThread()
{
    delete m_held.frame;
}

void ImageLoadThread::Post(int progress, const wxString& path, LoadedFrame* frame)
{
    auto* event = new wxCommandEvent(EVT_THREAD_UPDATE, ID_IMAGE_LOAD_THREAD);
    event->SetInt(progress);
    event->SetExtraLong(frame ? frame->frameIndex : 0);
    event->SetString(DeepCopy(path));
    event->SetClientData(frame);
    if (frame)
        ++m_control->unhandled;
    wxQueueEvent(m_frame->GetEventHandler(), event);
}

void ImageLoadThread::PostHeld(bool lastOfLoad)
{
    const int count = static_cast<int>(m_paths.size());
    const wxString& entry = m_paths[static_cast<std::size_t>(m_held.entry)];
    const int clipFrames = ExpectedClipFrames(entry);
    const bool wholeGif = GifFrameNumberFromName(entry) < 0 && HasGifExtension(GifFrameSourcePath(entry));
    const int progress = clipFrames > 0
                             ? ClipLoadProgress(m_held.entry, count, m_held.ordinal + 1, clipFrames, lastOfLoad)
                             : LoadProgress(m_held.entry, count, wholeGif, lastOfLoad);
    Post(progress, m_held.name, m_held.frame);
    m_held = Held();
}

wxThread::ExitCode ImageLoadThread::Entry()
{
    wxLogNull noLog;
    const int count = static_cast<int>(m_paths.size());
    const wxSize box = m_thumbnailSize;
    ListLoadLimits limits;
    limits.workers = static_cast<unsigned>(std::max(1, wxThread::GetCPUCount()));
    limits.framesAhead = kFramesAhead;
    limits.stopping = [this] { return Stopping(); };
    int lastEntry = -1;
    int ordinal = 0;
    // Each frame is posted when the next one arrives, so that the last frame
    // of the load is known when it goes out.
    LoadListInOrder(
        m_paths, [box](const wxSize& full) { return FitThumbnailSize(full, box); }, limits,
        [&](int entry, LoadedFrame&& frame) {
            ordinal = entry == lastEntry ? ordinal + 1 : 0;
            lastEntry = entry;
            if (m_held.frame)
                PostHeld(false);
            auto* held = new LoadedFrame(std::move(frame));
            // The thumbnail's data crosses to the main thread: no reference
            // to it may stay with the worker that made it.
            if (held->thumbnail.IsOk())
                held->thumbnail = held->thumbnail.Copy();
            if (static_cast<std::size_t>(entry) < m_delays.size())
                held->delayCs = m_delays[static_cast<std::size_t>(entry)];
            m_held = Held{entry, ordinal, FrameName(m_paths[static_cast<std::size_t>(entry)], *held), held};
            while (m_control->unhandled.load() >= kUnhandledFrames && !Stopping())
                wxMilliSleep(2);
            return true;
        });
    // Whatever the last entry gave, the main window learns that the load is over.
    const bool completed = m_held.frame && m_held.entry == count - 1;
    if (m_held.frame)
        PostHeld(completed);
    if (!completed)
        Post(kLoadComplete, wxString(), nullptr);
    return 0;
}

bool GifFrame::StartImageLoad(const wxArrayString& paths, bool recordProjectCount, const std::vector<int>& delays)
{
    if (paths.empty() || m_loadProgress)
        return false;
    if (!m_thumbnail_ctrl)
        return false;
    m_loadControl = std::make_shared<ImageLoadControl>();
    auto* thread = new ImageLoadThread(this, paths, m_thumbnail_ctrl->GetThumbnailSize(), m_loadControl, delays);
    if (thread->Create() != wxTHREAD_NO_ERROR) {
        delete thread;
        return false;
    }
    m_loadEnded = false;
    m_loadRecordsProjectCount = recordProjectCount;
    m_loadProgress = new wxProgressDialog(_("Load Images Progress Dialog"), _(" Loading images...."),
                                          kLoadComplete, this, kLoadProgressStyle);
    if (thread->Run() != wxTHREAD_NO_ERROR) {
        delete thread;
        m_loadProgress->Destroy();
        m_loadProgress = nullptr;
        return false;
    }
    return true;
}

void GifFrame::OnImageLoaded(wxCommandEvent& event)
{
    Trace("ThreadUpdate");
    if (auto* frame = static_cast<LoadedFrame*>(event.GetClientData())) {
        if (m_loadControl)
            --m_loadControl->unhandled;
        const int delay = NewFrameDelay(frame->delayCs);
        auto* item = new wxImageThumbnailItem(std::move(*frame), event.GetString());
        delete frame;
        // A refused item stays with us.
        if (!PlaceLoadedItem(item, delay))
            delete item;
    }
    if (event.GetInt() >= kLoadComplete)
        m_loadEnded = true;
    // Inside the dialog's own update the dialog is left alone; the outer
    // handler finishes the load once that update has returned.
    if (m_loadDialogUpdating)
        return;
    if (!m_loadEnded && m_loadProgress) {
        m_loadDialogUpdating = true;
        // Cancel stops the thread; the frames that arrived stay, and its
        // closing event ends the load.
        if (!m_loadProgress->Update(event.GetInt(), wxEmptyString))
            m_loadControl->stop.store(true);
        m_loadDialogUpdating = false;
    }
    if (m_loadEnded)
        EndImageLoad();
}

void GifFrame::WaitForImageLoad()
{
    wxStopWatch watch;
    while (m_loadProgress && watch.Time() < kLoadEndWaitMs) {
        wxTheApp->Yield(true);
        wxMilliSleep(1);
    }
}

void GifFrame::EndImageLoad()
{
    m_loadEnded = false;
    UpdateOutputSize();
    const int count = m_thumbnail_ctrl ? m_thumbnail_ctrl->GetCount() : 0;
    if (count > 0)
        ShowFrame(0);
    else
        DisableCommands();
    ShowSelectionDelay();
    if (m_loadRecordsProjectCount) {
        m_loadRecordsProjectCount = false;
        OnProjectLoadFinished();
    }
    m_loadClips.clear();
    if (m_loadProgress) {
        m_loadProgress->Destroy();
        m_loadProgress = nullptr;
    }
    FinishLoadStep();
}
