#pragma once

#include "video/video_clip.h"

#include <wx/image.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// A decoded frame as shown, valid until its reader is used again.
class ShownFrame {
public:
    virtual ~ShownFrame() = default;
    // The frame as a picture (rotation applied), at full size or no smaller
    // than `atLeast`.
    virtual wxImage Convert(const wxSize& atLeast) const = 0;
};

// Frames of one clip file by time, used by one thread at a time. Walks
// forward through the frames and goes back only when a wanted time lies
// behind it.
class ClipReader {
public:
    virtual ~ClipReader() = default;

    virtual const ClipInfo& Info() const = 0;

    // Called with each frame passed on the way to a wanted time and the span
    // [fromMs, untilMs) in which it was the frame shown.
    using PassedFrame = std::function<void(const ShownFrame& frame, long long fromMs, long long untilMs)>;

    // The frame shown at `ms`, or null when no frame decodes there in time.
    virtual std::unique_ptr<ShownFrame> FrameAt(long long ms, const PassedFrame& passed) = 0;

    // Tells whether a frame shown in [fromMs, untilMs) is wanted; a reader
    // may leave out the frames no wanted time needs.
    using NeededSpan = std::function<bool(long long fromMs, long long untilMs)>;
    virtual void SetNeeded(NeededSpan needed) = 0;
};

// How many bytes of a file's start tell what kind of clip it is.
constexpr std::size_t kClipSniffBytes = 32;

// The reader for the clip in `file` (an FFmpeg container or an animated
// WebP), null when refused with the reason in `why`. `endMs`, when known from
// an earlier opening, saves finding the clip's end again.
std::unique_ptr<ClipReader> OpenClipReader(const std::string& file, wxString* why, long long endMs = -1);

// True when the first bytes are those of a clip file OpenClipReader opens.
bool LooksLikeClipFile(const unsigned char* data, std::size_t size);
