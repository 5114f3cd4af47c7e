#include "clip_decoder.h"

#include "clip_sniff.h"

#include "decode/picture_loader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

// Opening reads every packet of the file once to find where the frames end
// (a truncated file or a lying header would otherwise promise frames that do
// not exist); a long clip on a slow disk needs time for that.
constexpr int kOpenSeconds = 60;
// One frame: at most a seek and a group of pictures decoded.
constexpr int kFrameSeconds = 20;
// What the demuxer may read and how many streams it may set up while it
// reads the header; a clip has a few.
constexpr int64_t kProbeBytes = 4 * 1024 * 1024;
constexpr int kMaxStreams = 64;
// Frame times are rounded to the millisecond.
constexpr long long kToleranceMs = 1;
// How far the decoding time of a key frame may run ahead of its showing time.
constexpr long long kIndexAheadMs = 500;
// Without an index of key frames, decoding forward beats seeking up to this far.
constexpr long long kWalkWithoutIndexMs = 3000;
// Bytes the converter may write past a picture's last row besides a row.
constexpr size_t kConverterSlack = 64;
// Spans of frames left out that are remembered: more than the frames a
// decoder holds between receiving a packet and giving its frame.
constexpr std::size_t kMaxSkippedSpans = 256;
// Packets that fail to decode one after another before the stream counts as ended.
constexpr int kMaxBadPackets = 100;
// How far before a wanted time a seek aims when a seek lands after it (key
// frames are indexed by decoding time, which runs ahead of showing time);
// the last try reads from the start.
const long long kSeekMarginsMs[] = {0, 500, 3000, -1};

// The decoders of the codecs phones, screen recorders, cameras and the web use;
// nothing else of the library's hundreds of decoders sees a user's file.
const AVCodecID kVideoCodecs[] = {AV_CODEC_ID_H264, AV_CODEC_ID_HEVC,  AV_CODEC_ID_VP8,   AV_CODEC_ID_VP9,
                                  AV_CODEC_ID_AV1,  AV_CODEC_ID_MPEG4, AV_CODEC_ID_MJPEG, AV_CODEC_ID_PRORES,
                                  AV_CODEC_ID_QTRLE};

bool IsReadCodec(AVCodecID id)
{
    return std::find(std::begin(kVideoCodecs), std::end(kVideoCodecs), id) != std::end(kVideoCodecs);
}

int OnInterrupt(void* opaque)
{
    const auto* interrupt = static_cast<const ClipDecoder::Interrupt*>(opaque);
    return std::chrono::steady_clock::now() > interrupt->deadline ? 1 : 0;
}

// The libraries print to stderr by default; a broken clip is reported by
// the program instead.
void QuietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// pts - zero in milliseconds, saturating instead of overflowing on hostile
// timestamps.
long long RescaleToMs(long long pts, long long zero, AVRational timeBase)
{
    long long delta = 0;
    if (__builtin_sub_overflow(pts, zero, &delta))
        return pts < zero ? -(1LL << 60) : (1LL << 60);
    const long double ms = static_cast<long double>(delta) * timeBase.num * 1000 / timeBase.den;
    return static_cast<long long>(std::clamp<long double>(std::round(ms), -(1LL << 60), 1LL << 60));
}

} // namespace

ClipDecoder::~ClipDecoder()
{
    sws_freeContext(m_scaler);
    av_frame_free(&m_current);
    av_frame_free(&m_next);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
}

std::unique_ptr<ClipDecoder> ClipDecoder::Open(const std::string& file, wxString* why, long long endMs)
{
    QuietLibraries();
    std::unique_ptr<ClipDecoder> decoder(new ClipDecoder);
    if (!decoder->Setup(file, why, endMs))
        return nullptr;
    return decoder;
}

void ClipDecoder::StartDeadline(int seconds)
{
    m_interrupt.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
}

bool ClipDecoder::TimedOut() const
{
    return std::chrono::steady_clock::now() > m_interrupt.deadline;
}

long long ClipDecoder::ToMs(long long pts) const
{
    return RescaleToMs(pts, m_zeroPts, m_format->streams[m_stream]->time_base);
}

namespace {

// Opens the container with the one demuxer its first bytes name, reading only
// local files, and picks the first video stream of a codec that is read.
AVFormatContext* OpenInput(const std::string& file, ClipDecoder::Interrupt* interrupt, int& stream, wxString* why)
{
    unsigned char head[kClipSniffBytes];
    FILE* f = std::fopen(file.c_str(), "rb");
    const std::size_t got = f ? std::fread(head, 1, sizeof head, f) : 0;
    if (f)
        std::fclose(f);
    const char* demuxer = ClipDemuxerName(head, got);
    if (!demuxer) {
        *why = "not a video clip";
        return nullptr;
    }
    AVFormatContext* format = avformat_alloc_context();
    if (!format) {
        *why = "out of memory";
        return nullptr;
    }
    format->interrupt_callback.callback = OnInterrupt;
    format->interrupt_callback.opaque = interrupt;
    format->probesize = kProbeBytes;
    format->max_streams = kMaxStreams;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened =
        avformat_open_input(&format, ("file:" + file).c_str(), av_find_input_format(demuxer), &options);
    av_dict_free(&options);
    if (opened < 0) {
        *why = "the container cannot be read";
        return nullptr;
    }
    stream = -1;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream* candidate = format->streams[i];
        const bool video = candidate->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
                           && !(candidate->disposition & AV_DISPOSITION_ATTACHED_PIC)
                           && IsReadCodec(candidate->codecpar->codec_id) && candidate->time_base.num > 0
                           && candidate->time_base.den > 0;
        if (video && stream < 0)
            stream = static_cast<int>(i);
        else
            candidate->discard = AVDISCARD_ALL;
    }
    if (stream < 0) {
        *why = "the file holds no video the program can decode";
        avformat_close_input(&format);
        return nullptr;
    }
    return format;
}

} // namespace

bool ClipDecoder::ScanEnd(long long& endPts)
{
    bool any = false;
    while (av_read_frame(m_format, m_packet) >= 0) {
        const long long ts = m_packet->pts != AV_NOPTS_VALUE ? m_packet->pts : m_packet->dts;
        if (m_packet->stream_index == m_stream && ts != AV_NOPTS_VALUE) {
            long long end = ts;
            if (m_packet->duration > 0 && __builtin_add_overflow(ts, m_packet->duration, &end))
                end = ts;
            endPts = any ? std::max(endPts, end) : end;
            any = true;
        }
        av_packet_unref(m_packet);
    }
    return any && !TimedOut();
}

bool ClipDecoder::Setup(const std::string& file, wxString* why, long long knownEndMs)
{
    wxString reason;
    why = why ? why : &reason;
    StartDeadline(kOpenSeconds);
    m_packet = av_packet_alloc();
    m_current = av_frame_alloc();
    m_next = av_frame_alloc();
    if (!m_packet || !m_current || !m_next) {
        *why = "out of memory";
        return false;
    }

    // A first pass over the packets, then the file opened afresh for decoding.
    long long endPts = 0;
    if (knownEndMs < 0) {
        m_format = OpenInput(file, &m_interrupt, m_stream, why);
        if (!m_format)
            return false;
        const bool scanned = ScanEnd(endPts);
        avformat_close_input(&m_format);
        if (!scanned) {
            *why = TimedOut() ? "reading the clip takes too long" : "the clip holds no video frame";
            return false;
        }
    }
    m_format = OpenInput(file, &m_interrupt, m_stream, why);
    if (!m_format)
        return false;

    const AVStream* stream = m_format->streams[m_stream];
    const AVCodecParameters* parameters = stream->codecpar;
    if (static_cast<long long>(parameters->width) * parameters->height > kMaxPicturePixels) {
        *why = "the frames are too large";
        return false;
    }
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    m_codec = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!m_codec || avcodec_parameters_to_context(m_codec, parameters) < 0) {
        *why = "the clip's codec cannot be decoded";
        return false;
    }
    m_codec->max_pixels = kMaxPicturePixels;
    m_codec->pkt_timebase = stream->time_base;
    m_codec->thread_count = 0; // as many as the machine has
    if (avcodec_open2(m_codec, codec, nullptr) < 0) {
        *why = "the clip's codec cannot be decoded";
        return false;
    }

    // MP4 and QuickTime give each packet its own duration; Matroska often
    // only the track's default, wrong for a variable rate. With B-frames a
    // packet's duration is the step in decoding order, its showing time only
    // at a constant rate.
    m_steadyDurations = std::strncmp(m_format->iformat->name, "mov", 3) == 0 && stream->avg_frame_rate.num > 0
                        && stream->r_frame_rate.num > 0
                        && av_cmp_q(stream->avg_frame_rate, stream->r_frame_rate) == 0;

    size_t matrixSize = 0;
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &matrixSize);
    if (matrix && matrixSize >= 9 * sizeof(int32_t)) {
        // The matrix turns anticlockwise; whole quarter turns only.
        const double anticlockwise = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (std::isfinite(anticlockwise))
            m_info.rotation = static_cast<int>((std::lround(-anticlockwise / 90) % 4 + 4) % 4) * 90;
    }

    if (!DecodeNext()) {
        *why = TimedOut() ? "reading the clip takes too long" : "no frame of the clip decodes";
        return false;
    }
    m_zeroPts = m_next->best_effort_timestamp;
    m_frameSize = wxSize(m_next->width, m_next->height);
    m_info.size = m_info.rotation % 180 ? wxSize(m_frameSize.y, m_frameSize.x) : m_frameSize;
    m_info.endMs = knownEndMs >= 0 ? knownEndMs : std::max(1LL, ToMs(endPts));
    return true;
}

bool ClipDecoder::DecodeNext()
{
    av_frame_unref(m_next);
    m_hasNext = false;
    for (int bad = 0;;) {
        const int received = avcodec_receive_frame(m_codec, m_next);
        if (received == 0) {
            const long long pixels = static_cast<long long>(m_next->width) * m_next->height;
            if (m_next->best_effort_timestamp == AV_NOPTS_VALUE || m_next->width <= 0 || m_next->height <= 0
                || pixels > kMaxPicturePixels) {
                av_frame_unref(m_next);
                continue;
            }
            m_hasNext = true;
            return true;
        }
        if (received == AVERROR_EOF || TimedOut())
            return false;
        if (received != AVERROR(EAGAIN)) {
            if (++bad > kMaxBadPackets)
                return false;
            continue;
        }
        if (m_drained)
            return false;
        if (av_read_frame(m_format, m_packet) < 0) {
            if (TimedOut())
                return false;
            avcodec_send_packet(m_codec, nullptr);
            m_drained = true;
            continue;
        }
        if (m_packet->stream_index != m_stream) {
            av_packet_unref(m_packet);
            continue;
        }
        SkipUnneeded();
        const int sent = avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
        if (sent < 0 && ++bad > kMaxBadPackets)
            return false;
        if (sent >= 0)
            bad = 0;
    }
}

void ClipDecoder::SkipUnneeded()
{
    // Taking 10 frames a second from a 30 a second clip needs a third of its
    // frames; those between that only their own showing needs (non-reference
    // B-frames) are left out. Key frames, packets without a time or a
    // duration and clips whose packet durations may not be the time a frame
    // is shown are always decoded.
    bool skip = false;
    long long until = 0;
    if (m_needed && m_steadyDurations && m_packet->pts != AV_NOPTS_VALUE && m_packet->duration > 0
        && !(m_packet->flags & AV_PKT_FLAG_KEY) && !__builtin_add_overflow(m_packet->pts, m_packet->duration, &until))
        skip = !m_needed(ToMs(m_packet->pts), ToMs(until));
    m_codec->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    if (skip) {
        // The codec decides whether the frame is referred to; either way its
        // span is remembered as one whose frame may be missing.
        if (m_skipped.size() == kMaxSkippedSpans)
            m_skipped.pop_front();
        m_skipped.emplace_back(ToMs(m_packet->pts), ToMs(until));
    }
}

bool ClipDecoder::Seek(long long ms)
{
    const AVRational timeBase = m_format->streams[m_stream]->time_base;
    long long target = 0;
    const long long offset = av_rescale_q(std::max(0LL, ms), AVRational{1, 1000}, timeBase);
    if (__builtin_add_overflow(m_zeroPts, offset, &target))
        return false;
    if (av_seek_frame(m_format, m_stream, target, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(m_codec);
    av_frame_unref(m_current);
    av_frame_unref(m_next);
    m_hasCurrent = m_hasNext = false;
    m_drained = false;
    m_skipped.clear();
    return true;
}

long long ClipDecoder::ShownUntil(long long fromMs, long long nextMs) const
{
    long long until = nextMs;
    for (const auto& span : m_skipped)
        if (span.first > fromMs && span.first < until)
            until = span.first;
    return until;
}

bool ClipDecoder::WasSkipped(long long ms) const
{
    for (const auto& span : m_skipped)
        if (span.first <= ms + kToleranceMs && ms < span.second)
            return true;
    return false;
}

namespace {

class DecodedFrame : public ShownFrame {
public:
    DecodedFrame(ClipDecoder& decoder, const AVFrame* frame) : m_decoder(decoder), m_frame(frame) {}
    wxImage Convert(const wxSize& atLeast) const override { return m_decoder.Convert(m_frame, atLeast); }

private:
    ClipDecoder& m_decoder;
    const AVFrame* m_frame;
};

} // namespace

std::unique_ptr<ShownFrame> ClipDecoder::FrameAt(long long ms, const PassedFrame& passed)
{
    StartDeadline(kFrameSeconds);
    AVStream* stream = m_format->streams[m_stream];
    const long long position = m_hasCurrent ? ToMs(m_current->best_effort_timestamp)
                               : m_hasNext  ? ToMs(m_next->best_effort_timestamp)
                                            : -1;
    // A frame left out before `ms` was wanted is decoded again after a seek.
    bool seek = position < 0 || (m_hasCurrent && position > ms + kToleranceMs) || WasSkipped(ms);
    if (!seek && ms > position) {
        // Key frames are indexed by decoding time, which runs ahead of showing
        // time: one indexed just before `ms` may be shown after it, and a seek
        // to it would land past the wanted frame and then fall back to the
        // key frame before (from the clip's start, in a clip of one key frame
        // every 8 seconds). Only one indexed well before `ms` is sought.
        const long long target =
            m_zeroPts + av_rescale_q(ms - kIndexAheadMs, AVRational{1, 1000}, stream->time_base);
        const int key = avformat_index_get_entries_count(stream) > 0
                            ? av_index_search_timestamp(stream, target, AVSEEK_FLAG_BACKWARD)
                            : -1;
        if (key >= 0)
            seek = ToMs(avformat_index_get_entry(stream, key)->timestamp) > position;
        else
            seek = ms - position > kWalkWithoutIndexMs;
    }

    for (long long margin : kSeekMarginsMs) {
        if (seek && !Seek(margin < 0 ? 0 : ms - margin))
            return nullptr;
        while (m_hasNext || DecodeNext()) {
            const long long nextMs = ToMs(m_next->best_effort_timestamp);
            if (nextMs > ms + kToleranceMs)
                break;
            if (m_hasCurrent && passed)
            {
                const long long currentMs = ToMs(m_current->best_effort_timestamp);
                passed(DecodedFrame(*this, m_current), currentMs, ShownUntil(currentMs, nextMs));
            }
            std::swap(m_current, m_next);
            av_frame_unref(m_next);
            m_hasCurrent = true;
            m_hasNext = false;
        }
        if (TimedOut())
            return nullptr;
        // Landed after the wanted time: aim earlier, unless this was the
        // start of the clip, where the first frame stands for earlier times.
        const bool early = !m_hasCurrent && m_hasNext && ms > 0 && margin >= 0;
        if (!early)
            break;
        seek = true;
    }
    const AVFrame* shown = m_hasCurrent ? m_current : m_hasNext ? m_next : nullptr;
    return shown ? std::make_unique<DecodedFrame>(*this, shown) : nullptr;
}

wxImage ClipDecoder::Convert(const AVFrame* frame, const wxSize& atLeast)
{
    wxSize shown = m_info.size;
    if (atLeast.x > 0 || atLeast.y > 0) {
        const double factor = std::max(double(atLeast.x) / shown.x, double(atLeast.y) / shown.y);
        if (factor < 1)
            shown = wxSize(std::max(1, int(std::ceil(shown.x * factor))), std::max(1, int(std::ceil(shown.y * factor))));
    }
    const wxSize out = m_info.rotation % 180 ? wxSize(shown.y, shown.x) : shown;
    const bool sameSize = out.x == frame->width && out.y == frame->height;
    m_scaler = sws_getCachedContext(m_scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                    out.x, out.y, AV_PIX_FMT_RGB24, sameSize ? SWS_BICUBIC : SWS_AREA, nullptr,
                                    nullptr, nullptr);
    if (!m_scaler)
        return wxImage();
    // The frame's own colour matrix and range; unmarked frames take BT.601,
    // as the library's tools do.
    const int matrix = frame->colorspace == AVCOL_SPC_UNSPECIFIED ? SWS_CS_DEFAULT : frame->colorspace;
    sws_setColorspaceDetails(m_scaler, sws_getCoefficients(matrix), frame->color_range == AVCOL_RANGE_JPEG,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    // The converter's vector code writes whole blocks of pixels, past the end
    // of the last row: the picture's storage has a row to spare.
    const size_t rowBytes = static_cast<size_t>(out.x) * 3;
    auto* data = static_cast<unsigned char*>(std::malloc(rowBytes * (out.y + 1) + kConverterSlack));
    if (!data)
        return wxImage();
    wxImage picture(out.x, out.y, data);
    uint8_t* planes[4] = {picture.GetData(), nullptr, nullptr, nullptr};
    int strides[4] = {3 * out.x, 0, 0, 0};
    if (sws_scale(m_scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0)
        return wxImage();
    switch (m_info.rotation) {
    case 90:
        return picture.Rotate90(true);
    case 180:
        return picture.Rotate180();
    case 270:
        return picture.Rotate90(false);
    default:
        return picture;
    }
}
