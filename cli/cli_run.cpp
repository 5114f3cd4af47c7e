#include "cli_run.h"

#include "format/gif_format.h"

#include "cli_project.h"
#include "io/atomic_file.h"
#include "encode/gif_output_size.h"
#include "encode/gif_prepare_frame.h"
#include "encode/gif_pipeline.h"
#include "decode/frame_loader.h"
#include "sizing/gif_fit_summary.h"
#include "sizing/gif_size_estimate.h"
#include "sizing/gif_size_fit.h"
#include "sizing/size_limit.h"
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

bool CheckOutputSize(const GifEncodeSettings& settings, std::FILE* errors)
{
    if (IsGifOutputSizeAllowed(settings.width, settings.height))
        return true;
    Say(errors, wxString::Format("the output size %d x %d is too large: at most %lld pixels in all; "
                                 "choose a smaller size with -s",
                                 settings.width, settings.height, kMaxGifOutputPixels));
    return false;
}

// Prints the estimate: "about 2.10 MB (2104331 bytes; likely 1.95 MB to
// 2.25 MB)", or the size itself when every frame was encoded.
int PrintEstimate(std::size_t count, const GifFrameSupplier& supply, const GifEncodeSettings& settings,
                  std::atomic<bool>& cancel, std::FILE* out)
{
    GifSizeEstimate estimate;
    if (!EstimateGifSize(count, supply, settings, estimate, &cancel))
        return kCliUnreadableInput;
    if (estimate.exact)
        std::fprintf(out, "%s (%lld bytes)\n", static_cast<const char*>(FormatFileSize(estimate.bytes).mb_str()),
                     estimate.bytes);
    else
        std::fprintf(out, "about %s (%lld bytes; likely %s to %s)\n",
                     static_cast<const char*>(FormatFileSize(estimate.bytes).mb_str()), estimate.bytes,
                     static_cast<const char*>(FormatFileSize(estimate.low).mb_str()),
                     static_cast<const char*>(FormatFileSize(estimate.high).mb_str()));
    return kCliOk;
}

// Fits the frames under the limit and writes the file found, complete or not
// at all; says what was changed.
int WriteFitted(const CliOptions& options, std::size_t count, const GifFrameSupplier& supply,
                const GifEncodeSettings& settings, std::atomic<bool>& cancel, std::FILE* errors, bool showProgress)
{
    const GifFitProgress progress = [&](int percent) {
        if (showProgress)
            std::fprintf(errors, "\rgifmaker-cli: fitting under the limit, %d%%", percent);
    };
    const GifFitResult fit =
        FitGifUnderLimit(count, supply, settings, options.fit, options.output, progress, &cancel);
    if (showProgress)
        std::fputc('\n', errors);
    if (fit.outcome == GifFitOutcome::NothingFits) {
        Say(errors, wxString::Format("no GIF of these frames fits under %s, even at quality %d, the smallest size "
                                     "and the fewest frames allowed; nothing was written",
                                     FormatFileSize(options.fit.limit), kGifMinQuality));
        return kCliNothingFits;
    }
    if (fit.outcome == GifFitOutcome::Unwritable) {
        Say(errors, wxString::Format("cannot write \"%s\": %s", options.output, fit.error));
        return kCliUnwritableOutput;
    }
    if (fit.outcome != GifFitOutcome::Fits)
        return kCliUnreadableInput;
    Say(errors, wxString::Format("%s under %s: %s", FormatFileSize(fit.fileSize),
                                 FormatFileSize(options.fit.limit), GifFitSummary(settings, fit, count)));
    return kCliOk;
}

// Streams `frames` into the output; a frame whose file changed or vanished
// since it was read is named and nothing is written.
int WriteFrames(const CliOptions& options, const std::vector<LoadedFrame>& frames, const std::vector<wxString>& names,
                const GifEncodeSettings& settings, const GifFitOptions& fit, std::FILE* errors, bool showProgress,
                std::FILE* out)
{
    StreamedFrames streamed{frames, wxSize(settings.width, settings.height)};
    int status = kCliOk;
    if (!CheckOutputSize(settings, errors))
        status = kCliBadUsage;
    else if (options.estimate)
        status = PrintEstimate(frames.size(), streamed.Supplier(), settings, streamed.cancel, out);
    else if (fit.limit > 0) {
        CliOptions fitted = options;
        fitted.fit = fit;
        status = WriteFitted(fitted, frames.size(), streamed.Supplier(), settings, streamed.cancel, errors,
                             showProgress);
    } else
        status = WriteOutput(options, frames.size(), streamed.Supplier(), settings, errors, showProgress,
                             &streamed.cancel);
    if (status == kCliUnreadableInput && streamed.failedIndex.load() != SIZE_MAX)
        Say(errors, wxString::Format("cannot read \"%s\"", names[streamed.failedIndex.load()]));
    return status;
}

int RunProject(const CliOptions& options, std::FILE* errors, bool showProgress, std::FILE* out)
{
    std::vector<LoadedFrame> frames;
    std::vector<wxString> names;
    GifEncodeSettings settings;
    GifFitOptions fit;
    wxString error;
    if (!ReadProjectForRender(options.project, frames, names, settings, error, &fit)) {
        Say(errors, error);
        return kCliUnreadableInput;
    }
    settings.fast = options.fast;
    // A limit given here replaces the project's.
    return WriteFrames(options, frames, names, settings, options.fitGiven ? options.fit : fit, errors, showProgress,
                       out);
}

} // namespace

int RunCli(const CliOptions& options, std::FILE* errors, bool showProgress, std::FILE* out)
{
    if (!options.project.empty())
        return RunProject(options, errors, showProgress, out);
    std::vector<LoadedFrame> frames;
    std::vector<wxString> names;
    std::vector<int> delays;
    wxString failed;
    if (!PlanAll(options, frames, names, delays, failed)) {
        wxString why;
        if (IsVideoClip(failed) && !LoadVideoDecoder(&why))
            Say(errors, wxString::Format("cannot read \"%s\": %s", failed, why));
        else
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
    return WriteFrames(options, frames, names, settings, options.fit, errors, showProgress, out);
}
