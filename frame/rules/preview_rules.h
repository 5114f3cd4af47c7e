#pragma once

#include <wx/gdicmn.h>

// Where a frame of `frame` size is drawn on a canvas of `canvas` size: at its
// own size when it fits, otherwise scaled down to fit keeping its aspect
// ratio, never enlarged; centred, and always inside the canvas. Empty for a
// frame or canvas without extent.
wxRect PreviewPlacement(const wxSize& canvas, const wxSize& frame);

// Progress of the playing preview after it showed frame `playIndex` of
// `frameCount`: moves to the next frame and counts a finished pass.
// Returns true when `loopCount` passes (0 = endless) have been played; the
// count of passes then starts again from 0.
bool AdvancePreview(int& playIndex, int& loopsPlayed, int loopCount, int frameCount);

// Timer interval of the preview for a delay in hundredths of a second. A
// delay of 0 still leaves the event loop time between two frames.
constexpr int kMinimumPreviewIntervalMs = 10;
int PreviewIntervalMs(int delay);
