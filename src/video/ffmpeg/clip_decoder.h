#pragma once

#include "clip_reader.h"

#include <chrono>
#include <deque>
#include <memory>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// One FFmpeg demuxer and decoder on a clip file. It seeks only when a wanted
// time lies behind it or beyond the next key frame.
class ClipDecoder : public ClipReader {
public:
    // Opens the file, finds the clip's end (reading every packet, not
    // decoding) unless `endMs` already gives it, and decodes its first frame;
    // null when refused. Takes at most kOpenSeconds.
    static std::unique_ptr<ClipDecoder> Open(const std::string& file, wxString* why, long long endMs = -1);
    ~ClipDecoder() override;

    const ClipInfo& Info() const override { return m_info; }
    std::unique_ptr<ShownFrame> FrameAt(long long ms, const PassedFrame& passed) override;
    // A frame no wanted time needs, and that no other frame refers to, is not decoded.
    void SetNeeded(NeededSpan needed) override { m_needed = std::move(needed); }

    // The frame as a picture as shown (rotation applied), at full size or no
    // smaller than `atLeast`.
    wxImage Convert(const AVFrame* frame, const wxSize& atLeast);

    struct Interrupt {
        std::chrono::steady_clock::time_point deadline;
    };

private:
    ClipDecoder() = default;
    bool Setup(const std::string& file, wxString* why, long long endMs);
    bool ScanEnd(long long& endPts);
    bool Seek(long long ms);
    // The next decoded frame into m_next; false at the end of the stream.
    bool DecodeNext();
    // Sets the codec to leave out the packet in hand when its frame is not needed.
    void SkipUnneeded();
    // Where the frame shown from `fromMs` stops being shown, the next
    // decoded one starting at `nextMs`: a frame left out between them ends it.
    long long ShownUntil(long long fromMs, long long nextMs) const;
    // The frame shown at `ms` may have been left out.
    bool WasSkipped(long long ms) const;
    long long ToMs(long long pts) const;
    void StartDeadline(int seconds);
    bool TimedOut() const;

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_current = nullptr; // the frame shown at the last time reached
    AVFrame* m_next = nullptr;    // decoded, not yet shown
    bool m_hasCurrent = false;
    bool m_hasNext = false;
    bool m_drained = false;
    int m_stream = -1;
    long long m_zeroPts = 0;
    SwsContext* m_scaler = nullptr;
    ClipInfo m_info;
    wxSize m_frameSize; // as decoded, before rotation
    Interrupt m_interrupt;
    NeededSpan m_needed;
    bool m_steadyDurations = false; // a packet's duration is how long its frame is shown
    std::deque<std::pair<long long, long long>> m_skipped; // [from, until) of packets left out since the last seek
};
