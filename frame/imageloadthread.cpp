#include "imageloadthread.h"

#include "gifframe.h"
#include "rules/load_progress.h"
#include "decode/gif_frame_name.h"
#include "decode/picture_loader.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "io/trace.h"

#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>


namespace {
// Elapsed, estimated and remaining time; no Cancel button, and only the main
// window is disabled while the dialog is shown.
constexpr int kLoadProgressStyle = wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME;

// How long a close that cannot be refused waits for a running load to end.
constexpr long kLoadEndWaitMs = 30000;

// wxString storage must not be shared between threads.
wxString DeepCopy(const wxString& text)
{
    return wxString::FromUTF8(text.utf8_str());
}
} // namespace

ImageLoadThread::ImageLoadThread(GifFrame* frame, const wxArrayString& paths, const std::vector<int>& delays)
    : wxThread(wxTHREAD_DETACHED), m_frame(frame), m_delays(delays)
{
    for (const wxString& path : paths)
        m_paths.Add(DeepCopy(path));
}

ImageLoadThread::~ImageLoadThread()
{
    delete m_image;
}

void ImageLoadThread::Post(int progress, int frameIndex, const wxString& path, wxImage* picture)
{
    auto* event = new wxCommandEvent(EVT_THREAD_UPDATE, ID_IMAGE_LOAD_THREAD);
    event->SetInt(progress);
    event->SetExtraLong(frameIndex);
    event->SetString(DeepCopy(path));
    event->SetClientData(picture);
    wxQueueEvent(m_frame->GetEventHandler(), event);
}

wxThread::ExitCode ImageLoadThread::Entry()
{
    wxLogNull noLog;
    const int count = static_cast<int>(m_paths.size());
    bool completed = false;
    for (int i = 0; i < count && !TestDestroy(); ++i) {
        const wxString path = GifFrameSourcePath(m_paths[i]);
        if (!wxFileExists(path))
            continue;
        const bool wholeGif = GifFrameNumberFromName(m_paths[i]) < 0 && HasGifExtension(path);
        int heldFrame = 0;
        // Each picture is posted when the next one arrives, so that the last
        // picture of the load is known when it goes out.
        LoadPictures(m_paths[i], [&](wxImage&& picture, int frameIndex) {
            if (m_image)
                Post(LoadProgress(i, count, wholeGif, false), heldFrame, path, m_image);
            // Take the picture over without leaving a second reference to its
            // data on this thread.
            m_image = new wxImage(picture);
            picture.Destroy();
            if (static_cast<size_t>(i) < m_delays.size())
                m_image->SetOption(kPictureDelayOption, m_delays[static_cast<size_t>(i)]);
            heldFrame = frameIndex;
            return !TestDestroy();
        });
        if (m_image) {
            const bool last = i == count - 1;
            Post(LoadProgress(i, count, wholeGif, last), heldFrame, path, m_image);
            m_image = nullptr;
            completed = last;
        }
    }
    // Whatever the last entry gave, the main window learns that the load is over.
    if (!completed)
        Post(kLoadComplete, 0, wxString(), nullptr);
    return 0;
}

bool GifFrame::StartImageLoad(const wxArrayString& paths, bool recordProjectCount, const std::vector<int>& delays)
{
    if (paths.empty() || m_loadProgress)
        return false;
    auto* thread = new ImageLoadThread(this, paths, delays);
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
    if (auto* picture = static_cast<wxImage*>(event.GetClientData())) {
        const int delay = NewFrameDelay(*picture);
        auto* item = new wxImageThumbnailItem(picture, static_cast<int>(event.GetExtraLong()),
                                              event.GetString());
        // A refused item stays with us.
        if (!m_thumbnail_ctrl || m_thumbnail_ctrl->Append(item, delay) < 0)
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
        m_loadProgress->Update(event.GetInt(), wxEmptyString);
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
}
