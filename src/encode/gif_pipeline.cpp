#include "encode/gif_pipeline.h"

#include "format/gif_format.h"

#include "encode/gif_blocks.h"
#include "encode/gif_frame_delta.h"
#include "encode/gif_lzw.h"
#include "encode/gif_prepare_frame.h"
#include "palette/gif_reduce_colours.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Frames prepared ahead of the writer, per worker: enough to keep every
// worker busy while the writer writes, few enough that memory stays near
// the size of a handful of frames.
constexpr std::size_t kFramesAheadPerWorker = 2;
// The GIF format stores sizes in 16 bits.
// Delays are written in hundredths of a second, the writer takes milliseconds.
constexpr int kMillisecondsPerDelayUnit = 10;

constexpr int kLossyFromQuality = 80;
constexpr double kLossyDistancePerPoint = 0.25;

// What the quality setting turns into.
struct QualityChoices {
    GifReduceOptions reduce;
    int changeThreshold = 0;
    // How far (RGB distance) lossy compression may move a pixel's colour; 0 keeps them.
    double lossyDistance = 0;
};

QualityChoices ChoicesFor(int quality, bool fast)
{
    quality = std::clamp(quality, kGifMinQuality, kGifMaxQuality);
    QualityChoices choices;
    // Full palettes down to 80, then fewer colours: a tenth of the palette per 8 points.
    choices.reduce.maxColours = quality >= 80 ? kGifMaxColours : std::max(8, kGifMaxColours * (quality + 20) / 100);
    choices.reduce.dither = 0.5f * quality / kGifMaxQuality;
    choices.reduce.fast = fast;
    // Sources that move by less than this per channel count as unchanged.
    choices.changeThreshold = (kGifMaxQuality - quality) / 10;
    // Lossy compression from 79 down: at 45 colours move by up to 8.75, which
    // shrank photos by a fifth for little loss (docs/performance.md); at 80
    // and above it cost more in look than it saved.
    choices.lossyDistance = std::max(0, kLossyFromQuality - quality) * kLossyDistancePerPoint;
    // Screen content takes the global table when it is nearly as good as its
    // own, or good enough anyway: 67 dB PSNR at 100, 64 dB at 85. A table of
    // its own costs up to 768 bytes, which on the screen set outweighed the
    // 0.06 dB it gained.
    choices.reduce.sharedTolerance = 1.0 + double(kGifMaxQuality - quality) / kGifMaxQuality;
    const double floorDecibels = 47.0 + quality / 5.0;
    choices.reduce.sharedMeanSquaredError = 255.0 * 255.0 / std::pow(10.0, floorDecibels / 10.0);
    return choices;
}

// Compressed data handed from a worker to the writer while it is made.
class DataParts {
public:
    void Add(std::vector<std::uint8_t>&& part)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_parts.push_back(std::move(part));
        m_changed.notify_all();
    }

    void Finish()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
        m_changed.notify_all();
    }

    // Waits for the next part; false once every part was taken.
    bool Next(std::vector<std::uint8_t>& part)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_finished || !m_parts.empty(); });
        if (m_parts.empty())
            return false;
        part = std::move(m_parts.front());
        m_parts.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<std::uint8_t>> m_parts;
    bool m_finished = false;
};

// A lock and a condition for workers that wait on each other and on the
// writer, and a stop that wakes them all.
class WaitingRoom {
public:
    void Stop()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
        m_changed.notify_all();
    }

protected:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stopped = false;
};

// Each frame's prepared pixels, kept until the frame after it has compared
// its own with them: a pixel whose source is the one before keeps what the
// viewer shows, so the colour reduction need not dither it. Frames larger
// than this are not kept, so that memory stays near the frames in flight.
constexpr std::size_t kStillFromMaxPixels = 3840 * 2160;

class PreviousSources : public WaitingRoom {
public:
    using Pixels = std::shared_ptr<const std::vector<std::uint8_t>>;

    // Frame `index`'s pixels for the frame after it; null when it has none.
    void Put(std::size_t index, Pixels pixels)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.emplace(index, std::move(pixels));
        m_changed.notify_all();
    }

    // Waits for the pixels of the frame before `index` and takes them; null
    // when it had none or the run stopped.
    Pixels TakeBefore(std::size_t index)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_frames.count(index - 1) > 0; });
        const auto found = m_frames.find(index - 1);
        if (found == m_frames.end())
            return nullptr;
        Pixels pixels = std::move(found->second);
        m_frames.erase(found);
        return pixels;
    }

private:
    std::map<std::size_t, Pixels> m_frames;
};

// One per pixel of `now`: 1 where it equals `before`.
std::vector<std::uint8_t> StillPixels(const std::uint8_t* now, const std::vector<std::uint8_t>& before)
{
    std::vector<std::uint8_t> still(before.size() / 3);
    for (std::size_t p = 0; p < still.size(); ++p)
        still[p] = std::memcmp(now + p * 3, before.data() + p * 3, 3) == 0;
    return still;
}

// A frame with a single way of writing it goes to the writer before it is
// compressed, and its data in parts of this size: a frame of 100 megapixels
// of noise makes over 100 MB of data, which then is never held whole.
constexpr std::size_t kDataPartBytes = std::size_t(1) << 20;

// A frame compressed and ready to write.
struct EncodedFrame {
    bool ok = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool localTable = false;
    std::vector<GifRgb> table; // the local table, or the global one for the first frame
    int maskIndex = -1;
    std::vector<std::uint8_t> data; // LZW image data
    std::shared_ptr<DataParts> parts; // the data, when it comes in parts
};

// Hands frame indices to the workers in order, at most `window` ahead of the
// writer, and the finished frames back to the writer in order.
class FrameQueue : public WaitingRoom {
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

    void Put(std::size_t index, EncodedFrame&& frame)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Slot& slot = m_slots[index % m_window];
        slot.frame = std::move(frame);
        slot.ready = true;
        m_changed.notify_all();
    }

    // Waits for frame `index` and takes it out; false when the run stopped.
    bool Get(std::size_t index, EncodedFrame& frame)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        Slot& slot = m_slots[index % m_window];
        m_changed.wait(lock, [&] { return m_stopped || slot.ready; });
        if (m_stopped)
            return false;
        frame = std::move(slot.frame);
        slot.frame = EncodedFrame();
        slot.ready = false;
        return true;
    }

    void Written(std::size_t count)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_written = count;
        m_changed.notify_all();
    }

private:
    struct Slot {
        EncodedFrame frame;
        bool ready = false;
    };

    const std::size_t m_count;
    const std::size_t m_window;
    std::vector<Slot> m_slots;
    std::size_t m_next = 0;
    std::size_t m_written = 0;
};

// The shown picture a frame is planned against is the one the frame before
// left: the workers take turns with it in frame order. Planning is one quick
// pass over the pixels; reduction and compression run in parallel around it.
class ShownPictureTurns : public WaitingRoom {
public:
    // Waits for the turn of frame `index`; false when the run stopped.
    bool Wait(std::size_t index)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_next == index; });
        return !m_stopped;
    }

    // Passes the picture on to the next frame; a frame that failed leaves
    // it unusable for every later one.
    void Done(bool ok)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_broken = m_broken || !ok;
        ++m_next;
        m_changed.notify_all();
    }

    // Only for the worker whose turn it is.
    GifShownPicture& Picture() { return m_picture; }

    // The global colour table once the first frame has chosen it; it does
    // not change afterwards. Null when the run stopped or the first frame failed.
    const std::vector<GifRgb>* WaitForGlobalTable()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_next > 0; });
        return m_stopped || m_broken ? nullptr : &m_picture.globalTable;
    }
    bool Broken() const { return m_broken; }

private:
    GifShownPicture m_picture;
    std::size_t m_next = 0;
    bool m_broken = false;
};

// A written frame placed where the plan puts it, its data still to come.
EncodedFrame PlacedFrame(const GifFramePlan& plan)
{
    EncodedFrame frame;
    frame.ok = true;
    frame.left = plan.left;
    frame.top = plan.top;
    frame.width = plan.width;
    frame.height = plan.height;
    return frame;
}

// Compresses the plan with each table it offers and keeps the smaller;
// `usedGlobal` tells which. Lossy compression changes the plan's indices.
EncodedFrame Compress(GifFramePlan& plan, bool first, const std::vector<GifRgb>* globalTable, double lossyDistance,
                      bool& usedGlobal)
{
    EncodedFrame frame = PlacedFrame(plan);
    usedGlobal = false;
    const auto compress = [&](std::vector<std::uint8_t>& indices, const std::vector<GifRgb>& table, int mask,
                              std::vector<std::uint8_t>& out) {
        const int minimumCodeSize = GifLzwMinimumCodeSize(int(table.size()));
        GifLzwLossy lossy = GifLzwLossyFor(table, mask, lossyDistance);
        lossy.under = plan.under.empty() ? nullptr : plan.under.data();
        lossy.loose = plan.flags.empty() ? nullptr : plan.flags.data();
        GifLzwCompressLossy(indices.data(), indices.size(), minimumCodeSize, lossy, out);
    };
    if (!plan.localIndices.empty()) {
        compress(plan.localIndices, plan.localTable, plan.localMask, frame.data);
        frame.localTable = !first;
        frame.table = std::move(plan.localTable);
        frame.maskIndex = plan.localMask;
    }
    if (plan.hasGlobal) {
        std::vector<std::uint8_t> data;
        compress(plan.globalIndices, *globalTable, plan.globalMask, data);
        const std::size_t tableBytes =
            frame.localTable ? std::size_t(3) << GifBitsPerPixel(int(frame.table.size())) : 0;
        if (frame.data.empty() || data.size() <= frame.data.size() + tableBytes) {
            frame.data = std::move(data);
            frame.localTable = false;
            frame.table.clear();
            frame.maskIndex = plan.globalMask;
            usedGlobal = true;
        }
    }
    return frame;
}

// Compress for a plan with its own table only, handing the frame to the
// writer first and then its data in parts.
void CompressInParts(GifFramePlan& plan, bool first, FrameQueue& queue, std::size_t index)
{
    EncodedFrame frame = PlacedFrame(plan);
    frame.localTable = !first;
    frame.table = plan.localTable;
    frame.maskIndex = plan.localMask;
    const std::shared_ptr<DataParts> parts = std::make_shared<DataParts>();
    frame.parts = parts;
    queue.Put(index, std::move(frame));
    const int minimumCodeSize = GifLzwMinimumCodeSize(int(plan.localTable.size()));
    GifLzwLossy lossy = GifLzwLossyFor(plan.localTable, plan.localMask, 0);
    lossy.under = plan.under.empty() ? nullptr : plan.under.data();
    lossy.loose = plan.flags.empty() ? nullptr : plan.flags.data();
    GifLzwCompressLossyInParts(plan.localIndices.data(), plan.localIndices.size(), minimumCodeSize, lossy,
                               kDataPartBytes, [&](std::vector<std::uint8_t>& bytes) { parts->Add(std::move(bytes)); });
    parts->Finish();
}

struct WorkerSetup {
    std::size_t count;
    wxSize size;
    QualityChoices choices;
};

void EncodeFrames(FrameQueue& queue, ShownPictureTurns& turns, PreviousSources& previous,
                  const GifFrameSupplier& supply, const WorkerSetup& setup)
{
    wxImage work;
    std::size_t index = 0;
    const std::size_t pixels = std::size_t(setup.size.GetWidth()) * std::size_t(setup.size.GetHeight());
    const bool keepSources = pixels <= kStillFromMaxPixels;
    const std::size_t bytes = pixels * 3;
    while (queue.Take(index)) {
        wxImage prepared = PrepareGifFrame(supply(index), work, setup.size);
        if (index + 1 < setup.count)
            previous.Put(index, keepSources && prepared.IsOk() ? std::make_shared<const std::vector<std::uint8_t>>(
                                                                     prepared.GetData(), prepared.GetData() + bytes)
                                                               : nullptr);
        GifReduceOptions options = setup.choices.reduce;
        std::vector<std::uint8_t> still;
        if (index > 0) {
            options.shared = [&turns] { return turns.WaitForGlobalTable(); };
            const PreviousSources::Pixels before = previous.TakeBefore(index);
            if (before && prepared.IsOk()) {
                still = StillPixels(prepared.GetData(), *before);
                options.still = still.data();
            }
        }
        GifIndexedFrame reduced;
        bool ok = prepared.IsOk() && GifReduceToIndexed(prepared, reduced, nullptr, options);
        still = std::vector<std::uint8_t>();
        if (!turns.Wait(index))
            return;
        GifFramePlan plan;
        ok = ok && !turns.Broken();
        const bool first = index == 0;
        const bool keepShown = index + 1 < setup.count;
        // The global table does not change after the first frame, so reading
        // it outside the turn is safe.
        const std::vector<GifRgb>* globalTable = first ? nullptr : &turns.Picture().globalTable;
        // Lossy compression decides what the viewer shows, which the next
        // frame's plan needs: it runs in the turn.
        const bool lossy = setup.choices.lossyDistance > 0;
        EncodedFrame frame;
        bool usedGlobal = false;
        if (ok) {
            plan = PlanGifFrame(prepared.GetData(), reduced, turns.Picture(), first, keepShown,
                                setup.choices.changeThreshold, lossy);
            if (lossy) {
                frame = Compress(plan, first, globalTable, setup.choices.lossyDistance, usedGlobal);
                GifApplyFramePlan(plan, usedGlobal ? plan.globalIndices.data() : plan.localIndices.data(),
                                  usedGlobal ? *globalTable : frame.table, frame.maskIndex, prepared.GetData(),
                                  setup.size.GetWidth(), turns.Picture(), first, keepShown);
            }
        }
        turns.Done(ok);
        prepared = wxImage();
        reduced = GifIndexedFrame();
        if (ok && !lossy && !plan.hasGlobal && !plan.localIndices.empty()) {
            CompressInParts(plan, first, queue, index);
            continue;
        }
        if (ok && !lossy)
            frame = Compress(plan, first, globalTable, 0, usedGlobal);
        queue.Put(index, ok ? std::move(frame) : EncodedFrame());
    }
}

bool WriteFrame(const EncodedFrame& frame, int delayMs)
{
    if (!GifWriteControl(frame.maskIndex, delayMs, true) ||
        !GifWriteImageDescriptor(frame.left, frame.top, frame.width, frame.height,
                                 frame.localTable ? frame.table.data() : nullptr, int(frame.table.size())))
        return false;
    if (!frame.parts)
        return GifWriteBytes(frame.data.data(), frame.data.size());
    std::vector<std::uint8_t> part;
    while (frame.parts->Next(part))
        if (!GifWriteBytes(part.data(), part.size()))
            return false;
    return true;
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
    ShownPictureTurns turns;
    PreviousSources previous;
    const WorkerSetup setup{count, wxSize(settings.width, settings.height), ChoicesFor(settings.quality, settings.fast)};

    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < workers; ++i)
        threads.emplace_back(EncodeFrames, std::ref(queue), std::ref(turns), std::ref(previous), std::cref(supply),
                             std::cref(setup));

    CurrentGifStream = &out;
    bool ok = true;
    for (std::size_t index = 0; ok && index < count; ++index) {
        EncodedFrame frame;
        ok = !(cancel && cancel->load()) && queue.Get(index, frame) && frame.ok &&
             (index > 0 || GifWriteHeader(settings.width, settings.height, frame.table.data(),
                                          int(frame.table.size()), settings.loopCount)) &&
             WriteFrame(frame, FrameDelayMs(settings, index)) && (index + 1 < count || GifWriteTrailer());
        frame = EncodedFrame();
        queue.Written(index + 1);
        if (ok && progress)
            progress(index + 1);
    }
    CurrentGifStream = nullptr;
    queue.Stop();
    turns.Stop();
    previous.Stop();
    for (std::thread& thread : threads)
        thread.join();
    return ok;
}
