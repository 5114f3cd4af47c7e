#pragma once

#include "decode/frame_source.h"

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

#include <functional>

// One frame a path yields, without its full-size pixels.
struct LoadedFrame {
    int frameIndex = 0;     // inside a GIF file, else 0
    int delayCs = -1;       // a GIF frame's own delay (kPictureDelayOption), -1 for none
    wxSize size;            // the full size
    wxImage thumbnail;      // invalid when no thumbnail was asked for
    FrameSourcePtr source;  // gives the full-size pixels back
};

// The thumbnail size for a frame of the given full size; (0, 0) for none.
using ThumbnailSizeRule = std::function<wxSize(const wxSize& full)>;
// Receives each frame, to keep; return false to stop early.
using LoadedFrameSink = std::function<bool(LoadedFrame&& frame)>;

// Reads what `path` names as LoadPictures does, but keeps memory to what a
// frame list needs: each frame comes with a thumbnail and a source instead of
// its pixels. Still pictures are decoded again from their file when needed
// (the file's fingerprint is taken now), a JPEG's thumbnail comes from a
// reduced-scale decode, and GIF frames, which only a decode from the start of
// their file gives back, are held compressed. Without a thumbnail rule, PNG and
// JPEG files are not decoded at all: their headers give the size. Returns the
// number of frames delivered; any thread.
int LoadFrames(const wxString& path, const ThumbnailSizeRule& thumbnailSize, const LoadedFrameSink& sink);
