#include "palette/gif_edge_dither.h"

#include "palette/gif_nearest_colour.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using Map = std::vector<std::uint8_t>;

// The map's value (255 dithers fully) where the picture is smooth, and at
// least this in noise: noisy pixels still take some error.
constexpr int kNoiseFloor = 80;
constexpr int kNoiseRange = 176;
// Half-width of the box blur that spreads the noise map.
constexpr int kBlurRadius = 3;
// How a run of one entry in the undithered mapping counts: per pixel of the
// run, and per pixel above or below it with the same entry. Long runs are
// bands, and get the map's full value; lone pixels a third of it.
constexpr int kRunWeight = 10;
constexpr int kNeighbourWeight = 15;
constexpr int kRunHalf = 20;
// Errors are carried in sixteenths of a level. Scaled errors below this
// (squared length) are not worth a different entry; those above the limit
// below are shortened by 4/5 before use and passed on at 3/4.
constexpr int kFraction = 16;
constexpr int kNegligible = 2 * kFraction * kFraction;
// The limit: 2.4 times the palette's mean squared error, at least a quarter
// of the colour range.
constexpr double kErrorLimitFactor = 2.4;
constexpr double kMinErrorLimit = 255.0 * 255.0 / 16.0;
// A dithered colour may overshoot the range by a tenth before it is scaled
// back: clipping every channel at the range's ends would leave bands there.
constexpr int kOvershoot = 255 * kFraction / 10;
// Of the strength asked for. Palettes that give small areas of their own
// colour entries need less diffusion: on large photos 0.32 made files a
// tenth smaller than 0.8 for about 0.1 more butteraugli (docs/performance.md).
constexpr double kStrengthShare = 0.32;
// sRGB levels to the space colours are matched in.
constexpr double kGammaPower = 0.5499 / 0.45455;

int Clamp255(int value)
{
    return std::clamp(value, 0, 255);
}

// For each pixel: the largest (or smallest) of it and its four neighbours.
template <class Pick>
void Cross(const Map& from, Map& to, int width, int height, Pick pick)
{
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = from.data() + std::size_t(y) * width;
        const std::uint8_t* above = from.data() + std::size_t(std::max(y - 1, 0)) * width;
        const std::uint8_t* below = from.data() + std::size_t(std::min(y + 1, height - 1)) * width;
        std::uint8_t* out = to.data() + std::size_t(y) * width;
        const auto edge = [&](int x) {
            const std::uint8_t sides = pick(row[std::max(x - 1, 0)], row[std::min(x + 1, width - 1)]);
            out[x] = pick(pick(row[x], sides), pick(above[x], below[x]));
        };
        edge(0);
        // Inside the row no neighbour needs clamping.
        for (int x = 1; x < width - 1; ++x)
            out[x] = pick(pick(row[x - 1], row[x + 1]), pick(row[x], pick(above[x], below[x])));
        if (width > 1)
            edge(width - 1);
    }
}

void Max3(const Map& from, Map& to, int width, int height)
{
    Cross(from, to, width, height, [](std::uint8_t a, std::uint8_t b) { return std::max(a, b); });
}

void Min3(const Map& from, Map& to, int width, int height)
{
    Cross(from, to, width, height, [](std::uint8_t a, std::uint8_t b) { return std::min(a, b); });
}

// Box blur, along the rows into `scratch` and then down the columns back
// into `map`, with the picture's border pixels repeated outward.
void Blur(Map& map, Map& scratch, int width, int height)
{
    constexpr int taps = 2 * kBlurRadius + 1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = map.data() + std::size_t(y) * width;
        std::uint8_t* out = scratch.data() + std::size_t(y) * width;
        const auto at = [&](int x) { return int(row[std::clamp(x, 0, width - 1)]); };
        int sum = 0;
        for (int x = -kBlurRadius; x <= kBlurRadius; ++x)
            sum += at(x);
        for (int x = 0; x < width; ++x) {
            out[x] = static_cast<std::uint8_t>((sum + taps / 2) / taps);
            sum += at(x + kBlurRadius + 1) - at(x - kBlurRadius);
        }
    }
    // A running sum per column, moved down a row at a time.
    const auto row = [&](int y) { return scratch.data() + std::size_t(std::clamp(y, 0, height - 1)) * width; };
    std::vector<int> sums(width, 0);
    for (int y = -kBlurRadius; y <= kBlurRadius; ++y) {
        const std::uint8_t* from = row(y);
        for (int x = 0; x < width; ++x)
            sums[x] += from[x];
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = map.data() + std::size_t(y) * width;
        const std::uint8_t* entering = row(y + kBlurRadius + 1);
        const std::uint8_t* leaving = row(y - kBlurRadius);
        for (int x = 0; x < width; ++x) {
            out[x] = static_cast<std::uint8_t>((sums[x] + taps / 2) / taps);
            sums[x] += entering[x] - leaving[x];
        }
    }
}

// How much each pixel may be dithered, from the picture alone: low at edges
// (second differences across or along the rows) and, spread a little, in
// texture and noise, where dithering only adds grain.
Map ContrastMap(const unsigned char* rgb, int width, int height)
{
    const std::size_t pixels = std::size_t(width) * height;
    Map noise(pixels), edges(pixels), scratch(pixels);
    int fade[256];
    for (int t = 0; t < 256; ++t) {
        const double z = (255 - t) / 255.0;
        fade[t] = int(z * z * z * z * kNoiseRange);
    }
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgb + y * rowBytes;
        const unsigned char* above = rgb + std::max(y - 1, 0) * rowBytes;
        const unsigned char* below = rgb + std::min(y + 1, height - 1) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = std::size_t(x) * 3;
            const std::size_t left = std::size_t(std::max(x - 1, 0)) * 3;
            const std::size_t right = std::size_t(std::min(x + 1, width - 1)) * 3;
            int across = 0, along = 0;
            for (int c = 0; c < 3; ++c) {
                across = std::max(across, std::abs(row[left + c] + row[right + c] - 2 * row[at + c]));
                along = std::max(along, std::abs(above[at + c] + below[at + c] - 2 * row[at + c]));
            }
            const int edge = std::max(across, along);
            const int texture = std::min(255, std::max(edge - std::abs(across - along) / 2, std::min(across, along)));
            const std::size_t pixel = std::size_t(y) * width + x;
            noise[pixel] = static_cast<std::uint8_t>(std::min(255, kNoiseFloor + fade[texture]));
            edges[pixel] = static_cast<std::uint8_t>(Clamp255(255 - edge * 256 / 255));
        }
    }
    Max3(noise, scratch, width, height);
    Max3(scratch, noise, width, height);
    Blur(noise, scratch, width, height);
    Max3(noise, scratch, width, height);
    Min3(scratch, noise, width, height);
    Min3(noise, scratch, width, height);
    Min3(scratch, noise, width, height);
    Min3(edges, scratch, width, height);
    Max3(scratch, edges, width, height);
    for (std::size_t p = 0; p < pixels; ++p)
        edges[p] = std::min(noise[p], edges[p]);
    return edges;
}

// Lowers the map where the undithered mapping is busy: a run of one entry
// along a row keeps more of its value the longer it is and the more pixels
// above and below it share its entry.
void WeighRuns(Map& map, const std::uint8_t* nearest, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = nearest + std::size_t(y) * width;
        int start = 0;
        for (int x = 1; x <= width; ++x) {
            if (x < width && row[x] == row[start])
                continue;
            int count = kRunWeight * (x - start);
            for (int i = start; i < x; ++i) {
                if (y > 0 && row[i - width] == row[start])
                    count += kNeighbourWeight;
                if (y + 1 < height && row[i + width] == row[start])
                    count += kNeighbourWeight;
            }
            // In 64 bits: a flat band of 600 pixels and more (a letterbox bar
            // across a video frame) overflowed 32.
            const long long scale = 255LL * count;
            const long long divisor = 383LL * (kRunHalf + count);
            for (int i = start; i < x; ++i) {
                std::uint8_t& value = map[std::size_t(y) * width + i];
                value = static_cast<std::uint8_t>((value + 128) * scale / divisor);
            }
            start = x;
        }
    }
}

// Colours are matched and errors measured in a space darker than sRGB,
// nearer to the light the eye gets: dithered mixes of two entries then look
// like the colour they stand for, and dark areas, where sRGB distances
// overstate differences, get better entries (on the big photos butteraugli
// 3.6 instead of 4.3).
struct Levels {
    int value[256]; // in sixteenths
    Levels()
    {
        for (int i = 0; i < 256; ++i)
            value[i] = int(std::lround(255 * kFraction * std::pow(i / 255.0, kGammaPower)));
    }
};

bool IsFlat(const unsigned char* pixel, int width, int height, int x, int y)
{
    const auto same = [pixel](std::ptrdiff_t offset) {
        return pixel[0] == pixel[offset] && pixel[1] == pixel[offset + 1] && pixel[2] == pixel[offset + 2];
    };
    const std::ptrdiff_t row = std::ptrdiff_t(width) * 3;
    return (x == 0 || same(-3)) && (x + 1 == width || same(3)) && (y == 0 || same(-row)) &&
           (y + 1 == height || same(row));
}

} // namespace

void GifEdgeDitherPixels(const unsigned char* rgb, int width, int height, const std::vector<GifRgb>& palette,
                         const std::uint8_t* nearestIndices, double meanSquaredError, float strength,
                         std::uint8_t* indices, const std::uint8_t* still)
{
    Map map = ContrastMap(rgb, width, height);
    WeighRuns(map, nearestIndices, width, height);

    // The strength grows fast at first; a sixteenth is held back so that
    // small errors do not pile up.
    const double scaled = strength * kStrengthShare;
    const double eased = 1.0 - (1.0 - scaled) * (1.0 - scaled);
    const int base = int(std::lround(eased * 15.0 / 16.0 * 256.0)); // of 256
    const long long limit =
        std::llround(std::max(meanSquaredError * kErrorLimitFactor, kMinErrorLimit) * kFraction * kFraction);
    static const Levels levels;
    // The palette in that space, and rounded to whole levels for the search.
    std::vector<int> entryValues;
    std::vector<GifRgb> darker;
    const auto whole = [](int v) { return static_cast<unsigned char>(std::clamp((v + kFraction / 2) / kFraction, 0, 255)); };
    for (const GifRgb& c : palette) {
        const int red = levels.value[c.red], green = levels.value[c.green], blue = levels.value[c.blue];
        entryValues.insert(entryValues.end(), {red, green, blue});
        darker.push_back({whole(red), whole(green), whole(blue)});
    }
    GifNearestColour nearest(darker.data(), int(darker.size()));
    // Errors of this row and the next in 256ths of a level, one pixel of
    // margin on either side.
    const std::size_t rowInts = (std::size_t(width) + 2) * 3;
    std::vector<int> current(rowInts, 0), next(rowInts, 0);
    for (int y = 0; y < height; ++y) {
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = forward ? i : width - 1 - i;
            const std::size_t pixel = std::size_t(y) * width + x;
            const unsigned char* from = rgb + pixel * 3;
            if ((still && still[pixel]) || IsFlat(from, width, height, x, y)) {
                indices[pixel] = nearestIndices[pixel];
                continue;
            }
            const int* carried = &current[(x + 1) * 3];
            const int level = base * map[pixel] / 255; // of 256
            int shift[3];
            long long length = 0;
            for (int c = 0; c < 3; ++c) {
                shift[c] = (carried[c] * level) >> 12; // sixteenths of a level
                length += (long long)shift[c] * shift[c];
            }
            // Too small to be worth a different entry: the pixel's own error
            // is passed on instead.
            const bool negligible = length < kNegligible;
            double ratio = length > limit ? 0.8 : 1.0;
            int wanted[3];
            for (int c = 0; c < 3; ++c) {
                wanted[c] = levels.value[from[c]];
                if (negligible)
                    continue;
                if (wanted[c] + shift[c] > 255 * kFraction + kOvershoot)
                    ratio = std::min(ratio, double(255 * kFraction + kOvershoot - wanted[c]) / shift[c]);
                else if (wanted[c] + shift[c] < -kOvershoot)
                    ratio = std::min(ratio, double(-kOvershoot - wanted[c]) / shift[c]);
            }
            if (!negligible)
                for (int c = 0; c < 3; ++c)
                    wanted[c] += ratio < 1.0 ? int(shift[c] * ratio) : shift[c];
            const int index =
                negligible ? nearestIndices[pixel] : nearest.Find(whole(wanted[0]), whole(wanted[1]), whole(wanted[2]));
            indices[pixel] = static_cast<std::uint8_t>(index);
            const int* chosen = &entryValues[std::size_t(index) * 3];
            int error[3] = {wanted[0] - chosen[0], wanted[1] - chosen[1], wanted[2] - chosen[2]};
            // A colour the palette lacks altogether: passed on whole, its
            // error would smear streaks across the picture.
            if ((long long)error[0] * error[0] + (long long)error[1] * error[1] + (long long)error[2] * error[2] > limit)
                for (int& e : error)
                    e = e * 3 / 4;
            for (int c = 0; c < 3; ++c) {
                current[(x + 1 + step) * 3 + c] += error[c] * 7;
                next[(x + 1 - step) * 3 + c] += error[c] * 3;
                next[(x + 1) * 3 + c] += error[c] * 5;
                next[(x + 1 + step) * 3 + c] += error[c];
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
    }
}
