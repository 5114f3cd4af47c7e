#pragma once

#include "encode/gif_blocks.h"

#include <wx/image.h>
#include <wx/stream.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

// Each frame in flight is held at the output size, several at a time, so an
// output larger than this is refused before any work starts (the same bound
// as for the pictures read).
constexpr long long kMaxGifOutputPixels = 100LL * 1000 * 1000;

// True when frames of width x height can be written: each side 1 to 65535
// (the format's 16-bit fields) and at most kMaxGifOutputPixels in all.
bool IsGifOutputSizeAllowed(int width, int height);

// The quality both the window and gifmaker-cli use unless told otherwise
// (and projects keep), from 1 to 100: chosen from the benchmark figures in
// docs/performance.md.
constexpr int kGifDefaultQuality = 85;
constexpr int kGifMinQuality = 1;
constexpr int kGifMaxQuality = 100;

struct GifEncodeSettings {
    int width = 0;         // output size in pixels
    int height = 0;
    int delayCs = 0;       // delay of every frame in hundredths of a second
    // One delay per frame (0 to 65535 hundredths of a second); empty = delayCs
    // for every frame.
    std::vector<int> delaysCs;
    // Times viewers play the animation (1 to kGifMaxPlays); 0 = for ever, as
    // the file's count means.
    int loopCount = 0;
    // 1 to 100: lower values give smaller files that look worse (fewer
    // colours, less dithering, small changes between frames left out, and
    // below 80 near colours written alike where that compresses better). At
    // 100 frames of at most 256 colours are kept exactly.
    int quality = kGifDefaultQuality;
    // Quicker choices that make larger files (large photos dithered by plain
    // error diffusion).
    bool fast = false;
    unsigned threads = 0;  // worker threads for preparation, colour reduction and compression; 0 = every core
};

// Supplies frame `index` as a picture that the caller owns alone. Called from
// worker threads, possibly for several indices at the same time.
using GifFrameSupplier = std::function<wxImage(std::size_t index)>;

// Reports the number of frames written so far; called in frame order on the
// thread that runs EncodeGifAnimation.
using GifProgress = std::function<void(std::size_t framesWritten)>;

// Prepares, colour-reduces, compresses and writes `count` frames as one
// animated GIF with the settings' delays and loop count. After the first
// frame each frame covers only what changes on the screen. The bytes do not
// depend on the thread count. Returns true when every frame and the trailer
// were written; false at once for settings out of range (a size not allowed,
// a negative delay, a delay list not one per frame, a loop count outside 0 to
// kGifMaxPlays), and early when `cancel` becomes true or a write fails.
bool EncodeGifAnimation(wxOutputStream& out, std::size_t count, const GifFrameSupplier& supply,
                        const GifEncodeSettings& settings, const GifProgress& progress = {},
                        const std::atomic<bool>* cancel = nullptr);
