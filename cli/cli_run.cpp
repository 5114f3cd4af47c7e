#include "cli_run.h"

#include "cli_project.h"
#include "window/engine/atomic_file.h"
#include "window/engine/frame_pixels.h"
#include "window/engine/gif_output_size.h"
#include "window/engine/gif_pipeline.h"
#include "window/engine/picture_loader.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The GIF format stores sizes in 16 bits.
constexpr int kMaxGifSide = 0xFFFF;

void Say(std::FILE* errors, const wxString& text)
{
    std::fprintf(errors, "gifmaker-cli: %s\n", static_cast<const char*>(text.mb_str()));
}

// Every picture of every input, in order, decoded on all cores, with the
// delay each gets. False when an input yields no picture; `failed` then names
// the first such input.
bool LoadAll(const CliOptions& options, std::vector<wxImage>& frames, std::vector<int>& delays, wxString& failed)
{
    const std::vector<wxString>& inputs = options.inputs;
    std::vector<std::vector<wxImage>> perInput(inputs.size());
    std::atomic<std::size_t> next{0};
    auto load = [&] {
        for (std::size_t i = next++; i < inputs.size(); i = next++)
            LoadPictures(inputs[i], [&](wxImage&& picture, int) {
                perInput[i].push_back(picture);
                picture = wxImage();
                return true;
            });
    };
    const std::size_t workers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), inputs.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers; ++i)
        threads.emplace_back(load);
    load();
    for (std::thread& thread : threads)
        thread.join();

    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (perInput[i].empty()) {
            failed = inputs[i];
            return false;
        }
        for (wxImage& picture : perInput[i]) {
            delays.push_back(CliFrameDelay(options, i, PictureDelayCs(picture)));
            frames.push_back(picture);
        }
        perInput[i].clear();
    }
    return true;
}

// Encodes `count` frames from the supplier into the output file, complete or
// not at all.
int WriteOutput(const CliOptions& options, std::size_t count, const GifFrameSupplier& supply,
                const GifEncodeSettings& settings, std::FILE* errors, bool showProgress)
{
    if (!IsGifOutputSizeAllowed(settings.width, settings.height)) {
        Say(errors, wxString::Format("the output size %d x %d is too large: at most %lld pixels in all; "
                                     "choose a smaller size with -s",
                                     settings.width, settings.height, kMaxGifOutputPixels));
        return kCliBadUsage;
    }
    const GifProgress progress = [&](std::size_t written) {
        if (showProgress)
            std::fprintf(errors, "\rgifmaker-cli: frame %zu of %zu", written, count);
    };
    wxString error;
    const bool ok = WriteFileAtomically(
        options.output,
        [&](wxOutputStream& out) { return EncodeGifAnimation(out, count, supply, settings, progress); }, &error);
    if (showProgress)
        std::fputc('\n', errors);
    if (!ok) {
        Say(errors, wxString::Format("cannot write \"%s\": %s", options.output, error));
        return kCliUnwritableOutput;
    }
    return kCliOk;
}

int RunProject(const CliOptions& options, std::FILE* errors, bool showProgress)
{
    std::vector<wxImage> pictures;
    GifEncodeSettings settings;
    wxString error;
    if (!ReadProjectForRender(options.project, pictures, settings, error)) {
        Say(errors, error);
        return kCliUnreadableInput;
    }
    // The encoder gets the pictures as the program's save hands them over:
    // fresh copies of their pixels.
    std::vector<FramePixels> pixels;
    for (const wxImage& picture : pictures)
        pixels.push_back(FramePixelsOf(picture));
    return WriteOutput(options, pixels.size(), MakeFrameSupplier(pixels), settings, errors, showProgress);
}

} // namespace

int RunCli(const CliOptions& options, std::FILE* errors, bool showProgress)
{
    if (!options.project.empty())
        return RunProject(options, errors, showProgress);
    std::vector<wxImage> frames;
    std::vector<int> delays;
    wxString failed;
    if (!LoadAll(options, frames, delays, failed)) {
        Say(errors, wxString::Format("cannot read \"%s\"", failed));
        return kCliUnreadableInput;
    }

    GifEncodeSettings settings;
    settings.delayCs = options.delay;
    settings.delaysCs = delays;
    settings.loopCount = options.loop;
    settings.width = options.width;
    settings.height = options.height;
    if (settings.width == 0) {
        std::vector<wxSize> sizes;
        for (const wxImage& frame : frames)
            sizes.push_back(frame.GetSize());
        const wxSize size = GifDefaultOutputSize(sizes);
        if (size.GetWidth() > kMaxGifSide || size.GetHeight() > kMaxGifSide) {
            Say(errors, wxString::Format("the pictures (%d x %d) are larger than a GIF can hold; choose a size with -s",
                                         size.GetWidth(), size.GetHeight()));
            return kCliBadUsage;
        }
        settings.width = size.GetWidth();
        settings.height = size.GetHeight();
    }

    // Each frame goes to exactly one worker, which takes the only reference.
    const GifFrameSupplier supply = [&frames](std::size_t index) {
        wxImage picture = frames[index];
        frames[index] = wxImage();
        return picture;
    };
    return WriteOutput(options, frames.size(), supply, settings, errors, showProgress);
}
