// Times the whole save pipeline per frame: decode a PNG through the picture
// loader, prepare, reduce colours and write, at 640x480 and 1920x1080, for a
// photo-like picture and for screen content. Run:
//   build/bin/gif_pipeline_bench [--benchmark_filter=...]
#include "encode/gif_pipeline.h"
#include "decode/picture_loader.h"

#include <benchmark/benchmark.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr std::size_t kFramesPerRun = 8;

// Smooth colour fields with fine grain, like a photograph: tens of thousands
// of colours.
wxImage PhotoLike(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> grain(0, 3);
    wxImage image(width, height, false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            const double base[3] = {128 + 100 * std::sin(6 * u + seed), 128 + 90 * std::cos(5 * v + 2 * u),
                                    128 + 80 * std::sin(4 * (u + v) + seed)};
            for (double channel : base)
                *rgb++ = static_cast<unsigned char>(std::clamp(channel + grain(random), 0.0, 255.0));
        }
    return image;
}

// Flat panels and antialiased-looking text strokes: a few hundred colours.
wxImage ScreenLike(int width, int height, unsigned seed)
{
    wxImage image(width, height, false);
    image.SetRGB(wxRect(0, 0, width, height), 236, 236, 236);
    image.SetRGB(wxRect(0, 0, width, height / 12), 40, 70, 140);
    std::mt19937 random(seed);
    constexpr int kLineHeight = 18;
    constexpr int kStrokeSpread = 10;
    const int top = height / 8;
    for (int line = 0; top + line * kLineHeight + kStrokeSpread < height; ++line)
        for (int x = 20; x < width - 20; ++x) {
            const int shade = int(random() % 240);
            image.SetRGB(x, top + line * kLineHeight + int(random() % kStrokeSpread), shade, shade, shade + 10);
        }
    return image;
}

// The picture saved once as PNG, so that each run decodes it like the
// program does.
wxString SavedPicture(bool photo, int width, int height)
{
    const wxString path = wxFileName::CreateTempFileName("gifbench") + ".png";
    const wxImage picture = photo ? PhotoLike(width, height, 3) : ScreenLike(width, height, 3);
    picture.SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

void EncodePictureFile(benchmark::State& state, bool photo)
{
    const int width = int(state.range(0));
    const int height = int(state.range(1));
    const wxString path = SavedPicture(photo, width, height);
    GifEncodeSettings settings;
    settings.width = width;
    settings.height = height;
    settings.delayCs = 10;
    for (auto _ : state) {
        wxMemoryOutputStream out;
        const bool ok = EncodeGifAnimation(out, kFramesPerRun,
                                           [&](std::size_t) {
                                               wxImage loaded;
                                               LoadPictures(path, [&](wxImage&& picture, int) {
                                                   loaded = picture;
                                                   picture = wxImage();
                                                   return false;
                                               });
                                               return loaded;
                                           },
                                           settings);
        if (!ok)
            state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(out.GetLength());
    }
    state.SetItemsProcessed(state.iterations() * kFramesPerRun);
    state.SetLabel("per frame: divide the time by 8, or read items_per_second");
    wxRemoveFile(path);
}

void BM_PhotoPipeline(benchmark::State& state)
{
    EncodePictureFile(state, true);
}

void BM_ScreenPipeline(benchmark::State& state)
{
    EncodePictureFile(state, false);
}

} // namespace

BENCHMARK(BM_PhotoPipeline)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScreenPipeline)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    wxInitializer toolkit;
    wxImage::AddHandler(new wxPNGHandler);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
