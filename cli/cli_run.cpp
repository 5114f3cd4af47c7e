#include "cli_run.h"

#include "format/gif_format.h"

#include "cli_project.h"
#include "io/atomic_file.h"
#include "encode/gif_output_size.h"
#include "encode/gif_prepare_frame.h"
#include "encode/gif_pipeline.h"
#include "decode/frame_loader.h"
#include "video/video_clip.h"
#include "video/video_loader.h"
#include "video/video_selection.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

void Say(std::FILE* errors, const wxString& text)
{
    std::fprintf(errors, "gifmaker-cli: %s\n", static_cast<const char*>(text.mb_str()));
}

// Every frame of every input, in order, without their pixels: still pictures
// are only looked at (PNG and JPEG headers give the size), GIF frames are held
// compressed, a clip's frames are taken at the options' rate and decoded
// again by time. Inputs are read on all cores; `names` gets each frame's input
// and `delays` the delay it is written with. False when an input yields no
// frame; `failed` then names the first such input.
bool PlanAll(const CliOptions& options, std::vector<LoadedFrame>& frames, std::vector<wxString>& names,
             std::vector<int>& delays, wxString& failed)
{
    const std::vector<wxString>& inputs = options.inputs;
    const double fps = options.fps > 0 ? options.fps : ClipFpsForDelay(options.delay);
    std::vector<std::vector<LoadedFrame>> perInput(inputs.size());
    std::atomic<std::size_t> next{0};
    auto plan = [&] {
        for (std::size_t i = next++; i < inputs.size(); i = next++) {
            const wxString path = IsVideoClip(inputs[i])
                                      ? ClipRangeName(inputs[i], options.fromMs, options.toMs, fps)
                                      : inputs[i];
            LoadMediaFrames(path, nullptr, [&](LoadedFrame&& frame) {
                perInput[i].push_back(std::move(frame));
                return true;
            });
        }
    };
    const std::size_t workers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), inputs.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers; ++i)
        threads.emplace_back(plan);
    plan();
    for (std::thread& thread : threads)
        thread.join();

    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (perInput[i].empty()) {
            failed = inputs[i];
            return false;
        }
        // A clip's frames follow --fps unless a delay was given.
        const bool clip = IsVideoClip(inputs[i]) && options.fps > 0 && !options.delayGiven;
        const std::vector<int> clipDelays = clip ? ClipFrameDelays(perInput[i].size(), options.fps) : std::vector<int>();
        for (std::size_t k = 0; k < perInput[i].size(); ++k) {
            LoadedFrame& frame = perInput[i][k];
            delays.push_back(clip ? clipDelays[k] : CliFrameDelay(options, i, frame.delayCs));
            frames.push_back(std::move(frame));
            names.push_back(inputs[i]);
        }
    }
    return true;
}

// Decodes each frame in the encoder's workers when it is needed, so that only
// the frames in flight are held. A frame that no longer decodes stops the
// encoder; `failedIndex` then names it.
// A clip's frames come straight at the output size: converting a 1080p frame
// at full size and scaling it down would cost more than encoding it.
struct StreamedFrames {
    const std::vector<LoadedFrame>& frames;
    const wxSize outputSize;
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> failedIndex{SIZE_MAX};

    GifFrameSupplier Supplier()
    {
        return [this](std::size_t index) {
            const FrameSource& source = *frames[index].source;
            wxImage picture = source.Decode(IsClipFrameSource(source) ? outputSize
                                                                          : PreparedDecodeSize(source.GetSize(), outputSize));
            if (!picture.IsOk()) {
                std::size_t none = SIZE_MAX;
                failedIndex.compare_exchange_strong(none, index);
                cancel = true;
            }
            return picture;
        };
    }
};

// Encodes `count` frames from the supplier into the output file, complete or
// not at all.
int WriteOutput(const CliOptions& options, std::size_t count, const GifFrameSupplier& supply,
                const GifEncodeSettings& settings, std::FILE* errors, bool showProgress,
                const std::atomic<bool>* cancel = nullptr)
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
        [&](wxOutputStream& out) {
            // A frame that failed late may already be written (as black): the
            // file is then not kept.
            return EncodeGifAnimation(out, count, supply, settings, progress, cancel) && !(cancel && cancel->load());
        },
        &error);
    if (showProgress)
        std::fputc('\n', errors);
    if (!ok && !(cancel && cancel->load())) {
        Say(errors, wxString::Format("cannot write \"%s\": %s", options.output, error));
        return kCliUnwritableOutput;
    }
    return ok ? kCliOk : kCliUnreadableInput;
}

// Streams `frames` into the output; a frame whose file changed or vanished
// since it was read is named and nothing is written.
int WriteFrames(const CliOptions& options, const std::vector<LoadedFrame>& frames, const std::vector<wxString>& names,
                const GifEncodeSettings& settings, std::FILE* errors, bool showProgress)
{
    StreamedFrames streamed{frames, wxSize(settings.width, settings.height)};
    const int status =
        WriteOutput(options, frames.size(), streamed.Supplier(), settings, errors, showProgress, &streamed.cancel);
    if (status == kCliUnreadableInput)
        Say(errors, wxString::Format("cannot read \"%s\"", names[streamed.failedIndex.load()]));
    return status;
}

int RunProject(const CliOptions& options, std::FILE* errors, bool showProgress)
{
    std::vector<LoadedFrame> frames;
    std::vector<wxString> names;
    GifEncodeSettings settings;
    wxString error;
    if (!ReadProjectForRender(options.project, frames, names, settings, error)) {
        Say(errors, error);
        return kCliUnreadableInput;
    }
    settings.fast = options.fast;
    return WriteFrames(options, frames, names, settings, errors, showProgress);
}

} // namespace

int RunCli(const CliOptions& options, std::FILE* errors, bool showProgress)
{
    if (!options.project.empty())
        return RunProject(options, errors, showProgress);
    std::vector<LoadedFrame> frames;
    std::vector<wxString> names;
    std::vector<int> delays;
    wxString failed;
    if (!PlanAll(options, frames, names, delays, failed)) {
        Say(errors, wxString::Format(IsVideoClip(failed) ? "cannot read \"%s\", or it has no frame from --from to --to"
                                                         : "cannot read \"%s\"",
                                     failed));
        return kCliUnreadableInput;
    }

    GifEncodeSettings settings;
    settings.delayCs = options.delay;
    settings.delaysCs = delays;
    settings.loopCount = options.loop;
    settings.width = options.width;
    settings.height = options.height;
    settings.quality = options.quality;
    settings.fast = options.fast;
    if (settings.width == 0) {
        std::vector<wxSize> sizes;
        for (const LoadedFrame& frame : frames)
            sizes.push_back(frame.size);
        const wxSize size = GifDefaultOutputSize(sizes);
        if (size.GetWidth() > kGifMaxField || size.GetHeight() > kGifMaxField) {
            Say(errors, wxString::Format("the pictures (%d x %d) are larger than a GIF can hold; choose a size with -s",
                                         size.GetWidth(), size.GetHeight()));
            return kCliBadUsage;
        }
        settings.width = size.GetWidth();
        settings.height = size.GetHeight();
    }
    return WriteFrames(options, frames, names, settings, errors, showProgress);
}
