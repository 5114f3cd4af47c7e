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

// How long the preview shows a frame of `delay` hundredths of a second.
// Delays of 0 and 1 stay in the file as they are but are played as 10, as
// Chromium, Firefox, WebKit and ffmpeg play them: such files were made for
// those viewers, and a 0 would leave the event loop no time between frames.
constexpr int kShortestPlayedDelay = 2;
constexpr int kShortDelayPlayedAs = 10;
int PreviewIntervalMs(int delay);
