#include "window/worksaveasgifthread.h"

#include "window/worker_events.h"
#include "io/atomic_file.h"
#include "encode/gif_pipeline.h"
#include "encode/gif_prepare_frame.h"
#include "sizing/gif_fit_summary.h"
#include "sizing/size_limit.h"
#include "io/trace.h"
#include "video/video_clip.h"

#include <wx/intl.h>

#include <atomic>
#include <cstdint>
#include <utility>

namespace {
const int kPercent = 100;
} // namespace

WorkSaveAsGifThread::WorkSaveAsGifThread(wxEvtHandler* handler, std::vector<SaveFrame> frames,
                                         const wxString& path, const GifEncodeSettings& settings,
                                         std::shared_ptr<std::atomic<bool>> stop, const GifFitOptions& fit)
    : wxThread(wxTHREAD_DETACHED),
      m_handler(handler),
      m_frames(std::move(frames)),
      m_settings(settings),
      m_fit(fit),
      m_stop(std::move(stop)),
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

    std::atomic<bool>& cancel = *m_stop;
    // The first frame that did not decode stops the save.
    std::atomic<std::size_t> failed{SIZE_MAX};
    const wxSize outputSize(m_settings.width, m_settings.height);
    const GifFrameSupplier supply = [&](std::size_t index) {
        const FrameSourcePtr& source = m_frames[index].source;
        wxImage picture;
        if (source)
            picture = source->Decode(IsClipFrameSource(*source) ? outputSize
                                                                  : PreparedDecodeSize(source->GetSize(), outputSize));
        if (!picture.IsOk()) {
            std::size_t none = SIZE_MAX;
            failed.compare_exchange_strong(none, index);
            cancel = true;
        }
        return picture;
    };
    const GifProgress progress = [&](std::size_t written) {
        PostProgress(static_cast<int>(kPercent * written / m_frames.size()));
        if (TestDestroy())
            cancel = true;
    };

    wxString error;
    if (m_fit.limit > 0) {
        const bool written = WriteFitted(supply, cancel, error);
        if (!written && failed.load() != SIZE_MAX)
            error = wxString::Format(_("frame %d (%s) could not be read"), static_cast<int>(failed.load() + 1),
                                     m_frames[failed.load()].name);
        else if (!written && cancel.load())
            error = CancelledMessage();
        PostFinished(written, error);
        return 0;
    }
    const bool written = WriteFileAtomically(
        m_path,
        [&](wxOutputStream& out) {
            return EncodeGifAnimation(out, m_frames.size(), supply, m_settings, progress, &cancel);
        },
        &error);
    if (!written && failed.load() != SIZE_MAX) {
        const std::size_t index = failed.load();
        error = wxString::Format(_("frame %d (%s) could not be read"), static_cast<int>(index + 1),
                                 m_frames[index].name);
    } else if (!written && cancel.load()) {
        error = CancelledMessage();
    }
    if (!written && error.empty())
        error = _("the frames could not be written");
    PostFinished(written, error);
    return 0;
}

bool WorkSaveAsGifThread::WriteFitted(const GifFrameSupplier& supply, std::atomic<bool>& cancel, wxString& report)
{
    const GifFitProgress progress = [&](int percent) {
        PostProgress(percent);
        if (TestDestroy())
            cancel = true;
    };
    const GifFitResult fit = FitGifUnderLimit(m_frames.size(), supply, m_settings, m_fit, m_path, progress, &cancel);
    if (fit.outcome == GifFitOutcome::NothingFits) {
        report = wxString::Format(_("No GIF of these frames fits under %s, even at quality %d, the smallest size "
                                    "and the fewest frames allowed. Nothing was written."),
                                  FormatFileSize(m_fit.limit, _("bytes")), kGifMinQuality);
        return false;
    }
    if (fit.outcome == GifFitOutcome::Unwritable) {
        report = fit.error;
        return false;
    }
    if (fit.outcome != GifFitOutcome::Fits) {
        report = _("the frames could not be written");
        return false;
    }
    // TRANSLATORS: status bar after a save under a size limit, e.g. "Saved 1.9 MB under 2.0 MB: quality 62, 480x360"
    report = wxString::Format(_("Saved %s under %s: %s"),
                              FormatFileSize(fit.fileSize, _("bytes")),
                              FormatFileSize(m_fit.limit, _("bytes")), GifFitSummary(m_settings, fit, m_frames.size()));
    return true;
}

wxString WorkSaveAsGifThread::CancelledMessage()
{
    return _("the save was cancelled");
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
