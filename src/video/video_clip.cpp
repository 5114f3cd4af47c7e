#include "video/video_clip.h"

#include "clip_reader.h"

#include <wx/ffile.h>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace {

// Frames kept for other threads: enough for every worker of a save to find
// the frame it asks for just after another worker's request went past it,
// without holding much of a long clip.
constexpr size_t kKeptBytes = 96 * 1024 * 1024;

// A clip is too large to hash whole each time a decoder opens it; its size,
// time and both ends tell a replaced file from the one added.
constexpr size_t kHashedEdgeBytes = 64 * 1024;

bool TakeFingerprint(const wxString& path, FileFingerprint& fingerprint)
{
    if (!StatFile(path, fingerprint))
        return false;
    wxFFile file(path, "rb");
    if (!file.IsOpened())
        return false;
    std::vector<unsigned char> edges(std::min<long long>(fingerprint.size, kHashedEdgeBytes));
    if (file.Read(edges.data(), edges.size()) != edges.size())
        return false;
    const long long tail = std::max<long long>(0, fingerprint.size - static_cast<long long>(kHashedEdgeBytes));
    std::vector<unsigned char> end(static_cast<size_t>(fingerprint.size - tail));
    if (!file.Seek(tail) || file.Read(end.data(), end.size()) != end.size())
        return false;
    edges.insert(edges.end(), end.begin(), end.end());
    fingerprint.contentHash = HashBytes(edges.data(), edges.size());
    return true;
}

bool SameFingerprint(const FileFingerprint& a, const FileFingerprint& b)
{
    return a.size == b.size && a.modified == b.modified && a.contentHash == b.contentHash;
}

} // namespace

struct VideoClip::Private {
    std::mutex mutex;
    std::string file; // as the file system spells it
    std::unique_ptr<ClipReader> decoder;
    FileFingerprint fingerprint;
    std::set<long long> expected;
    long long lastWantedMs = -1; // the time the decoder last went to

    struct Kept {
        long long ms;
        wxSize atLeast;
        wxImage picture;
    };
    std::deque<Kept> kept;
    size_t keptBytes = 0;

    static size_t Bytes(const wxImage& picture)
    {
        return static_cast<size_t>(picture.GetWidth()) * picture.GetHeight() * 3;
    }

    // A frame shown in [fromMs, untilMs) on the way to `wantedMs` is kept for
    // the expected times in that span that were skipped: another worker asked
    // for them, or will. Times at or before the last one gone to were asked
    // for already.
    void KeepPassed(const ShownFrame& frame, long long fromMs, long long untilMs, long long wantedMs,
                    const wxSize& atLeast)
    {
        for (auto t = expected.lower_bound(std::max(fromMs, lastWantedMs + 1));
             t != expected.end() && *t < untilMs && *t < wantedMs; ++t) {
            wxImage picture = frame.Convert(atLeast);
            if (!picture.IsOk() || Bytes(picture) > kKeptBytes)
                return;
            while (!kept.empty() && keptBytes + Bytes(picture) > kKeptBytes) {
                keptBytes -= Bytes(kept.front().picture);
                kept.pop_front();
            }
            keptBytes += Bytes(picture);
            kept.push_back(Kept{*t, atLeast, picture});
        }
    }

    wxImage TakeKept(long long ms, const wxSize& atLeast)
    {
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->ms != ms || it->atLeast != atLeast)
                continue;
            // The only reference leaves the cache with the caller.
            wxImage picture = it->picture;
            keptBytes -= Bytes(picture);
            kept.erase(it);
            return picture;
        }
        return wxImage();
    }
};

VideoClip::VideoClip(const wxString& path, std::unique_ptr<Private> state)
    : m_path(path.wc_str()), m_state(std::move(state))
{
    m_info = m_state->decoder->Info();
}

VideoClip::~VideoClip() = default;

VideoClipPtr VideoClip::Open(const wxString& path, wxString* why)
{
    // One VideoClip per file for as long as frames refer to it.
    static std::mutex registryMutex;
    static std::map<std::wstring, std::weak_ptr<VideoClip>> registry;
    const std::wstring key = path.ToStdWstring();

    std::lock_guard<std::mutex> lock(registryMutex);
    for (auto it = registry.begin(); it != registry.end();)
        it = it->second.expired() ? registry.erase(it) : std::next(it);
    auto found = registry.find(key);
    if (found != registry.end()) {
        VideoClipPtr open = found->second.lock();
        FileFingerprint now;
        if (open && TakeFingerprint(path, now) && SameFingerprint(now, open->m_state->fingerprint))
            return open;
    }

    auto state = std::make_unique<Private>();
    if (!TakeFingerprint(path, state->fingerprint)) {
        if (why)
            *why = "the file cannot be read";
        return nullptr;
    }
    state->file = std::string(path.fn_str());
    state->decoder = OpenClipReader(state->file, why);
    if (!state->decoder)
        return nullptr;
    VideoClipPtr clip(new VideoClip(path, std::move(state)));
    registry[key] = clip;
    return clip;
}

wxImage VideoClip::FrameAt(long long ms, const wxSize& atLeast) const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    wxImage kept = m_state->TakeKept(ms, atLeast);
    if (kept.IsOk())
        return kept;
    if (!m_state->decoder) {
        FileFingerprint now;
        if (!TakeFingerprint(m_path, now) || !SameFingerprint(now, m_state->fingerprint))
            return wxImage();
        // The end is known: a decoder that failed is replaced without reading
        // the whole file again.
        m_state->decoder = OpenClipReader(m_state->file, nullptr, m_info.endMs);
        m_state->lastWantedMs = -1;
        if (!m_state->decoder)
            return wxImage();
    } else if (!IsIntact()) {
        return wxImage();
    }
    m_state->decoder->SetNeeded([this, ms](long long fromMs, long long untilMs) {
        // Frame times are rounded to the millisecond: a reader takes the frame
        // that starts up to a millisecond after a wanted time as the one shown
        // then. A frame ending where a wanted time starts is not needed (at
        // 10 a second from 30, a third of the frames).
        constexpr long long kToleranceMs = 1;
        const auto shown = [&](long long t) { return t + 2 * kToleranceMs >= fromMs && t + kToleranceMs < untilMs; };
        if (shown(ms))
            return true;
        const auto t = m_state->expected.lower_bound(fromMs - 2 * kToleranceMs);
        return t != m_state->expected.end() && shown(*t);
    });
    const std::unique_ptr<ShownFrame> frame = m_state->decoder->FrameAt(
        ms, [&](const ShownFrame& passed, long long fromMs, long long untilMs) {
            m_state->KeepPassed(passed, fromMs, untilMs, ms, atLeast);
        });
    m_state->lastWantedMs = ms;
    if (!frame) {
        // A decoder that failed may be in any state: the next call opens afresh.
        m_state->decoder.reset();
        return wxImage();
    }
    return frame->Convert(atLeast);
}

void VideoClip::ExpectFrames(const std::vector<long long>& times)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->expected.insert(times.begin(), times.end());
}

bool VideoClip::IsIntact() const
{
    FileFingerprint now;
    return StatFile(m_path, now) && now.size == m_state->fingerprint.size
           && now.modified == m_state->fingerprint.modified;
}

namespace {

class ClipFrameSource : public FrameSource {
public:
    ClipFrameSource(const VideoClipPtr& clip, long long ms) : m_clip(clip), m_ms(ms) {}

    wxSize GetSize() const override { return m_clip->Info().size; }
    wxImage Decode(const wxSize& atLeast) const override { return m_clip->FrameAt(m_ms, atLeast); }
    bool IsIntact() const override { return m_clip->IsIntact(); }

private:
    const VideoClipPtr m_clip;
    const long long m_ms;
};

} // namespace

FrameSourcePtr MakeClipFrameSource(const VideoClipPtr& clip, long long ms)
{
    return std::make_shared<ClipFrameSource>(clip, ms);
}

bool IsClipFrameSource(const FrameSource& source)
{
    return dynamic_cast<const ClipFrameSource*>(&source) != nullptr;
}

bool LooksLikeVideoClip(const unsigned char* data, std::size_t size)
{
    return LooksLikeClipFile(data, size);
}

bool IsVideoClip(const wxString& path)
{
    unsigned char head[kClipSniffBytes];
    wxFFile file(path, "rb");
    return file.IsOpened() && LooksLikeVideoClip(head, file.Read(head, sizeof head));
}
