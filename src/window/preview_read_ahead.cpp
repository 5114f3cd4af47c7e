#include "window/preview_read_ahead.h"

#include <wx/log.h>

#include <algorithm>

namespace {

bool SameWish(const PreviewReadAhead::Wish& a, const PreviewReadAhead::Wish& b)
{
    return a.source == b.source && a.atLeast == b.atLeast;
}

} // namespace

PreviewReadAhead::PreviewReadAhead() : m_worker(&PreviewReadAhead::Run, this) {}

PreviewReadAhead::~PreviewReadAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void PreviewReadAhead::Want(const std::vector<Wish>& upcoming)
{
    std::vector<Entry> entries;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Wish& wish : upcoming) {
            if (!wish.source)
                continue;
            Entry entry;
            entry.wish = wish;
            auto kept = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& old) {
                return old.picture && SameWish(old.wish, wish);
            });
            if (kept != m_entries.end()) {
                entry.picture = std::move(kept->picture);
                entry.done = true;
            }
            entries.push_back(std::move(entry));
        }
        m_entries.swap(entries);
    }
    m_wake.notify_all();
    // The pictures no longer wished for are freed here, outside the lock.
}

wxImage PreviewReadAhead::Take(const FrameSourcePtr& source, const wxSize& atLeast)
{
    std::unique_ptr<wxImage> picture;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Entry& entry : m_entries)
            if (entry.picture && SameWish(entry.wish, {source, atLeast})) {
                picture = std::move(entry.picture);
                break;
            }
    }
    return picture ? *picture : wxImage();
}

void PreviewReadAhead::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        auto next = m_entries.end();
        m_wake.wait(lock, [&] {
            next = std::find_if(m_entries.begin(), m_entries.end(), [](const Entry& entry) { return !entry.done; });
            return m_stop || next != m_entries.end();
        });
        if (m_stop)
            return;
        const Wish wish = next->wish;
        lock.unlock();
        std::unique_ptr<wxImage> picture;
        {
            wxLogNull noLog;
            picture = std::make_unique<wxImage>(wish.source->Decode(wish.atLeast));
        }
        lock.lock();
        // The wishes may have changed meanwhile: the picture goes to the
        // first entry still waiting for it, or nowhere.
        for (Entry& entry : m_entries)
            if (!entry.done && SameWish(entry.wish, wish)) {
                entry.done = true;
                if (picture->IsOk())
                    entry.picture = std::move(picture);
                break;
            }
    }
}
