#include "sizing/gif_size_fit.h"

#include "format/gif_format.h"
#include "io/atomic_file.h"
#include "sizing/gif_byte_sink.h"
#include "sizing/gif_size_estimate.h"

#include <wx/intl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <utility>

namespace {

// The first pass stops at these; only when nothing fits there does the
// second go further. Butteraugli rates a lower quality better than a smaller
// size at the same file size, all the way down, as long as the size stays;
// once the size has to go down too, a quality below about this one streaks
// photos worse than a little more scaling blurs them (docs/performance.md).
constexpr int kSoftQuality = 30;
constexpr double kSoftScale = 0.15;
constexpr std::size_t kSoftKeepEvery = 3;
// Lowering the quality to 1 must save at least this share of the
// file to be worth its look; otherwise (screen content of few colours, where
// the colours are kept whatever the quality) the size goes down first.
constexpr double kQualityPays = 0.25;
// Each size step is 3% off the width and height: about 6% off the pixels.
constexpr double kScaleStep = 0.97;
constexpr int kMinSide = 16;
// Sizes at these whole ratios of the output asked are steps too: text and
// lines scaled by them fall on a regular grid of pixels and compress far
// better than at the sizes around them (a screen recording at 1/2 or 3/4 of
// its size made a file 17 to 28% smaller than at sizes 1 to 2% larger or
// smaller; docs/performance.md).
constexpr struct {
    int numerator;
    int denominator;
} kWholeRatios[] = {{3, 4}, {2, 3}, {1, 2}, {1, 3}, {1, 4}};
// Keeping every k-th frame grows k by a quarter at a time beyond the floor.
constexpr double kKeepGrowth = 1.25;
// Before any whole file has been seen the estimates aim this far under the
// limit, so that their error (within 15%) mostly lands under it; once a
// whole file has corrected them, they aim close to the limit itself.
constexpr double kFirstAim = 0.96;
constexpr double kCorrectedAim = 1.0;
// Neighbouring steps whose estimates differ by less than this share are not
// told apart by more estimates.
constexpr double kFirstSettled = 0.06;
constexpr double kCorrectedSettled = 0.015;
// A read this close to the aim is probably next to the answer.
constexpr double kNear = 0.03;
// A file that uses this much of the limit is kept without trying for more.
constexpr double kWellUsed = 0.985;
// A step found over the limit was at least this much over it.
constexpr double kOverMargin = 1.02;
// A whole encode gives up once it has seen this many frames (and a quarter
// of them, or half before any file fits: the size it reads then also
// corrects the estimates) and foresees a file over the limit by more than this share of it
// times the share of frames left: read against the best file, for a step at
// least kFarSteps from the best (nearer steps grow more like the best: less);
// before any file fits, always.
// A cartoon's step four qualities up read 3.4% high after a quarter of its
// frames; eight photos read 4 to 11% low after three of them.
constexpr std::size_t kMinForeseenFrames = 3;
constexpr double kForeseenSlack = 0.05;
constexpr std::size_t kFarSteps = 4;
// The step before the best one is tried whole when its estimate is within
// this share over the limit (neighbouring qualities differ by 0.5 to 2% of
// the file, less than the estimates' own error; sizes read between two whole
// files are near exact and get no slack), and the best leaves at least the
// smallest such difference unused.
constexpr double kNeighbourSlack = 1.03;
// A best file that leaves more than this share unused makes room for the next
// quality up whatever the estimates say (they can jump by a tenth between
// neighbours where the files differ by 1.5%), and a try read against the
// best costs little when it does not fit.
constexpr double kNeighbourSure = 0.97;
constexpr double kNeighbourRoom = 0.995;
// A size at a whole ratio is tried whole when its estimate is within this
// share over the limit: the sample, of frames that change little, read such
// sizes up to a fifth too large where neighbouring sizes read close.
constexpr double kRatioSlack = 1.25;
// Whole encodes tried at most once a file fits, each counted by the share of
// its frames written (about a save for the whole)...
constexpr double kMaxEncodes = 3;
// ... and while the best file uses less than this share of the limit, these.
constexpr double kPoorlyUsed = 0.85;
constexpr double kMaxEncodesPoorlyUsed = 5;
// Frames kept decoded between candidates, in bytes of pixels.
constexpr std::size_t kFrameCacheBytes = 96u * 1024 * 1024;
// Share of the progress an estimate and a whole encode count for.
constexpr int kEstimatePercent = 4;
constexpr int kEncodePercent = 30;
constexpr int kMaxPercent = 99;

std::vector<GifFitStep> BuildLadder(const GifEncodeSettings& settings, std::size_t count,
                                    const GifFitOptions& options, bool qualityFirst);
bool AtWholeRatio(int w, int h, int width, int height);

// The step between `above` and `below` (sizes known there) at which a size
// falling by the same share per step reaches `aim`, rounded towards `below`:
// files lose more bytes per step at high quality than at low.
std::size_t ReadBetween(std::size_t above, double aboveBytes, std::size_t below, double belowBytes, double aim)
{
    const double t = std::log(aboveBytes / aim) / std::log(aboveBytes / belowBytes);
    return above + static_cast<std::size_t>(std::ceil(t * double(below - above)));
}

std::vector<int> FrameDelays(const GifEncodeSettings& settings, std::size_t count)
{
    return settings.delaysCs.empty() ? std::vector<int>(count, settings.delayCs) : settings.delaysCs;
}

// Keeps the frames supplied, up to kFrameCacheBytes, so that the candidates
// after the first do not decode them again. Each caller gets its own copy:
// the supplier's pictures are owned by one thread at a time.
class FrameCache {
public:
    explicit FrameCache(const GifFrameSupplier& supply) : m_supply(supply) {}

    GifFrameSupplier Supplier()
    {
        return [this](std::size_t index) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                const auto kept = m_frames.find(index);
                if (kept != m_frames.end())
                    return kept->second.Copy();
            }
            wxImage picture = m_supply(index);
            if (!picture.IsOk())
                return picture;
            const std::size_t bytes = std::size_t(picture.GetWidth()) * std::size_t(picture.GetHeight()) *
                                      (picture.HasAlpha() ? 4 : 3);
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bytes + bytes <= kFrameCacheBytes && m_frames.find(index) == m_frames.end()) {
                m_frames.emplace(index, picture.Copy());
                m_bytes += bytes;
            }
            return picture;
        };
    }

private:
    const GifFrameSupplier& m_supply;
    std::mutex m_mutex;
    std::map<std::size_t, wxImage> m_frames;
    std::size_t m_bytes = 0;
};

class Fitter {
public:
    Fitter(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
           const GifFitOptions& options, const wxString& path, const GifFitProgress& progress,
           const std::atomic<bool>* cancel)
        : m_count(count), m_cache(supply), m_supply(m_cache.Supplier()), m_settings(settings), m_options(options),
          m_path(path), m_progress(progress), m_cancel(cancel), m_ladder(GifFitLadder(settings, count, options))
    {
    }

    GifFitResult Run();

private:
    enum class Written { Fits, Over, Failed };

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
    double Aim() const { return (m_corrected ? kCorrectedAim : kFirstAim) * double(m_options.limit); }
    double Settled() const { return m_corrected ? kCorrectedSettled : kFirstSettled; }

    // The estimate of step i, made once; nullopt when it failed.
    std::optional<double> Estimate(std::size_t i);
    // The first step in [low, high] whose estimate times m_factor is under
    // the aim; `high` when none is. Files shrink along the ladder, smoothly
    // enough that the size read between two known steps points near the
    // answer; halving takes over when it does not.
    std::optional<std::size_t> FirstUnderAim(std::size_t low, std::size_t high);
    // Encodes step i whole into a new candidate file, stopped at the limit;
    // a file that fits replaces the best so far when it is nearer the start.
    // Once a file fits, the encode reads its frames against the best file's:
    // the bytes it writes beyond the best's at the same frame, carried on over
    // the frames left, tell the whole file's size long before its end (another
    // step's frames each grow or shrink by about the same share), and the
    // encode gives up, as over the limit, once that passes the limit. Before
    // any file fits, the frames written foretell the others the same way. The
    // size of a file that went over is kept in m_sizes.
    Written Encode(std::size_t i);
    // The size of a whole file of `frames` frames, foretold from the bytes
    // after each of its first frames (`ends`): the first frame stands alone;
    // the others grow or shrink by about the same share of their size as the
    // best file's (when it can be read against the best), or else are taken
    // to be like those written. 0 when it cannot be told yet.
    double Foresee(const std::vector<long long>& ends, std::size_t frames) const;
    // The size foretold after `done` of step i's `frames` frames above which
    // the encode gives up: early reads of a step far from the best may be off
    // by a few percent (the frames seen may grow more or less than the
    // others); a neighbour's frames grow alike; at the end the read is exact.
    double GiveUpAbove(std::size_t i, std::size_t done, std::size_t frames) const;
    // The step between `over` (too large) and the best file that the sizes
    // of the two whole files put nearest the limit; nullopt when they are
    // neighbours. Files shrink along the ladder nearly in a straight line
    // between two steps near the answer.
    std::optional<std::size_t> Between(std::size_t over) const;
    // Above the best file, where no file went over: the step that the
    // estimates made so far, corrected by the best file, put at the limit,
    // when its file can be read against the best's (it then costs little
    // where it does not fit); otherwise the first under the aim found by
    // more estimates.
    std::optional<std::size_t> AboveBest(std::size_t floor);
    // Step i's file can be read frame by frame against the best file's.
    bool ReadsAgainstBest(std::size_t i) const
    {
        const GifFitStep& step = m_ladder[i];
        const GifFitStep& best = m_ladder[*m_best];
        return FramesFor(step) == m_bestEnds.size() && m_bestEnds.size() >= kMinForeseenFrames &&
               step.width == best.width && step.height == best.height;
    }
    // When lowering the quality to the first floor saves little, the ladder
    // keeps the quality until the second pass. False when an estimate failed.
    bool QualityPays();
    // After the search: the sizes at whole ratios before the best, which the
    // search cannot find where the file does not shrink steadily with the
    // size (screen content), then the step just before the best. False when
    // an estimate or encode failed.
    bool Refine();
    // Whole encodes left once a file fits.
    bool CanEncode() const
    {
        const bool poorlyUsed = m_best && double(m_bestBytes) < kPoorlyUsed * double(m_options.limit);
        return m_encodeCost < (poorlyUsed ? kMaxEncodesPoorlyUsed : kMaxEncodes);
    }

    std::size_t m_count;
    FrameCache m_cache;
    GifFrameSupplier m_supply;
    const GifEncodeSettings& m_settings;
    const GifFitOptions& m_options;
    const wxString& m_path;
    const GifFitProgress& m_progress;
    const std::atomic<bool>* m_cancel;
    std::vector<GifFitStep> m_ladder;
    std::map<std::size_t, double> m_estimates;
    // Whole files came out this much larger than their estimates.
    double m_factor = 1.0;
    bool m_corrected = false;
    bool m_failed = false;
    // Quality did not pay: the content is of few colours (text, lines).
    bool m_fewColours = false;
    // Steps whose whole encode went over the limit.
    std::set<std::size_t> m_over;
    // Sizes of the whole files that went over: foreseen against the best
    // file (the steps in m_foreseen) or else from the frames written.
    std::map<std::size_t, double> m_sizes;
    // Steps over the limit whose size was read against the best file's.
    std::set<std::size_t> m_foreseen;
    // Whole encodes read against the same best file that went over.
    int m_oversInARow = 0;
    // Whole encodes made, each counted by the share of its frames written.
    double m_encodeCost = 0;
    std::optional<std::size_t> m_best;
    std::unique_ptr<AtomicFile> m_bestFile;
    long long m_bestBytes = 0;
    // Bytes of the best file after each frame.
    std::vector<long long> m_bestEnds;
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
    const double aim = Aim();
    // Steps already estimated narrow the range at no cost.
    for (const auto& [i, bytes] : m_estimates) {
        if (i < low || i > high)
            continue;
        if (bytes * m_factor <= aim)
            high = std::min(high, i);
        else if (i + 1 <= high)
            low = std::max(low, i + 1);
    }
    // Reads take turns: a read between the known sizes, then its neighbour
    // on the side of the answer (which settles a good read), then, when the
    // two did not halve the range, a halving (which bounds poor reads).
    enum class Turn { Read, Neighbour, Halve };
    Turn turn = Turn::Read;
    std::size_t probed = 0;
    bool probedUnder = false;
    std::size_t rangeAtRead = high - low;
    while (low < high) {
        if (turn == Turn::Halve && 2 * (high - low) <= rangeAtRead)
            turn = Turn::Read;
        if (turn == Turn::Read)
            rangeAtRead = high - low;
        std::size_t middle = low + (high - low) / 2;
        const auto above = low > 0 ? m_estimates.find(low - 1) : m_estimates.end();
        const auto below = m_estimates.find(high);
        const bool bracketed = above != m_estimates.end() && below != m_estimates.end() &&
                               above->second * m_factor > aim && below->second * m_factor <= aim;
        // Steps this close differ by less than the estimates' own error.
        if (bracketed && above->second - below->second <= Settled() * above->second)
            return high;
        if (turn == Turn::Read && bracketed) {
            middle = std::clamp<std::size_t>(
                ReadBetween(low - 1, above->second * m_factor, high, below->second * m_factor, aim), low, high - 1);
        } else if (turn == Turn::Neighbour) {
            middle = std::clamp<std::size_t>(probedUnder ? probed - 1 : probed + 1, low, high - 1);
        }
        const std::optional<double> estimate = Estimate(middle);
        if (!estimate)
            return std::nullopt;
        probed = middle;
        probedUnder = *estimate * m_factor <= aim;
        if (probedUnder)
            high = middle;
        else
            low = middle + 1;
        // A read that landed near the aim is settled by its neighbour; one
        // that did not is followed by another read.
        const bool near = std::abs(*estimate * m_factor - aim) <= kNear * aim;
        // Before any whole file, a read just under the aim is as close as the
        // estimates can tell: the file itself will correct them.
        if (!m_corrected && near && probedUnder)
            return middle;
        turn = turn == Turn::Read ? (near ? Turn::Neighbour : Turn::Halve)
                                  : turn == Turn::Neighbour ? Turn::Halve : Turn::Read;
    }
    return low;
}

bool Fitter::QualityPays()
{
    std::size_t floor = 0;
    while (floor + 1 < m_ladder.size() && m_ladder[floor + 1].quality < m_ladder[floor].quality)
        ++floor;
    if (floor == 0 || m_ladder[floor].quality != kGifMinQuality)
        return true;
    const std::optional<double> asked = Estimate(0);
    const std::optional<double> lowered = Estimate(floor);
    if (!asked || !lowered)
        return false;
    if (*lowered <= (1.0 - kQualityPays) * *asked)
        return true;
    m_fewColours = true;
    m_ladder = BuildLadder(m_settings, m_count, m_options, false);
    m_estimates.clear();
    m_estimates[0] = *asked;
    return true;
}

Fitter::Written Fitter::Encode(std::size_t i)
{
    const GifFitStep& step = m_ladder[i];
    auto file = std::make_unique<AtomicFile>(m_path);
    if (!file->Open(&m_result.error))
        return Written::Failed;
    GifByteSink sink(m_options.limit, &file->Stream());
    const std::size_t frames = FramesFor(step);
    // Frames of another size or rate do not grow in step with the best's
    // (text scaled by a whole ratio shrinks far more than around it).
    const bool againstBest = m_best && ReadsAgainstBest(i);
    std::vector<long long> ends;
    std::size_t framesWritten = 0;
    double foreseen = 0;
    std::atomic<bool> stop{false};
    bool gaveUp = false;
    const GifProgress written = [&](std::size_t done) {
        framesWritten = done;
        ends.resize(done, sink.Count());
        // The engine watches `stop` instead of the caller's flag.
        if (Cancelled())
            stop = true;
        if (m_best && !againstBest)
            return;
        foreseen = Foresee(ends, frames);
        const std::size_t enough = std::max(kMinForeseenFrames, frames / (againstBest ? 4 : 2));
        if (done >= enough && foreseen > GiveUpAbove(i, done, frames)) {
            gaveUp = true;
            stop = true;
        }
    };
    const bool ok = EncodeGifAnimation(sink, frames, SupplierFor(step), SettingsFor(step), written, &stop);
    ++m_result.encodes;
    m_encodeCost += ok ? 1.0 : double(framesWritten) / double(frames);
    Report();
    if (Cancelled())
        return Written::Failed;
    if (!ok && (sink.Overflowed() || gaveUp)) {
        m_over.insert(i);
        if (foreseen > 0)
            m_sizes[i] = std::max(foreseen, double(m_options.limit) + 1);
        else
            m_sizes[i] = double(m_options.limit) * double(frames) / (double(framesWritten) + 0.5);
        if (againstBest && foreseen > 0) {
            m_foreseen.insert(i);
            ++m_oversInARow;
        }
        return Written::Over;
    }
    if (!ok) {
        // A write refused by the disk, not by the limit: no candidate can be kept.
        if (!file->Stream().IsOk()) {
            file->Commit(false, &m_result.error);
            if (m_result.error.empty())
                m_result.error = _("The data could not be produced.");
        }
        return Written::Failed;
    }
    if (!m_best || i < *m_best) {
        m_best = i;
        m_bestFile = std::move(file);
        m_bestBytes = sink.Count();
        m_bestEnds = std::move(ends);
        m_oversInARow = 0;
    }
    return Written::Fits;
}

double Fitter::Foresee(const std::vector<long long>& ends, std::size_t frames) const
{
    const std::size_t done = ends.size();
    if (done < 2)
        return 0;
    const double later = double(ends[done - 1] - ends[0]);
    if (!m_best)
        return double(ends[0]) + later * double(frames - 1) / double(done - 1);
    const double bestLater = double(m_bestEnds[done - 1] - m_bestEnds[0]);
    return bestLater > 0 ? double(ends[0]) + later / bestLater * double(m_bestBytes - m_bestEnds[0]) : 0;
}

double Fitter::GiveUpAbove(std::size_t i, std::size_t done, std::size_t frames) const
{
    const std::size_t apart = !m_best ? kFarSteps : i > *m_best ? i - *m_best : *m_best - i;
    const double slack =
        kForeseenSlack * std::min(1.0, double(apart) / double(kFarSteps)) * double(frames - done) / double(frames);
    return (1.0 + slack) * double(m_options.limit);
}

std::optional<std::size_t> Fitter::Between(std::size_t over) const
{
    const std::size_t best = *m_best;
    if (best <= over + 1)
        return std::nullopt;
    const double overBytes = m_sizes.at(over);
    // Each time the step read went over again, the best counts as half as
    // far under the limit, so that reads that keep landing just over (sizes
    // foreseen a little low, a curve that bends) close in on the best.
    const double under = double(m_options.limit - m_bestBytes) / std::pow(2.0, std::max(0, m_oversInARow - 1));
    const double t = (overBytes - double(m_options.limit)) / (overBytes - double(m_options.limit) + under);
    const auto offset = static_cast<std::size_t>(std::ceil(t * double(best - over)));
    return std::clamp<std::size_t>(over + offset, over + 1, best - 1);
}

std::optional<std::size_t> Fitter::AboveBest(std::size_t floor)
{
    const std::size_t best = *m_best;
    const double limit = double(m_options.limit);
    // The estimates read true at the settings asked (within a few percent on
    // every set measured) and as far off as the best file says at its step:
    // a sample's frames can shrink more or less than the others as the
    // quality falls. In between, the correction is taken to grow evenly.
    const auto corrected = [&](std::size_t i, double bytes) {
        return bytes * (1.0 + (m_factor - 1.0) * double(i) / double(best));
    };
    std::optional<std::size_t> above;
    for (const auto& [i, bytes] : m_estimates)
        if (i >= floor && i < best && corrected(i, bytes) > limit)
            above = i;
    std::size_t j = floor;
    if (above) {
        // The next step read is under the limit; past it, the best file.
        const auto next = m_estimates.upper_bound(*above);
        const bool read = next != m_estimates.end() && next->first < best;
        const std::size_t below = read ? next->first : best;
        const double belowBytes = read ? corrected(next->first, next->second) : double(m_bestBytes);
        const double aboveBytes = corrected(*above, m_estimates.at(*above));
        j = std::clamp<std::size_t>(ReadBetween(*above, aboveBytes, below, belowBytes, limit), *above + 1, below);
    }
    if (j >= best)
        return std::nullopt;
    if (!ReadsAgainstBest(j))
        return FirstUnderAim(floor, best);
    return j;
}

bool Fitter::Refine()
{
    if (m_fewColours)
        for (std::size_t i = 1; i < *m_best && CanEncode(); ++i) {
            const GifFitStep& step = m_ladder[i];
            if (m_over.count(i) || !AtWholeRatio(step.width, step.height, m_settings.width, m_settings.height))
                continue;
            const std::optional<double> estimate = Estimate(i);
            if (!estimate)
                return true;
            if (*estimate * m_factor > kRatioSlack * double(m_options.limit))
                continue;
            const Written written = Encode(i);
            if (written == Written::Failed)
                return false;
            if (written == Written::Fits)
                break;
        }
    const std::size_t before = *m_best - 1;
    if (*m_best == 0 || m_over.count(before) || !CanEncode() ||
        double(m_bestBytes) >= kNeighbourRoom * double(m_options.limit))
        return true;
    const double limit = double(m_options.limit);
    const auto over = m_foreseen.lower_bound(before);
    if (over != m_foreseen.begin()) {
        // Between a file that went over and the best, the sizes of the two
        // say more than an estimate.
        const std::size_t o = *std::prev(over);
        const double share = double(*m_best - before) / double(*m_best - o);
        if (double(m_bestBytes) + (m_sizes.at(o) - double(m_bestBytes)) * share > limit)
            return true;
    } else if (!ReadsAgainstBest(before) || double(m_bestBytes) >= kNeighbourSure * limit) {
        const std::optional<double> estimate = Estimate(before);
        if (!estimate || *estimate * m_factor > kNeighbourSlack * limit)
            return true;
    }
    return Encode(before) != Written::Failed;
}

GifFitResult Fitter::Run()
{
    if (m_count == 0 || m_options.limit <= 0 || m_ladder.empty())
        return m_result;
    if (!QualityPays())
        return m_result;
    const std::size_t last = m_ladder.size() - 1;
    // Steps up to this one are known to be over the limit.
    std::optional<std::size_t> over;
    std::optional<std::size_t> next = FirstUnderAim(0, last);
    bool broken = false;
    while (next && !Cancelled() && (!m_best || CanEncode())) {
        const std::size_t i = *next;
        next.reset();
        const Written written = Encode(i);
        if (written == Written::Failed) {
            broken = true;
            break;
        }
        if (written == Written::Fits) {
            // The file corrects the estimates (when the step was chosen by one).
            const auto estimate = m_estimates.find(i);
            if (estimate != m_estimates.end()) {
                m_factor = double(m_bestBytes) / estimate->second;
                m_corrected = true;
            }
            const std::size_t floor = over ? *over + 1 : 0;
            if (*m_best == floor || double(m_bestBytes) >= kWellUsed * double(m_options.limit))
                break;
            // Between two whole files their sizes point to the answer; above
            // the best alone the corrected estimates say whether a step
            // nearer the start fits.
            next = over && m_foreseen.count(*over) ? Between(*over) : AboveBest(floor);
            if (next && *next == *m_best)
                next.reset();
            continue;
        }
        over = std::max(over.value_or(0), i);
        if (i == last || (m_best && *m_best == i + 1))
            break;
        if (m_foreseen.count(i)) {
            next = Between(i);
            continue;
        }
        // The estimates read low here: after a file that fitted, a little;
        // before, by at least what the frames written suggest.
        const std::optional<double> estimate = Estimate(i);
        if (!estimate)
            break;
        m_factor = m_best ? std::max(m_factor, kOverMargin * double(m_options.limit) / *estimate)
                          : std::max(m_factor * kOverMargin, m_sizes.at(i) / *estimate);
        m_corrected = true;
        next = FirstUnderAim(i + 1, m_best ? *m_best : last);
        if (m_best && next && *next == *m_best)
            next.reset();
    }
    if (m_best && !broken && !Cancelled())
        broken = !Refine();
    if (Cancelled()) {
        m_result.outcome = GifFitOutcome::Cancelled;
        return m_result;
    }
    if (broken && !m_result.error.empty()) {
        m_result.outcome = GifFitOutcome::Unwritable;
        return m_result;
    }
    if (m_best && !broken) {
        if (!m_bestFile->Commit(true, &m_result.error)) {
            m_result.outcome = GifFitOutcome::Unwritable;
            return m_result;
        }
        m_result.outcome = GifFitOutcome::Fits;
        m_result.step = m_ladder[*m_best];
        m_result.settings = SettingsFor(m_result.step);
        m_result.frameCount = FramesFor(m_result.step);
        m_result.fileSize = m_bestBytes;
        return m_result;
    }
    m_result.outcome = m_failed || broken || !over || *over != last ? GifFitOutcome::Failed : GifFitOutcome::NothingFits;
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

bool AtWholeRatio(int w, int h, int width, int height)
{
    for (const auto& ratio : kWholeRatios)
        if (w * ratio.denominator == width * ratio.numerator && h * ratio.denominator == height * ratio.numerator &&
            FillsOutput(w, h, width, height))
            return true;
    return false;
}

// The output size near `scale` of width x height that the picture fills;
// false when there is none close by.
bool ScaledSize(int width, int height, double scale, int& w, int& h)
{
    const int around = int(std::lround(width * scale));
    // Wide pictures fill few widths (16:9 only every 16th): look a few
    // percent down, less than a step.
    const int lowest = std::max(1, around - std::max(3, around / 40));
    for (int candidateW = around; candidateW >= lowest; --candidateW) {
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
                                    const GifFitOptions& options, bool qualityFirst)
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
    // Pushes the sizes at whole ratios of the output asked that lie between
    // the last step and w pixels wide, and at least `floor` of the width.
    auto pushRatiosAbove = [&](int w, double floor) {
        for (const auto& ratio : kWholeRatios) {
            const int ratioW = settings.width * ratio.numerator / ratio.denominator;
            const int ratioH = settings.height * ratio.numerator / ratio.denominator;
            if (ratioW < step.width && ratioW > w && ratioW >= floor * width && std::min(ratioW, ratioH) >= kMinSide &&
                AtWholeRatio(ratioW, ratioH, settings.width, settings.height)) {
                step.width = ratioW;
                step.height = ratioH;
                ladder.push_back(step);
            }
        }
    };
    // Pushes the steps from `scale` down to `floor`, one kScaleStep at a
    // time; false when the first of them would be too small.
    auto shrinkTo = [&](double floor) {
        for (;;) {
            const double next = scale * kScaleStep;
            int w = 0;
            int h = 0;
            if (next < floor || std::min(width, height) * next < kMinSide) {
                pushRatiosAbove(0, floor);
                return;
            }
            scale = next;
            if (!ScaledSize(width, height, next, w, h))
                continue;
            if (std::min(w, h) < kMinSide) {
                pushRatiosAbove(0, floor);
                return;
            }
            pushRatiosAbove(w, floor);
            if (w != step.width || h != step.height) {
                step.width = w;
                step.height = h;
                ladder.push_back(step);
            }
        }
    };
    // After the quality went down to qualityFloor at this size, the steps
    // that shrink or drop frames start again from `resumeQuality` when it is
    // higher.
    auto pass = [&](int qualityFloor, double scaleFloor, std::size_t keepFloor, int resumeQuality) {
        if (options.lowerQuality)
            while (step.quality > qualityFloor) {
                --step.quality;
                ladder.push_back(step);
            }
        step.quality = std::max(step.quality, resumeQuality);
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
    if (qualityFirst)
        pass(kGifMinQuality, kSoftScale, kSoftKeepEvery, std::min(step.quality, kSoftQuality));
    else
        pass(step.quality, kSoftScale, kSoftKeepEvery, step.quality);
    pass(kGifMinQuality, 0.0, count, kGifMinQuality);
    return ladder;
}

} // namespace

std::vector<GifFitStep> GifFitLadder(const GifEncodeSettings& settings, std::size_t count,
                                     const GifFitOptions& options)
{
    return BuildLadder(settings, count, options, true);
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
                              const GifFitOptions& options, const wxString& path, const GifFitProgress& progress,
                              const std::atomic<bool>* cancel)
{
    return Fitter(count, supply, settings, options, path, progress, cancel).Run();
}
