#include "sizing/gif_size_fit.h"

#include "format/gif_format.h"
#include "sizing/gif_byte_sink.h"
#include "sizing/gif_size_estimate.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace {

// The first pass stops at these; only when nothing fits there does the
// second go further. Butteraugli rates a lower quality far better than a
// smaller size at the same file size (docs/performance.md), so the quality
// goes all the way down first.
constexpr int kSoftQuality = kGifMinQuality;
constexpr double kSoftScale = 0.3;
constexpr std::size_t kSoftKeepEvery = 3;
// Lowering the quality to kSoftQuality must save at least this share of the
// file to be worth its look; otherwise (screen content of few colours, where
// the colours are kept whatever the quality) the size goes down first.
constexpr double kQualityPays = 0.25;
// Each size step is 3% off the width and height: about 6% off the pixels.
constexpr double kScaleStep = 0.97;
constexpr int kMinSide = 16;
// Keeping every k-th frame grows k by a quarter at a time beyond the floor.
constexpr double kKeepGrowth = 1.25;
// The estimate aims this far under the limit, so that its error (docs:
// within 15%) mostly lands under it; a whole encode that uses less than
// kWellUsed of the limit is followed by one try at a better step.
constexpr double kAim = 0.93;
constexpr double kWellUsed = 0.85;
// Tries at a better step after a file that fits but uses too little.
constexpr int kBetterTries = 2;
// Share of the progress an estimate and a whole encode count for.
constexpr int kEstimatePercent = 4;
constexpr int kEncodePercent = 30;
constexpr int kMaxPercent = 99;

std::vector<GifFitStep> BuildLadder(const GifEncodeSettings& settings, std::size_t count,
                                    const GifFitOptions& options, int softQuality);

std::vector<int> FrameDelays(const GifEncodeSettings& settings, std::size_t count)
{
    return settings.delaysCs.empty() ? std::vector<int>(count, settings.delayCs) : settings.delaysCs;
}

class Fitter {
public:
    Fitter(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
           const GifFitOptions& options, const GifFitProgress& progress, const std::atomic<bool>* cancel)
        : m_count(count), m_supply(supply), m_settings(settings), m_options(options), m_progress(progress),
          m_cancel(cancel), m_ladder(GifFitLadder(settings, count, options))
    {
    }

    GifFitResult Run();

private:
    struct Attempt {
        bool fits = false;
        bool over = false;
        std::size_t framesWritten = 0;
        std::vector<std::uint8_t> bytes;
    };

    GifEncodeSettings SettingsFor(const GifFitStep& step) const
    {
        GifEncodeSettings settings = m_settings;
        settings.quality = step.quality;
        settings.width = step.width;
        settings.height = step.height;
        if (step.keepEvery > 1)
            settings.delaysCs = GifKeptDelays(FrameDelays(m_settings, m_count), step.keepEvery);
        return settings;
    }
    GifFrameSupplier SupplierFor(const GifFitStep& step) const
    {
        return step.keepEvery > 1 ? GifSubsetSupplier(m_supply, GifKeptFrames(m_count, step.keepEvery)) : m_supply;
    }
    std::size_t FramesFor(const GifFitStep& step) const { return GifKeptFrames(m_count, step.keepEvery).size(); }
    bool Cancelled() const { return m_cancel && m_cancel->load(); }
    void Report()
    {
        if (m_progress)
            m_progress(std::min(kMaxPercent, m_result.estimates * kEstimatePercent + m_result.encodes * kEncodePercent));
    }

    // The estimate of step i, made once; nullopt when it failed.
    std::optional<double> Estimate(std::size_t i);
    // The first step in [low, high] whose estimate times m_factor is under
    // the aim; `high` when none is. Assumes files shrink along the ladder.
    std::optional<std::size_t> FirstUnderAim(std::size_t low, std::size_t high);
    bool Encode(std::size_t i, Attempt& attempt);
    // When lowering the quality to the first floor saves little, the ladder
    // keeps the quality until the second pass. False when an estimate failed.
    bool QualityPays();

    std::size_t m_count;
    const GifFrameSupplier& m_supply;
    const GifEncodeSettings& m_settings;
    const GifFitOptions& m_options;
    const GifFitProgress& m_progress;
    const std::atomic<bool>* m_cancel;
    std::vector<GifFitStep> m_ladder;
    std::map<std::size_t, double> m_estimates;
    // Whole files came out this much larger than their estimates.
    double m_factor = 1.0;
    bool m_failed = false;
    GifFitResult m_result;
};

std::optional<double> Fitter::Estimate(std::size_t i)
{
    const auto known = m_estimates.find(i);
    if (known != m_estimates.end())
        return known->second;
    const GifFitStep& step = m_ladder[i];
    GifSizeEstimate estimate;
    if (!EstimateGifSize(FramesFor(step), SupplierFor(step), SettingsFor(step), estimate, m_cancel)) {
        m_failed = true;
        return std::nullopt;
    }
    ++m_result.estimates;
    Report();
    m_estimates[i] = double(estimate.bytes);
    return double(estimate.bytes);
}

std::optional<std::size_t> Fitter::FirstUnderAim(std::size_t low, std::size_t high)
{
    const double aim = kAim * double(m_options.limit);
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const std::optional<double> estimate = Estimate(middle);
        if (!estimate)
            return std::nullopt;
        if (*estimate * m_factor <= aim)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

bool Fitter::QualityPays()
{
    std::size_t floor = 0;
    while (floor + 1 < m_ladder.size() && m_ladder[floor + 1].quality < m_ladder[floor].quality)
        ++floor;
    if (floor == 0 || m_ladder[floor].quality != kSoftQuality)
        return true;
    const std::optional<double> asked = Estimate(0);
    const std::optional<double> lowered = Estimate(floor);
    if (!asked || !lowered)
        return false;
    if (*lowered <= (1.0 - kQualityPays) * *asked)
        return true;
    m_ladder = BuildLadder(m_settings, m_count, m_options, m_settings.quality);
    m_estimates.clear();
    m_estimates[0] = *asked;
    return true;
}

bool Fitter::Encode(std::size_t i, Attempt& attempt)
{
    const GifFitStep& step = m_ladder[i];
    GifByteSink sink(m_options.limit, true);
    const GifProgress written = [&](std::size_t frames) { attempt.framesWritten = frames; };
    const bool ok = EncodeGifAnimation(sink, FramesFor(step), SupplierFor(step), SettingsFor(step), written, m_cancel);
    ++m_result.encodes;
    Report();
    if (Cancelled())
        return false;
    attempt.fits = ok;
    attempt.over = !ok && sink.Overflowed();
    if (ok)
        attempt.bytes = std::move(sink.Bytes());
    return ok || attempt.over;
}

GifFitResult Fitter::Run()
{
    if (m_count == 0 || m_options.limit <= 0 || m_ladder.empty())
        return m_result;
    if (!QualityPays())
        return m_result;
    const std::size_t last = m_ladder.size() - 1;
    std::optional<std::size_t> next = FirstUnderAim(0, last);
    std::optional<std::size_t> best;
    std::vector<std::uint8_t> bestBytes;
    int betterTries = 0;
    // Steps up to this one are known to be over the limit.
    std::optional<std::size_t> over;
    while (next && !Cancelled()) {
        const std::size_t i = *next;
        next.reset();
        Attempt attempt;
        if (!Encode(i, attempt))
            break;
        if (attempt.fits) {
            const double bytes = double(attempt.bytes.size());
            if (!best || i < *best) {
                best = i;
                bestBytes = std::move(attempt.bytes);
            }
            const std::size_t floor = over ? *over + 1 : 0;
            if (betterTries == kBetterTries || *best == floor || bytes >= kWellUsed * double(m_options.limit))
                break;
            // Use the file's size to correct the estimates, and try the step
            // they now say is the best that fits.
            ++betterTries;
            const std::optional<double> estimate = Estimate(i);
            if (!estimate)
                break;
            m_factor = bytes / *estimate;
            next = FirstUnderAim(floor, *best - 1);
            if (next && *next == *best - 1) {
                const std::optional<double> above = Estimate(*best - 1);
                if (!above || *above * m_factor > kAim * double(m_options.limit))
                    next.reset();
            }
            continue;
        }
        over = i;
        if (best || i == last)
            break;
        // The encode stopped at the limit after `framesWritten` frames: the
        // whole file would have been about this large.
        const std::optional<double> estimate = Estimate(i);
        if (!estimate)
            break;
        const double whole = double(m_options.limit) * double(FramesFor(m_ladder[i])) /
                             (double(attempt.framesWritten) + 0.5);
        m_factor = std::max(m_factor * 1.05, whole / *estimate);
        next = FirstUnderAim(i + 1, last);
    }
    if (Cancelled()) {
        m_result.outcome = GifFitOutcome::Cancelled;
        return m_result;
    }
    if (best) {
        m_result.outcome = GifFitOutcome::Fits;
        m_result.step = m_ladder[*best];
        m_result.settings = SettingsFor(m_result.step);
        m_result.frameCount = FramesFor(m_result.step);
        m_result.bytes = std::move(bestBytes);
        return m_result;
    }
    m_result.outcome = m_failed || !over || *over != last ? GifFitOutcome::Failed : GifFitOutcome::NothingFits;
    return m_result;
}

} // namespace

namespace {

// True when a picture of width x height scaled down into w x h the way frame
// preparation scales (the smaller factor, truncated) fills it: no black line
// along an edge.
bool FillsOutput(int w, int h, int width, int height)
{
    const double factor = std::min(double(w) / width, double(h) / height);
    return static_cast<int>(factor * width) == w && static_cast<int>(factor * height) == h;
}

// The output size near `scale` of width x height that the picture fills;
// false when there is none close by.
bool ScaledSize(int width, int height, double scale, int& w, int& h)
{
    const int around = int(std::lround(width * scale));
    for (int candidateW = around; candidateW >= std::max(1, around - 3); --candidateW) {
        const int ideal = int(std::lround(double(candidateW) * height / width));
        for (int candidateH : {ideal, ideal - 1, ideal + 1})
            if (candidateH >= 1 && FillsOutput(candidateW, candidateH, width, height)) {
                w = candidateW;
                h = candidateH;
                return true;
            }
    }
    return false;
}

std::vector<GifFitStep> BuildLadder(const GifEncodeSettings& settings, std::size_t count,
                                    const GifFitOptions& options, int softQuality)
{
    std::vector<GifFitStep> ladder;
    if (count == 0 || settings.width < 1 || settings.height < 1)
        return ladder;
    int width = settings.width;
    int height = settings.height;
    const int longer = std::max(width, height);
    if (options.maxSide > 0 && longer > options.maxSide) {
        // A size the pictures fill a few steps under the limit, or else the
        // limit as it is, with a black line at an edge.
        const double scale = double(options.maxSide) / longer;
        int w = std::max(1, int(double(width) * scale));
        int h = std::max(1, int(double(height) * scale));
        for (double tried = scale; tried > scale * 0.9; tried *= kScaleStep) {
            int fillW = 0;
            int fillH = 0;
            if (ScaledSize(width, height, tried, fillW, fillH) && std::max(fillW, fillH) <= options.maxSide) {
                w = fillW;
                h = fillH;
                break;
            }
        }
        width = std::min(w, options.maxSide);
        height = std::min(h, options.maxSide);
    }
    GifFitStep step{std::clamp(settings.quality, kGifMinQuality, kGifMaxQuality), width, height, 1};
    ladder.push_back(step);
    double scale = 1.0;
    // Pushes the steps from `scale` down to `floor`, one kScaleStep at a
    // time; false when the first of them would be too small.
    auto shrinkTo = [&](double floor) {
        for (;;) {
            const double next = scale * kScaleStep;
            int w = 0;
            int h = 0;
            if (next < floor || std::min(width, height) * next < kMinSide)
                return;
            scale = next;
            if (!ScaledSize(width, height, next, w, h))
                continue;
            if (std::min(w, h) < kMinSide)
                return;
            if (w != step.width || h != step.height) {
                step.width = w;
                step.height = h;
                ladder.push_back(step);
            }
        }
    };
    auto pass = [&](int qualityFloor, double scaleFloor, std::size_t keepFloor) {
        if (options.lowerQuality)
            while (step.quality > qualityFloor) {
                --step.quality;
                ladder.push_back(step);
            }
        if (options.shrink)
            shrinkTo(scaleFloor);
        if (!options.dropFrames)
            return;
        while (step.keepEvery < std::min(keepFloor, count)) {
            const std::size_t before = step.keepEvery;
            const auto grown = static_cast<std::size_t>(std::lround(double(before) * kKeepGrowth));
            step.keepEvery = std::min({std::max(before + 1, grown), keepFloor, count});
            // Fewer frames leave room for more pixels: the size goes back up
            // to where the file is a step smaller than the one before, then
            // down again, so that a limit between two frame rates is used.
            if (options.shrink) {
                const double roomier =
                    std::min(1.0, scale * kScaleStep * std::sqrt(double(step.keepEvery) / double(before)));
                int w = 0;
                int h = 0;
                if (roomier > scale && ScaledSize(width, height, roomier, w, h)) {
                    scale = roomier;
                    step.width = w;
                    step.height = h;
                }
            }
            ladder.push_back(step);
            if (options.shrink)
                shrinkTo(scaleFloor);
        }
    };
    pass(softQuality, kSoftScale, kSoftKeepEvery);
    pass(kGifMinQuality, 0.0, count);
    return ladder;
}

} // namespace

std::vector<GifFitStep> GifFitLadder(const GifEncodeSettings& settings, std::size_t count,
                                     const GifFitOptions& options)
{
    return BuildLadder(settings, count, options, kSoftQuality);
}

std::vector<std::size_t> GifKeptFrames(std::size_t count, std::size_t keepEvery)
{
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < count; i += std::max<std::size_t>(1, keepEvery))
        kept.push_back(i);
    return kept;
}

std::vector<int> GifKeptDelays(const std::vector<int>& delays, std::size_t keepEvery)
{
    keepEvery = std::max<std::size_t>(1, keepEvery);
    std::vector<int> kept;
    for (std::size_t i = 0; i < delays.size(); i += keepEvery) {
        long long sum = 0;
        for (std::size_t j = i; j < std::min(delays.size(), i + keepEvery); ++j)
            sum += delays[j];
        kept.push_back(int(std::min<long long>(sum, kGifMaxField)));
    }
    return kept;
}

GifFitResult FitGifUnderLimit(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
                              const GifFitOptions& options, const GifFitProgress& progress,
                              const std::atomic<bool>* cancel)
{
    return Fitter(count, supply, settings, options, progress, cancel).Run();
}
