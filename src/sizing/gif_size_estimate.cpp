#include "sizing/gif_size_estimate.h"

#include "sizing/gif_byte_sink.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

namespace {

// About this share of the frames is encoded, so that an estimate costs a
// fraction of a save (docs/performance.md has the figures), in runs of
// neighbours: runs of three see both frames of a pattern that alternates
// (a pointer that moves on every frame, text that appears on every other).
constexpr double kSampleShare = 0.2;
constexpr std::size_t kRunLength = 3;
constexpr std::size_t kMaxRuns = 8;
// The range is the guess give or take two standard errors of the mean frame,
// and never narrower than this share of the guess.
constexpr double kStandardErrors = 2.0;
constexpr double kMinSpread = 0.05;
constexpr int kTrailerBytes = 1;
// A sample of up to this many frames per core gets a worker for each frame:
// with one per core, the third of three frames would run alone on one core
// while the other waits.
constexpr std::size_t kSampleWorkersPerCore = 2;

} // namespace

std::vector<std::size_t> GifEstimateSample(std::size_t count)
{
    std::vector<std::size_t> sample;
    const auto budget = static_cast<std::size_t>(double(count) * kSampleShare);
    const std::size_t runs = std::clamp<std::size_t>(budget / kRunLength, 1, kMaxRuns);
    if (count <= runs * kRunLength + 1) {
        for (std::size_t i = 0; i < count; ++i)
            sample.push_back(i);
        return sample;
    }
    // Run k starts at k * (count - kRunLength) / (runs - 1): the first at
    // frame 0, the last ending on the last frame, none overlapping.
    for (std::size_t k = 0; k < runs; ++k) {
        const std::size_t start = runs == 1 ? 0 : k * (count - kRunLength) / (runs - 1);
        for (std::size_t i = 0; i < kRunLength; ++i)
            sample.push_back(start + i);
    }
    return sample;
}

GifFrameSupplier GifSubsetSupplier(const GifFrameSupplier& supply, std::vector<std::size_t> indices)
{
    return [supply, indices = std::move(indices)](std::size_t index) { return supply(indices[index]); };
}

bool EstimateGifSize(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
                     GifSizeEstimate& estimate, const std::atomic<bool>* cancel)
{
    const std::vector<std::size_t> sample = GifEstimateSample(count);
    if (sample.empty())
        return false;
    GifEncodeSettings sampled = settings;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    if (settings.threads == 0 && sample.size() <= kSampleWorkersPerCore * cores)
        sampled.threads = unsigned(sample.size());
    if (!settings.delaysCs.empty()) {
        if (settings.delaysCs.size() != count)
            return false;
        sampled.delaysCs.clear();
        for (std::size_t index : sample)
            sampled.delaysCs.push_back(settings.delaysCs[index]);
    }
    GifByteSink sink;
    std::vector<long long> frameEnds;
    const GifProgress progress = [&](std::size_t) { frameEnds.push_back(sink.Count()); };
    if (!EncodeGifAnimation(sink, sample.size(), GifSubsetSupplier(supply, sample), sampled, progress, cancel) ||
        (cancel && cancel->load()))
        return false;

    if (sample.size() == count) {
        estimate = GifSizeEstimate{sink.Count(), sink.Count(), sink.Count(), true};
        return true;
    }
    // The frames after the first of each run; the first frames of the later
    // runs follow a frame far from them and are left out.
    std::vector<double> following;
    for (std::size_t i = 1; i < frameEnds.size(); ++i)
        if (i % kRunLength != 0)
            following.push_back(double(frameEnds[i] - frameEnds[i - 1]));
    double mean = 0;
    for (double bytes : following)
        mean += bytes;
    mean /= double(following.size());
    double variance = 0;
    for (double bytes : following)
        variance += (bytes - mean) * (bytes - mean);
    variance /= double(following.size() - 1);
    const double others = double(count - 1);
    const double finite = 1.0 - double(following.size()) / others;
    const double standardError = std::sqrt(variance / double(following.size()) * std::max(0.0, finite));

    const double guess = double(frameEnds.front()) + others * mean + kTrailerBytes;
    const double spread = std::max(kStandardErrors * standardError * others, kMinSpread * guess);
    estimate.bytes = std::llround(guess);
    estimate.low = std::max(frameEnds.front() + kTrailerBytes, std::llround(guess - spread));
    estimate.high = std::llround(guess + spread);
    estimate.exact = false;
    return true;
}
