#pragma once

#include "decode/frame_loader.h"
#include "decode/video_frame_name.h"

#include <wx/string.h>

// The frames a clip frame or range name asks for (decode/video_frame_name.h),
// as LoadFrames delivers a picture's: a thumbnail when the rule asks for one
// and a source that decodes the frame again by its time. A range yields at
// most kMaxClipFrames frames and none beyond the last frame the file holds.
// A clip that is refused yields nothing; decoding stops at the first frame
// that does not decode. Without a thumbnail rule nothing is decoded beyond
// the first frame. `frameIndex` is the frame's time in milliseconds; a range's
// frames carry the delays that play them at the clip's speed
// (ClipFrameDelays) as their own. Returns
// the number of frames delivered; any thread.
int LoadClipFrames(const ClipName& clip, const ThumbnailSizeRule& thumbnailSize, const LoadedFrameSink& sink);

// LoadFrames for pictures and GIF frames, LoadClipFrames for clip names. A
// clip's own path yields nothing: it needs a rate (the import dialog and
// gifmaker-cli --fps turn it into a range name).
int LoadMediaFrames(const wxString& path, const ThumbnailSizeRule& thumbnailSize, const LoadedFrameSink& sink);

// Loads the video decoder, which is otherwise loaded when the first clip is
// opened; false with the reason in `why` (may be null) when it cannot be.
bool LoadVideoDecoder(wxString* why);
