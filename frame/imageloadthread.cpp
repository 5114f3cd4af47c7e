#include "imageloadthread.h"

#include "gifframe.h"
#include "rules/load_progress.h"
#include "decode/gif_frame_name.h"
#include "video/video_loader.h"
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

#include <utility>


namespace {
// Elapsed, estimated and remaining time and a Cancel button; only the main
// window is disabled while the dialog is shown.
constexpr int kLoadProgressStyle =
    wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME | wxPD_CAN_ABORT;

// How long a close that cannot be refused waits for a running load to end.
constexpr long kLoadEndWaitMs = 30000;

// wxString storage must not be shared between threads.
wxString DeepCopy(const wxString& text)
{
    return wxString::FromUTF8(text.utf8_str());
}
} // namespace

ImageLoadThread::ImageLoadThread(GifFrame* frame, const wxArrayString& paths, const wxSize& thumbnailSize,
                                 std::shared_ptr<std::atomic<bool>> stop, const std::vector<int>& delays)
    : wxThread(wxTHREAD_DETACHED),
      m_frame(frame),
      m_thumbnailSize(thumbnailSize),
      m_stop(std::move(stop)),
      m_delays(delays)
{
    for (const wxString& path : paths)
        m_paths.Add(DeepCopy(path));
}

ImageLoadThread::~ImageLoadThread()
{
    delete m_held;
}

void ImageLoadThread::Post(int progress, const wxString& path, LoadedFrame* frame)
{
    auto* event = new wxCommandEvent(EVT_THREAD_UPDATE, ID_IMAGE_LOAD_THREAD);
    event->SetInt(progress);
    event->SetExtraLong(frame ? frame->frameIndex : 0);
    event->SetString(DeepCopy(path));
    event->SetClientData(frame);
    wxQueueEvent(m_frame->GetEventHandler(), event);
}

wxThread::ExitCode ImageLoadThread::Entry()
{
    wxLogNull noLog;
    const int count = static_cast<int>(m_paths.size());
    bool completed = false;
    for (int i = 0; i < count && !Stopping(); ++i) {
        const wxString path = GifFrameSourcePath(m_paths[i]);
        if (!wxFileExists(path))
            continue;
        const bool wholeGif = GifFrameNumberFromName(m_paths[i]) < 0 && HasGifExtension(path);
        const wxSize box = m_thumbnailSize;
        // Each frame is posted when the next one arrives, so that the last
        // frame of the load is known when it goes out.
        LoadMediaFrames(
            m_paths[i], [box](const wxSize& full) { return FitThumbnailSize(full, box); },
            [&](LoadedFrame&& frame) {
                if (m_held)
                    Post(LoadProgress(i, count, wholeGif, false), path, m_held);
                m_held = new LoadedFrame(std::move(frame));
                // The thumbnail's data crosses to the main thread: no
                // reference to it may stay here.
                if (m_held->thumbnail.IsOk())
                    m_held->thumbnail = m_held->thumbnail.Copy();
                if (static_cast<size_t>(i) < m_delays.size())
                    m_held->delayCs = m_delays[static_cast<size_t>(i)];
                return !Stopping();
            });
        if (m_held) {
            const bool last = i == count - 1;
            Post(LoadProgress(i, count, wholeGif, last), path, m_held);
            m_held = nullptr;
            completed = last;
        }
    }
    // Whatever the last entry gave, the main window learns that the load is over.
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
    m_loadStop = std::make_shared<std::atomic<bool>>(false);
    auto* thread = new ImageLoadThread(this, paths, m_thumbnail_ctrl->GetThumbnailSize(), m_loadStop, delays);
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
            m_loadStop->store(true);
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
    if (m_loadProgress) {
        m_loadProgress->Destroy();
        m_loadProgress = nullptr;
    }
    FinishLoadStep();
}
