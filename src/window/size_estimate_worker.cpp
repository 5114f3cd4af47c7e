#include "window/size_estimate_worker.h"

#include "encode/gif_prepare_frame.h"
#include "video/video_clip.h"

#include <utility>

wxDEFINE_EVENT(EVT_SIZE_ESTIMATE, wxThreadEvent);

SizeEstimateWorker::SizeEstimateWorker(wxEvtHandler* handler) : m_handler(handler), m_thread([this] { Run(); })
{
}

SizeEstimateWorker::~SizeEstimateWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
        m_pending.reset();
        m_cancel = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

unsigned SizeEstimateWorker::Request(std::vector<SaveFrame> frames, const GifEncodeSettings& settings)
{
    unsigned request = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        request = ++m_requests;
        m_pending = Job{request, std::move(frames), settings};
        m_cancel = true;
    }
    m_wake.notify_one();
    return request;
}

void SizeEstimateWorker::Cancel()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_requests;
    m_pending.reset();
    m_cancel = true;
}

void SizeEstimateWorker::Run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_pending; });
            if (m_quit)
                return;
            job = std::move(*m_pending);
            m_pending.reset();
            m_cancel = false;
        }
        const wxSize outputSize(job.settings.width, job.settings.height);
        const GifFrameSupplier supply = [&](std::size_t index) {
            const FrameSourcePtr& source = job.frames[index].source;
            if (!source)
                return wxImage();
            // Decoded as a save decodes them, so that the estimate is of its file.
            return source->Decode(IsClipFrameSource(*source) ? outputSize
                                                             : PreparedDecodeSize(source->GetSize(), outputSize));
        };
        SizeEstimateReport report;
        report.request = job.request;
        report.ok = EstimateGifSize(job.frames.size(), supply, job.settings, report.estimate, &m_cancel);
        job.frames.clear();
        std::lock_guard<std::mutex> lock(m_mutex);
        // A newer request or Cancel makes this answer stale.
        if (m_cancel || m_quit || job.request != m_requests)
            continue;
        auto* event = new wxThreadEvent(EVT_SIZE_ESTIMATE);
        event->SetPayload(report);
        wxQueueEvent(m_handler, event);
    }
}
