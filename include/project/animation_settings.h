#pragma once

#include "encode/gif_pipeline.h"

#include <wx/string.h>

#include <vector>

// The settings of an animation besides its pictures: what the window's
// controls hold, what a project records and what a save writes. The window
// compares them whole with those of the last save to tell unsaved changes.
struct AnimationSettings {
    int frameCount = 0;
    int delay = 0;  // hundredths of a second: the Delay control, and every frame without its own
    int width = 0;  // output size in pixels
    int height = 0;
    // Changes that keep the count: a frame's own delay, a frame replaced.
    std::vector<int> frameDelays;
    std::vector<wxString> frames;
    int loopCount = 0;       // passes of the preview, 0 = for ever
    bool loopInFile = false; // the saved GIF plays loopCount passes too
    int quality = kGifDefaultQuality;
    // Saves fit under this many bytes (0 = no limit) and this many pixels on
    // the longer side (0 = no limit), never dropping frames when keepAllFrames.
    long long sizeLimit = 0;
    int sizeLimitSide = 0;
    bool keepAllFrames = false;
};

inline bool operator==(const AnimationSettings& a, const AnimationSettings& b)
{
    return a.frameCount == b.frameCount && a.delay == b.delay && a.width == b.width && a.height == b.height
        && a.frameDelays == b.frameDelays && a.frames == b.frames && a.loopCount == b.loopCount
        && a.loopInFile == b.loopInFile && a.quality == b.quality && a.sizeLimit == b.sizeLimit
        && a.sizeLimitSide == b.sizeLimitSide
        && a.keepAllFrames == b.keepAllFrames;
}

inline bool operator!=(const AnimationSettings& a, const AnimationSettings& b)
{
    return !(a == b);
}
