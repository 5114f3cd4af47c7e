#pragma once

#include "encode/gif_pipeline.h"
#include "sizing/gif_size_estimate.h"
#include "window/save_frames.h"

#include <wx/event.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// What the estimate worker reports, as the payload of an EVT_SIZE_ESTIMATE
// event: the request it answers and, when `ok`, the estimate.
struct SizeEstimateReport {
    unsigned request = 0;
    bool ok = false;
    GifSizeEstimate estimate;
};
wxDECLARE_EVENT(EVT_SIZE_ESTIMATE, wxThreadEvent);

// Estimates the size of the GIF a save would write, on a thread of its own
// so that the window never waits: a new request abandons the one running.
// The frames' sources are collected on the main thread; the worker decodes
// from them and touches no window or bitmap.
class SizeEstimateWorker {
public:
    explicit SizeEstimateWorker(wxEvtHandler* handler);
    // Abandons the estimate running and waits for the thread (at most the
    // time of the frames being encoded).
    ~SizeEstimateWorker();
    SizeEstimateWorker(const SizeEstimateWorker&) = delete;
    SizeEstimateWorker& operator=(const SizeEstimateWorker&) = delete;

    // Starts estimating, abandoning what runs or waits; returns the number
    // the report will carry.
    unsigned Request(std::vector<SaveFrame> frames, const GifEncodeSettings& settings);
    // Abandons what runs or waits; no report follows.
    void Cancel();

private:
    struct Job {
        unsigned request;
        std::vector<SaveFrame> frames;
        GifEncodeSettings settings;
    };
    void Run();

    wxEvtHandler* m_handler;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_pending;
    unsigned m_requests = 0;
    bool m_quit = false;
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};
