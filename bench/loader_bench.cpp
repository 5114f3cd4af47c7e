// Picture loading: the loader against the toolkit's own decoders on the same
// files (the toolkit's GIF decoder gives uncomposited frames, so it does less
// work per frame than the loader).
#include "decode/picture_loader.h"

#include <wx/anidecod.h>
#include <wx/gifdecod.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/wfstream.h>

#include <benchmark/benchmark.h>

namespace {

const wxString kCorpus = GIFMAKER_SOURCE_DIR "/../shared/corpus/";

void LoaderOnFile(benchmark::State& state, const char* file)
{
    const wxString path = kCorpus + file;
    long long pixels = 0;
    for (auto _ : state) {
        const int count = LoadPictures(path, [&](wxImage&& picture, int) {
            pixels += static_cast<long long>(picture.GetWidth()) * picture.GetHeight();
            return true;
        });
        if (count == 0)
            state.SkipWithError("nothing loaded");
    }
    state.counters["Mpixel/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
}

void ToolkitGifDecoder(benchmark::State& state, const char* file)
{
    const wxString path = kCorpus + file;
    long long pixels = 0;
    for (auto _ : state) {
        wxFileInputStream stream(path);
        wxGIFDecoder decoder;
        decoder.LoadGIF(stream);
        for (unsigned f = 0; f < decoder.GetFrameCount(); ++f) {
            wxImage picture;
            decoder.ConvertToImage(f, &picture);
            pixels += static_cast<long long>(picture.GetWidth()) * picture.GetHeight();
        }
    }
    state.counters["Mpixel/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
}

void ToolkitLoadFile(benchmark::State& state, const char* file)
{
    const wxString path = kCorpus + file;
    wxLogNull quiet;
    for (auto _ : state) {
        wxImage picture;
        if (!picture.LoadFile(path))
            state.SkipWithError("nothing loaded");
    }
}

const char* const kLargeGif = "gif/image-rs/anim/large-gif-anim-full-frame-replace.gif";
const char* const kInterlacedGif = "gif/image-gif/samples/interlaced.gif";
const char* const kPhotoGif = "gif/pillow/hopper.gif";
const char* const kStarGif = "gif/pillow/avif/star.gif";

} // namespace

BENCHMARK_CAPTURE(LoaderOnFile, large_gif, kLargeGif);
BENCHMARK_CAPTURE(ToolkitGifDecoder, large_gif, kLargeGif);
BENCHMARK_CAPTURE(LoaderOnFile, interlaced_gif, kInterlacedGif);
BENCHMARK_CAPTURE(ToolkitGifDecoder, interlaced_gif, kInterlacedGif);
BENCHMARK_CAPTURE(LoaderOnFile, photo_gif, kPhotoGif);
BENCHMARK_CAPTURE(ToolkitGifDecoder, photo_gif, kPhotoGif);
BENCHMARK_CAPTURE(LoaderOnFile, star_gif, kStarGif);
BENCHMARK_CAPTURE(ToolkitGifDecoder, star_gif, kStarGif);
BENCHMARK_CAPTURE(LoaderOnFile, rle8_bmp, "misc/pillow/hopper_rle8.bmp");
BENCHMARK_CAPTURE(ToolkitLoadFile, rle8_bmp, "misc/pillow/hopper_rle8.bmp");
BENCHMARK_CAPTURE(LoaderOnFile, bmp24, "misc/pillow/hopper.bmp");
BENCHMARK_CAPTURE(ToolkitLoadFile, bmp24, "misc/pillow/hopper.bmp");
BENCHMARK_CAPTURE(LoaderOnFile, jpeg, "misc/pillow/hopper.jpg");
BENCHMARK_CAPTURE(ToolkitLoadFile, jpeg, "misc/pillow/hopper.jpg");
BENCHMARK_CAPTURE(LoaderOnFile, png, "pngsuite/basn6a08.png");
BENCHMARK_CAPTURE(ToolkitLoadFile, png, "pngsuite/basn6a08.png");

int main(int argc, char** argv)
{
    wxInitializer toolkit;
    wxInitAllImageHandlers();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
