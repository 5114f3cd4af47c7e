#include "encode/gif_pipeline.h"

#include "format/gif_format.h"

#include "encode/gif_gifhandler.h"
#include "encode/gif_prepare_frame.h"
#include "palette/gif_reduce_colours.h"

#include <wx/mstream.h>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Frames prepared ahead of the writer, per worker: enough to keep every
// worker busy while the writer compresses, few enough that memory stays near
// the size of a handful of frames.
constexpr std::size_t kFramesAheadPerWorker = 2;
// The GIF format stores sizes in 16 bits.
// Delays are written in hundredths of a second, the writer takes milliseconds.
constexpr int kMillisecondsPerDelayUnit = 10;

// Hands frame indices to the workers in order, at most `window` ahead of the
// writer, and the finished frames back to the writer in order.
class FrameQueue {
public:
    FrameQueue(std::size_t count, std::size_t window) : m_count(count), m_window(window), m_slots(window) {}

    // The next index to prepare, or false when there is none (or the run stops).
    bool Take(std::size_t& index)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_next >= m_count || m_next < m_written + m_window; });
        if (m_stopped || m_next >= m_count)
            return false;
        index = m_next++;
        return true;
    }

    // Takes `frame` over. wxImage shares its data with a reference count
    // that is not atomic, so the worker's reference is dropped under the lock.
    void Put(std::size_t index, wxImage& frame)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Slot& slot = m_slots[index % m_window];
        slot.frame = frame;
        frame = wxImage();
        slot.ready = true;
        m_changed.notify_all();
    }

    // Waits for frame `index` and takes it out; false when the run stopped.
    bool Get(std::size_t index, wxImage& frame)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        Slot& slot = m_slots[index % m_window];
        m_changed.wait(lock, [&] { return m_stopped || slot.ready; });
        if (m_stopped)
            return false;
        frame = slot.frame;
        slot.frame = wxImage();
        slot.ready = false;
        return true;
    }

    void Written(std::size_t count)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_written = count;
        m_changed.notify_all();
    }

    void Stop()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
        m_changed.notify_all();
    }

private:
    struct Slot {
        wxImage frame;
        bool ready = false;
    };

    const std::size_t m_count;
    const std::size_t m_window;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Slot> m_slots;
    std::size_t m_next = 0;
    std::size_t m_written = 0;
    bool m_stopped = false;
};

void PrepareFrames(FrameQueue& queue, const GifFrameSupplier& supply, const wxSize& size)
{
    wxImage work;
    std::size_t index = 0;
    while (queue.Take(index)) {
        wxImage prepared = PrepareGifFrame(supply(index), work, size);
        wxImage reduced = ReduceGifColours(prepared);
        queue.Put(index, reduced);
    }
}

// Writes one frame through the GIF writer into memory, then to `out` in one
// piece.
bool WriteFrame(wxOutputStream& out, const wxImage& frame, int delayMs, std::size_t count, std::size_t index,
                int plays)
{
    wxMemoryOutputStream bytes;
    CurrentGifStream = &bytes;
    MyGifHandler handler;
    const bool ok = GifWriteFrame(frame, handler, delayMs, int(count), int(index), plays);
    CurrentGifStream = nullptr;
    if (!ok)
        return false;
    const wxStreamBuffer& buffer = *bytes.GetOutputStreamBuffer();
    const std::size_t length = bytes.GetLength();
    out.Write(buffer.GetBufferStart(), length);
    return out.LastWrite() == length;
}

bool AreSettingsAllowed(std::size_t count, const GifEncodeSettings& settings)
{
    if (count == 0 || count > std::size_t(INT_MAX) || !IsGifOutputSizeAllowed(settings.width, settings.height) ||
        settings.delayCs < 0 || settings.loopCount < 0 || settings.loopCount > kGifMaxPlays)
        return false;
    if (settings.delaysCs.empty())
        return true;
    return settings.delaysCs.size() == count &&
           std::none_of(settings.delaysCs.begin(), settings.delaysCs.end(), [](int delay) { return delay < 0; });
}

// The frame's delay in the writer's milliseconds; the file holds 16 bits of
// hundredths.
int FrameDelayMs(const GifEncodeSettings& settings, std::size_t index)
{
    const int delayCs = settings.delaysCs.empty() ? settings.delayCs : settings.delaysCs[index];
    return std::min(delayCs, kGifMaxField) * kMillisecondsPerDelayUnit;
}

} // namespace

bool IsGifOutputSizeAllowed(int width, int height)
{
    return width >= 1 && height >= 1 && width <= kGifMaxField && height <= kGifMaxField &&
           static_cast<long long>(width) * height <= kMaxGifOutputPixels;
}

bool EncodeGifAnimation(wxOutputStream& out, std::size_t count, const GifFrameSupplier& supply,
                        const GifEncodeSettings& settings, const GifProgress& progress,
                        const std::atomic<bool>* cancel)
{
    if (!AreSettingsAllowed(count, settings))
        return false;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(settings.threads ? settings.threads : cores, count);
    FrameQueue queue(count, workers * kFramesAheadPerWorker);
    const wxSize size(settings.width, settings.height);

    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < workers; ++i)
        threads.emplace_back(PrepareFrames, std::ref(queue), std::cref(supply), size);

    bool ok = true;
    for (std::size_t index = 0; ok && index < count; ++index) {
        wxImage frame;
        ok = !(cancel && cancel->load()) && queue.Get(index, frame) && frame.IsOk() &&
             WriteFrame(out, frame, FrameDelayMs(settings, index), count, index, settings.loopCount);
        frame = wxImage();
        queue.Written(index + 1);
        if (ok && progress)
            progress(index + 1);
    }
    queue.Stop();
    for (std::thread& thread : threads)
        thread.join();
    return ok;
}
