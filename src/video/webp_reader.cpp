#include "webp_reader.h"

#include "decode/gif_decode.h"
#include "decode/picture_loader.h"
#include "decode/picture_scale.h"
#include "decode/webp_decode.h"

#include <webp/demux.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One frame: at most a walk through the whole animation from its start.
constexpr int kFrameSeconds = 20;
// Bytes 20..23 of a WebP file with a VP8X chunk hold its flags.
constexpr std::size_t kFlagsOffset = 20;

bool ReadWholeFile(const std::string& file, std::vector<uint8_t>& bytes, wxString* why)
{
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) {
        *why = "the file cannot be read";
        return false;
    }
    bool read = std::fseek(f, 0, SEEK_END) == 0;
    const long long size = read ? std::ftell(f) : -1;
    read = read && size >= 0 && size <= kMaxPictureFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (read) {
        bytes.resize(static_cast<std::size_t>(size));
        read = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    if (!read)
        *why = size > kMaxPictureFileBytes ? "the file is too large" : "the file cannot be read";
    return read;
}

struct DemuxerFree {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
struct AnimDecoderFree {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

class CanvasFrame : public ShownFrame {
public:
    CanvasFrame(const uint8_t* rgba, const wxSize& size) : m_rgba(rgba), m_size(size) {}
    wxImage Convert(const wxSize& atLeast) const override
    {
        const wxImage full = PictureFromRgba(m_rgba, m_size);
        if (atLeast.x <= 0 && atLeast.y <= 0)
            return full;
        const double factor = std::max(double(atLeast.x) / m_size.x, double(atLeast.y) / m_size.y);
        if (factor >= 1)
            return full;
        return ScaleByAveraging(full, std::max(1, int(m_size.x * factor + 0.999)),
                                std::max(1, int(m_size.y * factor + 0.999)));
    }

private:
    const uint8_t* m_rgba;
    wxSize m_size;
};

class WebPReader : public ClipReader {
public:
    bool Setup(const std::string& file, wxString* why);

    const ClipInfo& Info() const override { return m_info; }
    std::unique_ptr<ShownFrame> FrameAt(long long ms, const PassedFrame& passed) override;
    // Every frame is built on the one before it: none can be left out.
    void SetNeeded(NeededSpan) override {}

private:
    // Decodes the next frame onto the canvas; false at the end or on a frame
    // that does not decode.
    bool Next();

    std::vector<uint8_t> m_bytes;
    std::unique_ptr<WebPAnimDecoder, AnimDecoderFree> m_decoder;
    std::vector<long long> m_ends; // where each frame stops being shown
    ClipInfo m_info;
    int m_shown = -1; // the frame on the canvas
    uint8_t* m_canvas = nullptr;
};

bool WebPReader::Setup(const std::string& file, wxString* why)
{
    if (!ReadWholeFile(file, m_bytes, why))
        return false;
    const WebPData data = {m_bytes.data(), m_bytes.size()};
    // The demuxer checks the whole file's structure and tells the canvas size
    // before the decoder allocates a canvas of that size.
    const std::unique_ptr<WebPDemuxer, DemuxerFree> demuxer(WebPDemux(&data));
    if (!demuxer) {
        *why = "the WebP file is damaged";
        return false;
    }
    const long long width = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_WIDTH);
    const long long height = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_HEIGHT);
    if (width <= 0 || height <= 0 || width * height > kMaxPicturePixels) {
        *why = "the frames are too large";
        return false;
    }
    // As in a GIF, frames after the most a file may hold are dropped.
    WebPIterator frame;
    long long end = 0;
    if (WebPDemuxGetFrame(demuxer.get(), 1, &frame)) {
        do {
            end += std::max(0, frame.duration);
            m_ends.push_back(end);
        } while (m_ends.size() < static_cast<std::size_t>(kMaxGifFrames) && WebPDemuxNextFrame(&frame));
        WebPDemuxReleaseIterator(&frame);
    }
    if (m_ends.empty()) {
        *why = "the clip holds no video frame";
        return false;
    }

    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) {
        *why = "the WebP decoder cannot be used";
        return false;
    }
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    m_decoder.reset(WebPAnimDecoderNew(&data, &options));
    if (!m_decoder) {
        *why = "the WebP file is damaged";
        return false;
    }
    m_info.size = wxSize(static_cast<int>(width), static_cast<int>(height));
    m_info.endMs = std::max(1LL, m_ends.back());
    if (!Next()) {
        *why = "no frame of the clip decodes";
        return false;
    }
    return true;
}

bool WebPReader::Next()
{
    if (m_shown + 1 >= static_cast<int>(m_ends.size()) || !WebPAnimDecoderHasMoreFrames(m_decoder.get()))
        return false;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(m_decoder.get(), &m_canvas, &timestamp)) {
        m_canvas = nullptr;
        return false;
    }
    ++m_shown;
    return true;
}

std::unique_ptr<ShownFrame> WebPReader::FrameAt(long long ms, const PassedFrame& passed)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kFrameSeconds);
    // The first frame that is still shown at `ms` (frames of no duration are
    // never shown); past the end, the last.
    const auto wanted = std::upper_bound(m_ends.begin(), m_ends.end(), std::max(0LL, ms));
    const int target = wanted == m_ends.end() ? static_cast<int>(m_ends.size()) - 1
                                              : static_cast<int>(wanted - m_ends.begin());
    if (!m_canvas || target < m_shown) {
        WebPAnimDecoderReset(m_decoder.get());
        m_shown = -1;
        m_canvas = nullptr;
        if (!Next())
            return nullptr;
    }
    while (m_shown < target) {
        if (passed) {
            const long long from = m_shown > 0 ? m_ends[m_shown - 1] : 0;
            if (from < m_ends[m_shown])
                passed(CanvasFrame(m_canvas, m_info.size), from, m_ends[m_shown]);
        }
        if (!Next() || std::chrono::steady_clock::now() > deadline) {
            // The decoder's state after a failed frame is not to be trusted.
            m_canvas = nullptr;
            return nullptr;
        }
    }
    return std::make_unique<CanvasFrame>(m_canvas, m_info.size);
}

} // namespace

bool LooksLikeAnimatedWebP(const unsigned char* data, std::size_t size)
{
    return size > kFlagsOffset && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBPVP8X", 8) == 0
           && (data[kFlagsOffset] & ANIMATION_FLAG) != 0;
}

std::unique_ptr<ClipReader> OpenWebPReader(const std::string& file, wxString* why)
{
    auto reader = std::make_unique<WebPReader>();
    if (!reader->Setup(file, why))
        return nullptr;
    return reader;
}
