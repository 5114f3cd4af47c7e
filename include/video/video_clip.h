#pragma once

#include "decode/frame_source.h"

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

#include <cstddef>
#include <memory>
#include <vector>

// What is known of a clip once it is open.
struct ClipInfo {
    wxSize size;         // as shown: rotation applied
    long long endMs = 0; // where the last video frame ends, from the first frame
    int rotation = 0;    // clockwise degrees the frames are turned when shown: 0, 90, 180, 270
};

// True when the bytes begin like a container the program reads clips from:
// MP4 and QuickTime (but not the still-picture HEIF/AVIF files that share
// their box format), Matroska, WebM, and WebP with more than one frame (a
// file marked as an animation).
bool LooksLikeVideoClip(const unsigned char* data, std::size_t size);
// LooksLikeVideoClip on the start of a file.
bool IsVideoClip(const wxString& path);

class VideoClip;
using VideoClipPtr = std::shared_ptr<VideoClip>;

// A clip that gives any of its frames by time, for any thread. Every frame
// taken from one file shares one VideoClip (and its one reader), so that
// frames asked for in order are decoded in one pass instead of a seek each.
class VideoClip {
public:
    // The clip open for `path`, or null when the file is not a clip the
    // program reads, is refused (frames over kMaxPicturePixels, no video
    // stream, no frame that decodes) or takes too long to read. `why` gets
    // the reason.
    static VideoClipPtr Open(const wxString& path, wxString* why = nullptr);

    ~VideoClip();
    VideoClip(const VideoClip&) = delete;
    VideoClip& operator=(const VideoClip&) = delete;

    const ClipInfo& Info() const { return m_info; }
    const wxString& Path() const { return m_path; }

    // The frame shown at `ms`, at full size or, when `atLeast` is given, at a
    // size no smaller than it; invalid when the file changed since it was
    // opened or the frame does not decode.
    wxImage FrameAt(long long ms, const wxSize& atLeast = wxSize(0, 0)) const;

    // Frames at these times will be asked for (a save asks for several from
    // its worker threads at once): a frame passed on the way to a later one
    // is kept for a while, at the size asked for, instead of decoded again
    // after a seek.
    void ExpectFrames(const std::vector<long long>& times);

    // The file still has the size and time it had when opened.
    bool IsIntact() const;

    struct Private;

private:
    VideoClip(const wxString& path, std::unique_ptr<Private> state);
    const wxString m_path;
    ClipInfo m_info;
    std::unique_ptr<Private> m_state;
};

// The source of the frame shown at `ms` in `clip`.
FrameSourcePtr MakeClipFrameSource(const VideoClipPtr& clip, long long ms);

// True for a source made by MakeClipFrameSource. Its frames are scaled while
// they are converted from the codec's colours, so one asked for at a smaller
// size costs a fraction of the full size and is as good as a full-size frame
// scaled down.
bool IsClipFrameSource(const FrameSource& source);
