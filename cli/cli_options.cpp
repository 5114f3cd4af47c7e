#include "cli_options.h"

#include "decode/video_frame_name.h"
#include "encode/gif_pipeline.h"
#include "format/gif_format.h"
#include "sizing/size_limit.h"
#include "sizing/size_presets.h"
#include "video/video_selection.h"

#include <functional>

namespace {

// Delays and sizes are 16-bit fields of a GIF file.
bool ReadNumber(const wxString& text, long minimum, int& value, long maximum = kGifMaxField)
{
    long number = 0;
    if (text.empty() || !text.ToLong(&number) || number < minimum || number > maximum)
        return false;
    value = int(number);
    return true;
}

// "FILE:DELAY" when the text after the last colon is a delay; anything else
// is a file name as it stands.
void SplitInput(const wxString& argument, wxString& file, int& delay)
{
    const int colon = argument.Find(':', true);
    const wxString digits = colon == wxNOT_FOUND ? wxString() : argument.Mid(colon + 1);
    if (colon > 0 && !digits.empty() && digits.find_first_not_of("0123456789") == wxString::npos &&
        ReadNumber(digits, 0, delay)) {
        file = argument.Left(colon);
        return;
    }
    file = argument;
    delay = -1;
}

bool ReadSize(const wxString& text, int& width, int& height)
{
    const int x = text.Find('x');
    return x != wxNOT_FOUND && ReadNumber(text.Left(x), 1, width) && ReadNumber(text.Mid(x + 1), 1, height);
}

// "quality,size,frames" or any of them: what fitting may change.
bool ReadFitSteps(const wxString& text, GifFitOptions& fit)
{
    fit.lowerQuality = fit.shrink = fit.dropFrames = false;
    for (const wxString& word : wxSplit(text, ',', '\0')) {
        if (word == "quality")
            fit.lowerQuality = true;
        else if (word == "size")
            fit.shrink = true;
        else if (word == "frames")
            fit.dropFrames = true;
        else
            return false;
    }
    return !text.empty();
}

wxString PresetNames(const std::vector<SizePreset>& presets)
{
    wxString names;
    for (const SizePreset& preset : presets)
        names += (names.empty() ? "" : ", ") + preset.name;
    return names.empty() ? wxString("(none)") : names;
}

bool ReadTime(const wxString& text, long long& ms, CliOptions& options, wxString& error)
{
    options.settingsGiven = true;
    if (ParseClipTime(text, ms))
        return true;
    error = wxString::Format("a time must be seconds (12.5), M:SS or H:MM:SS, not \"%s\"", text);
    return false;
}

// An option that takes a value; `apply` reads it and returns false when it is
// not acceptable, with `error` set.
struct ValueOption {
    const char* shortName; // null when there is none
    const char* longName;
    std::function<bool(const wxString& value, CliOptions& options, wxString& error)> apply;
};

const std::vector<ValueOption>& ValueOptions()
{
    static const std::vector<ValueOption> options = {
        {"-d", "--delay",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = o.delayGiven = true;
             if (ReadNumber(value, 0, o.delay))
                 return true;
             error = wxString::Format("the delay must be a whole number from 0 to %d, not \"%s\"", kGifMaxField, value);
             return false;
         }},
        {"-s", "--size",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = true;
             if (ReadSize(value, o.width, o.height))
                 return true;
             error = wxString::Format("the size must be WIDTHxHEIGHT, each from 1 to %d, not \"%s\"", kGifMaxField, value);
             return false;
         }},
        {"-l", "--loop",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = true;
             long plays = 0;
             if (!value.empty() && value.ToLong(&plays) && plays >= 0 && plays <= kGifMaxPlays) {
                 o.loop = int(plays);
                 return true;
             }
             error = wxString::Format("the loop count must be a whole number from 0 (for ever) to %d, not \"%s\"",
                                      kGifMaxPlays, value);
             return false;
         }},
        {"-q", "--quality",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = true;
             if (ReadNumber(value, kGifMinQuality, o.quality, kGifMaxQuality))
                 return true;
             error = wxString::Format("the quality must be a whole number from %d to %d, not \"%s\"",
                                      kGifMinQuality, kGifMaxQuality, value);
             return false;
         }},
        {"-o", "--output",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.output = value;
             if (!value.empty())
                 return true;
             error = "the output file name is empty";
             return false;
         }},
        {"-p", "--project",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.project = value;
             if (!value.empty())
                 return true;
             error = "the project file name is empty";
             return false;
         }},
        {nullptr, "--fps",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = true;
             if (value.ToCDouble(&o.fps) && o.fps >= kMinClipFps && o.fps <= kMaxClipFps)
                 return true;
             error = wxString::Format("the rate must be from %g to %g frames per second, not \"%s\"", kMinClipFps,
                                      kMaxClipFps, value);
             return false;
         }},
        {nullptr, "--max-size",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.fitGiven = true;
             if (ParseSizeLimit(value, o.fit.limit))
                 return true;
             error = wxString::Format("the size limit must be bytes or a number with K or M (10M, 256K), not \"%s\"",
                                      value);
             return false;
         }},
        {nullptr, "--preset",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.fitGiven = true;
             o.preset = value;
             if (!value.empty())
                 return true;
             error = "the preset name is empty";
             return false;
         }},
        {nullptr, "--fit",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.fitGiven = true;
             if (ReadFitSteps(value, o.fit))
                 return true;
             error = wxString::Format("--fit takes quality, size and frames separated by commas, not \"%s\"", value);
             return false;
         }},
        {nullptr, "--from", [](const wxString& value, CliOptions& o, wxString& error) { return ReadTime(value, o.fromMs, o, error); }},
        {nullptr, "--to", [](const wxString& value, CliOptions& o, wxString& error) { return ReadTime(value, o.toMs, o, error); }},
    };
    return options;
}

} // namespace

wxString CliUsage(const std::vector<SizePreset>& presets)
{
    return wxString::Format("Usage: gifmaker-cli [-d DELAY] [-s WIDTHxHEIGHT] [-l N] [-q QUALITY] [--fast]\n"
                            "                   [--fps RATE [--from TIME] [--to TIME]] -o OUT.gif FILE[:DELAY]...\n"
                            "                   [--max-size SIZE | --preset NAME] [--fit STEPS] [--estimate]\n"
                            "       gifmaker-cli --project PROJECT.xml -o OUT.gif\n"
                            "Makes an animated GIF from the pictures (PNG, JPEG, BMP, GIF, WebP; every frame of a\n"
                            "GIF file) and video clips, in the order given.\n"
                            "\n"
                            "Delays are in hundredths of a second. FILE:DELAY gives that file's pictures their\n"
                            "own delay (the text after the last colon, when it is a number). Otherwise -d sets\n"
                            "the delay; without -d, frames of a GIF keep the delays stored in it and other\n"
                            "pictures get %d. Delays of 0 and 1 are written as given; browsers play them as 10.\n"
                            "\n"
                            "  -d, --delay DELAY          delay of every frame without FILE:DELAY\n"
                            "  -l, --loop N               play the GIF N times (default 0: for ever; at most %d)\n"
                            "  -s, --size WIDTHxHEIGHT    output size (default: the first frame that is wider or\n"
                            "                             taller than all before it); larger pictures are scaled\n"
                            "                             down, every picture is centred on black\n"
                            "  -q, --quality QUALITY      1 to 100 (default %d): lower gives smaller files with\n"
                            "                             fewer colours; at 100 pictures of at most 256 colours\n"
                            "                             are kept exactly\n"
                            "      --fast                 quicker; large photos come out larger and look worse\n"
                            "  -o, --output OUT.gif       the file to write; replaced only when complete\n"
                            "      --fps RATE             frames per second taken from video clips (MP4, MOV,\n"
                            "                             WebM, MKV, animated WebP; default: the rate the\n"
                            "                             delay plays)\n"
                            "      --from TIME            where the frames taken from each clip start (seconds,\n"
                            "                             M:SS or H:MM:SS; default 0)\n"
                            "      --to TIME              where they end (default: the clip's end); the delay\n"
                            "                             follows --fps unless -d is given\n"
                            "      --max-size SIZE        keep the file under SIZE bytes (10M = 10000000,\n"
                            "                             256K = 256000, 300KiB = 307200): lowers the quality,\n"
                            "                             then the size, then the frame rate (keeping the\n"
                            "                             duration), and says what it changed; writes nothing\n"
                            "                             when no file that small can be made\n"
                            "      --preset NAME          the size limit (and side limit) of a destination, as\n"
                            "                             edited in the window (Edit Presets): %s\n"
                            "      --fit STEPS            what --max-size may change, of quality,size,frames\n"
                            "                             (default all; quality,size never drops frames)\n"
                            "      --estimate             print the estimated size of the GIF; write nothing\n"
                            "  -p, --project PROJECT.xml  render a saved project as the program saves it\n"
                            "  -h, --help                 show this text\n"
                            "      --version              show the version\n"
                            "\n"
                            "Exit status: 0 written, 1 bad usage, 2 an input cannot be read, 3 the output cannot\n"
                            "be written, 4 the toolkit cannot start, 5 nothing fits under the size limit.\n",
                            CliOptions::kDefaultDelay, kGifMaxPlays, kGifDefaultQuality, PresetNames(presets));
}

CliAction ParseCliArguments(const std::vector<wxString>& arguments, CliOptions& options, wxString& error,
                            const std::vector<SizePreset>& presets)
{
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const wxString& argument = arguments[i];
        if (onlyFiles || !argument.StartsWith("-") || argument == "-") {
            wxString file;
            int delay = -1;
            SplitInput(argument, file, delay);
            options.inputs.push_back(file);
            options.inputDelays.push_back(delay);
            continue;
        }
        if (argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (argument == "-h" || argument == "--help")
            return CliAction::ShowHelp;
        if (argument == "--version")
            return CliAction::ShowVersion;
        if (argument == "--fast") {
            options.fast = true;
            continue;
        }
        if (argument == "--estimate") {
            options.estimate = true;
            continue;
        }

        const ValueOption* option = nullptr;
        wxString value;
        bool hasValue = false;
        for (const ValueOption& candidate : ValueOptions()) {
            if ((candidate.shortName && argument == candidate.shortName) || argument == candidate.longName) {
                option = &candidate;
            } else if (argument.StartsWith(wxString(candidate.longName) + "=", &value)) {
                option = &candidate;
                hasValue = true;
            } else if (candidate.shortName && argument.StartsWith(candidate.shortName, &value)) {
                option = &candidate;
                hasValue = true;
            }
            if (option)
                break;
        }
        if (!option) {
            error = wxString::Format("unknown option \"%s\"", argument);
            return CliAction::BadUsage;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                error = wxString::Format("option \"%s\" needs a value", argument);
                return CliAction::BadUsage;
            }
            value = arguments[++i];
        }
        if (!option->apply(value, options, error))
            return CliAction::BadUsage;
    }
    if (!options.preset.empty()) {
        const SizePreset* preset = FindSizePreset(presets, options.preset);
        if (!preset) {
            error = wxString::Format("unknown preset \"%s\"; the presets are %s", options.preset,
                                     PresetNames(presets));
            return CliAction::BadUsage;
        }
        if (options.fit.limit != 0) {
            error = "give --max-size or --preset, not both";
            return CliAction::BadUsage;
        }
        options.fit.limit = preset->bytes;
        options.fit.maxSide = preset->maxSide;
    }
    if (options.estimate && options.fitGiven) {
        error = "--estimate tells the size of the GIF as the settings make it; give it without --max-size, "
                "--preset or --fit";
        return CliAction::BadUsage;
    }
    if (options.fitGiven && options.fit.limit == 0) {
        error = "--fit needs a limit: --max-size or --preset";
        return CliAction::BadUsage;
    }
    if (options.output.empty() && !options.estimate) {
        error = "no output file given (-o OUT.gif)";
        return CliAction::BadUsage;
    }
    if (!options.project.empty()) {
        if (options.inputs.empty() && !options.settingsGiven)
            return CliAction::Encode;
        error = "a project brings its own pictures, delays, size, loop count and quality; give no files, -d, -s, "
                "-q, --loop, --fps, --from or --to with --project";
        return CliAction::BadUsage;
    }
    if (options.toMs >= 0 && options.toMs <= options.fromMs) {
        error = "--to must come after --from";
        return CliAction::BadUsage;
    }
    if (options.inputs.empty()) {
        error = "no input pictures given";
        return CliAction::BadUsage;
    }
    return CliAction::Encode;
}

int CliFrameDelay(const CliOptions& options, std::size_t input, int pictureDelay)
{
    if (input < options.inputDelays.size() && options.inputDelays[input] >= 0)
        return options.inputDelays[input];
    if (options.delayGiven || pictureDelay < 0)
        return options.delay;
    return pictureDelay;
}
