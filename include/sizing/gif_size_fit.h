#pragma once

#include "encode/gif_pipeline.h"

#include <wx/string.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

// What fitting under a limit may change, tried in this order: the quality,
// then the output size (keeping the aspect), then the frame rate (frames
// left out, the delays of those kept lengthened so the duration stays).
struct GifFitOptions {
    long long limit = 0; // bytes the file may take
    bool lowerQuality = true;
    bool shrink = true;
    bool dropFrames = true;
    // The destination's limit on the longer side in pixels (0 = none); the
    // output is scaled down to it first, whatever else is allowed.
    int maxSide = 0;
};

// One candidate: every `keepEvery`-th frame at that quality and size.
struct GifFitStep {
    int quality = kGifDefaultQuality;
    int width = 0;
    int height = 0;
    std::size_t keepEvery = 1;
};

// The candidates from `settings` (the first, or it scaled down to maxSide)
// to the smallest file that is still an animation of the frames, in the
// order they are tried: first the quality down to 1, then from quality 30
// (or the quality asked, when lower) the size down to 15% and every third
// frame, then the quality down to 1, the size down to 16 pixels and one
// frame.
// Where frames are left out the size goes back up as far as the fewer frames
// make room for. Among the sizes are those at 3/4, 2/3, 1/2, 1/3 and 1/4 of
// the size asked, where it divides exactly. The files shrink along the list,
// except where the quality goes back up as the size starts to go down (the
// file there is still about as large as the one before) and at the whole
// ratios, where content of few colours (text, lines) makes a smaller file
// than at the sizes around them.
std::vector<GifFitStep> GifFitLadder(const GifEncodeSettings& settings, std::size_t count,
                                     const GifFitOptions& options);

// The frames kept when every keepEvery-th is: 0, keepEvery, 2 * keepEvery...
std::vector<std::size_t> GifKeptFrames(std::size_t count, std::size_t keepEvery);
// Their delays: each kept frame also plays the time of the frames left out
// after it, so the duration stays (each delay at most the format's 65535;
// the duration is kept where that allows). `delays` holds one per frame.
std::vector<int> GifKeptDelays(const std::vector<int>& delays, std::size_t keepEvery);

enum class GifFitOutcome {
    Fits,        // the file was written, at most the limit
    NothingFits, // not even the last step of the ladder fits; nothing was written
    Failed,      // the settings are refused or a frame does not decode
    Unwritable,  // the file could not be written; `error` says why
    Cancelled,
};

struct GifFitResult {
    GifFitOutcome outcome = GifFitOutcome::Failed;
    GifFitStep step;             // what was chosen
    GifEncodeSettings settings;  // what the file was written with
    long long fileSize = 0;      // bytes written, at most the limit
    std::size_t frameCount = 0;  // frames in the file
    wxString error;              // why the file could not be written
    int encodes = 0;             // whole encodes tried, for the benchmarks
    int estimates = 0;           // sampled estimates made
};

// Reports the share of the work done, 0 to 100, now and then.
using GifFitProgress = std::function<void(int percent)>;

// Finds the step of the ladder nearest its start whose file fits under the
// limit, and writes that file at `path` (complete or not at all; nothing
// when no step fits). Sampled estimates choose the steps; whole encodes
// (stopped as soon as they pass the limit) make sure of them, each into a
// temporary file beside `path`, so memory does not grow with the limit. The
// search may miss a step that fits nearer the start where the files do not
// shrink along the ladder; for content of few colours the sizes at whole
// ratios are tried whole, and the step just before the one found is tried
// when its estimate is close to the limit.
// `settings` are those of a save without a limit (size, delays, loop,
// quality); `count` frames come from `supply`.
GifFitResult FitGifUnderLimit(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
                              const GifFitOptions& options, const wxString& path, const GifFitProgress& progress = {},
                              const std::atomic<bool>* cancel = nullptr);
