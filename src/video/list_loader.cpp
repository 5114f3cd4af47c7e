#include "video/list_loader.h"

#include "decode/video_frame_name.h"
#include "video/video_clip.h"
#include "video/video_loader.h"

#include <wx/filefn.h>
#include <wx/log.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// How often a waiting delivery looks at the stop check.
constexpr auto kStopPoll = std::chrono::milliseconds(20);

// wxString's storage must not be shared between threads.
wxString DeepCopy(const wxString& text)
{
    return wxString::FromUTF8(text.utf8_str());
}

bool IsClipFrameName(const wxString& name, ClipName& clip)
{
    return ParseClipName(name, clip) && clip.fps <= 0 && !wxFileExists(name);
}

class ListLoad {
public:
    ListLoad(const std::vector<wxString>& names, const ThumbnailSizeRule& thumbnailSize, const ListLoadLimits& limits)
        : m_names(names), m_thumbnailSize(thumbnailSize), m_limits(limits), m_units(ListLoadUnits(names)),
          m_queues(m_units.size())
    {
    }

    void Run(const ListFrameSink& sink)
    {
        std::vector<std::thread> workers;
        const unsigned count = std::max(1u, std::min<unsigned>(m_limits.workers, m_units.size()));
        for (unsigned i = 0; i < count; ++i)
            workers.emplace_back([this] { Work(); });
        Deliver(sink);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_space.notify_all();
        for (std::thread& worker : workers)
            worker.join();
    }

private:
    struct Arrival {
        int entry;
        LoadedFrame frame;
    };
    struct Queue {
        std::deque<Arrival> arrivals;
        bool done = false;
    };

    bool Stopping() const { return m_limits.stopping && m_limits.stopping(); }

    void Deliver(const ListFrameSink& sink)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (std::size_t unit = 0; unit < m_units.size(); ++unit) {
            // The unit's frames no longer wait ahead: its worker runs freely.
            m_head = unit;
            m_ahead -= m_queues[unit].arrivals.size();
            m_space.notify_all();
            for (;;) {
                Queue& queue = m_queues[unit];
                if (queue.arrivals.empty() && queue.done)
                    break;
                if (queue.arrivals.empty()) {
                    m_arrived.wait_for(lock, kStopPoll);
                    if (Stopping())
                        return;
                    continue;
                }
                Arrival arrival = std::move(queue.arrivals.front());
                queue.arrivals.pop_front();
                lock.unlock();
                const bool more = sink(arrival.entry, std::move(arrival.frame)) && !Stopping();
                lock.lock();
                if (!more)
                    return;
            }
        }
    }

    void Work()
    {
        wxLogNull noLog;
        for (;;) {
            std::vector<wxString> names;
            std::size_t unit = 0;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_stop || m_nextUnit >= m_units.size())
                    return;
                unit = m_nextUnit++;
                for (int entry = m_units[unit].first; entry < m_units[unit].second; ++entry)
                    names.push_back(DeepCopy(m_names[static_cast<std::size_t>(entry)]));
            }
            Load(unit, names);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_queues[unit].done = true;
            }
            m_arrived.notify_all();
        }
    }

    void Load(std::size_t unit, const std::vector<wxString>& names)
    {
        // A run of one clip's frames keeps the clip, and its decoder's place,
        // open from one frame to the next.
        VideoClipPtr clip;
        ClipName first;
        if (names.size() > 1 && IsClipFrameName(names.front(), first))
            clip = VideoClip::Open(first.file);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const int entry = m_units[unit].first + static_cast<int>(i);
            bool more = true;
            LoadMediaFrames(names[i], m_thumbnailSize, [&](LoadedFrame&& frame) {
                more = Push(unit, entry, std::move(frame));
                return more;
            });
            if (!more)
                return;
        }
    }

    bool Push(std::size_t unit, int entry, LoadedFrame&& frame)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_space.wait(lock, [&] { return m_stop || unit == m_head || m_ahead < m_limits.framesAhead; });
        if (m_stop)
            return false;
        m_queues[unit].arrivals.push_back(Arrival{entry, std::move(frame)});
        if (unit != m_head)
            ++m_ahead;
        lock.unlock();
        m_arrived.notify_all();
        return true;
    }

    const std::vector<wxString>& m_names;
    const ThumbnailSizeRule& m_thumbnailSize;
    const ListLoadLimits& m_limits;
    const std::vector<std::pair<int, int>> m_units;

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::condition_variable m_space;
    std::vector<Queue> m_queues;
    std::size_t m_nextUnit = 0;
    std::size_t m_head = 0;
    std::size_t m_ahead = 0; // frames waiting in the queues after the head's
    bool m_stop = false;
};

} // namespace

std::vector<std::pair<int, int>> ListLoadUnits(const std::vector<wxString>& names)
{
    wxLogNull noLog;
    std::vector<std::pair<int, int>> units;
    const int count = static_cast<int>(names.size());
    for (int i = 0; i < count;) {
        int end = i + 1;
        ClipName clip;
        if (IsClipFrameName(names[static_cast<std::size_t>(i)], clip)) {
            ClipName next;
            while (end < count && IsClipFrameName(names[static_cast<std::size_t>(end)], next) && next.file == clip.file)
                ++end;
        }
        units.emplace_back(i, end);
        i = end;
    }
    return units;
}

void LoadListInOrder(const std::vector<wxString>& names, const ThumbnailSizeRule& thumbnailSize,
                     const ListLoadLimits& limits, const ListFrameSink& sink)
{
    if (names.empty())
        return;
    ListLoad(names, thumbnailSize, limits).Run(sink);
}
