#pragma once

#include "encode/gif_blocks.h"
#include "palette/gif_reduce_colours.h"

#include <cstdint>
#include <vector>

// What a viewer shows after the frames written so far, and the source colour
// each shown pixel was written for: later frames compare their source with
// it to find what changed.
struct GifShownPicture {
    std::vector<std::uint8_t> shown;     // RGB, row by row
    std::vector<std::uint8_t> reference; // RGB, row by row
    std::vector<GifRgb> globalTable;
};

// A frame ready to compress: the rectangle it covers and its pixels' indices
// into one or two candidate colour tables. The global candidate, when there
// is one, uses the table written with the header; whichever compresses
// smaller is written.
struct GifFramePlan {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // The first frame's table becomes the global one; later frames bring it
    // as a local table.
    std::vector<GifRgb> localTable;
    std::vector<std::uint8_t> localIndices;
    int localMask = -1; // transparent index, -1 for none
    bool hasGlobal = false;
    std::vector<std::uint8_t> globalIndices;
    int globalMask = -1;
    // After the first frame (whose pixels are all new), per pixel of the
    // rectangle: kGifPixelLoose where the pixel shows a new colour (a near one
    // will do), kGifPixelTakesSource where its reference becomes the source;
    // and the RGB a transparent index shows there.
    std::vector<std::uint8_t> flags;
    std::vector<std::uint8_t> under;
};

constexpr std::uint8_t kGifPixelLoose = 1;
constexpr std::uint8_t kGifPixelTakesSource = 2;

// Plans frame `source` (RGB of the full output size) reduced to `reduced`.
// The first frame is planned whole. A later frame covers only the rectangle
// of pixels whose shown colour changes; a pixel counts as changed when a
// channel of its source differs from its reference by more than
// `changeThreshold`, so a pixel whose source stays keeps its shown colour
// (dithering cannot make it flicker). Pixels inside the rectangle that keep
// their colour are written transparent, or with the index before them where
// that colour is the same, whichever continues the run. `shown` is updated to
// what a viewer shows after this frame; `keepShown` false (the last frame)
// spares keeping it. With `deferShown` the picture is left as it is, for
// GifApplyFramePlan once the indices are final (lossy compression changes them).
GifFramePlan PlanGifFrame(const std::uint8_t* source, GifIndexedFrame& reduced, GifShownPicture& picture,
                          bool first, bool keepShown, int changeThreshold, bool deferShown = false);

// Updates `picture` after a deferred plan, written with `indices` into
// `table` with transparent index `mask`. `source` is the frame's RGB at the
// full output size, `width` that size's width.
void GifApplyFramePlan(const GifFramePlan& plan, const std::uint8_t* indices, const std::vector<GifRgb>& table,
                       int mask, const std::uint8_t* source, int width, GifShownPicture& picture, bool first,
                       bool keepShown);
