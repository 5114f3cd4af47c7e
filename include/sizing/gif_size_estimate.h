#pragma once

#include "encode/gif_pipeline.h"

#include <atomic>
#include <cstddef>
#include <vector>

// A file size told before the file is written.
struct GifSizeEstimate {
    long long bytes = 0; // the best guess
    long long low = 0;   // the likely range around it
    long long high = 0;
    bool exact = false;  // every frame was encoded: `bytes` is the size
};

// The frames an estimate encodes: runs of three neighbours spread evenly
// from the first frame, about a fifth of the animation; every frame when the
// animation is that short anyway.
std::vector<std::size_t> GifEstimateSample(std::size_t count);

// `supply` limited to the frames `indices` names, in that order.
GifFrameSupplier GifSubsetSupplier(const GifFrameSupplier& supply, std::vector<std::size_t> indices);

// Estimates the size of the GIF EncodeGifAnimation would write for these
// frames and settings by encoding the sample with the same engine: the
// header and first frame as they are, the other frames from the sizes of
// the later frames of each run (a frame as it follows its neighbour). False
// when the settings are refused, a frame does not decode or `cancel` was set.
bool EstimateGifSize(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
                     GifSizeEstimate& estimate, const std::atomic<bool>* cancel = nullptr);
