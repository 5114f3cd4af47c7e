#pragma once

#include "encode/gif_pipeline.h"
#include "sizing/gif_size_fit.h"
#include "sizing/size_presets.h"

#include <wx/string.h>

#include <vector>

// What the command line asks for.
struct CliOptions {
    // The desktop program's default delay, in hundredths of a second.
    static constexpr int kDefaultDelay = 10;

    int delay = kDefaultDelay;
    bool delayGiven = false; // -d sets every frame, GIF frames included
    int width = 0; // 0: from the frames
    int height = 0;
    int loop = 0; // times the GIF plays; 0 = for ever
    int quality = kGifDefaultQuality;
    bool fast = false; // --fast: quicker, larger files
    wxString output;
    std::vector<wxString> inputs;
    // The delay given with each input as FILE:DELAY, -1 where none was.
    std::vector<int> inputDelays;
    // A project file to render instead of the inputs, with its own settings.
    wxString project;
    bool settingsGiven = false; // -d, -s, -q, --loop, --fps, --from or --to was used
    // Frames taken from video clips: per second (0: as the delay plays them)
    // from `fromMs` up to `toMs` (-1: the clip's end).
    double fps = 0;
    long long fromMs = 0;
    long long toMs = -1;
    // Print the size the GIF would have and write nothing (-o not needed).
    bool estimate = false;
    // Fit under fit.limit bytes (0: no limit), changing only what fit allows;
    // --preset also sets the longer side's limit.
    GifFitOptions fit;
    bool fitGiven = false; // --max-size, --preset or --fit was used
    wxString preset; // --preset NAME, looked up once every argument is read
};

enum class CliAction { Encode, ShowHelp, ShowVersion, BadUsage };

// Reads the arguments after the program name; --preset chooses from
// `presets` (the user's, from the configuration, in gifmaker-cli). On
// BadUsage `error` says why.
CliAction ParseCliArguments(const std::vector<wxString>& arguments, CliOptions& options, wxString& error,
                            const std::vector<SizePreset>& presets = BuiltInSizePresets());

// The text --help prints, naming `presets`.
wxString CliUsage(const std::vector<SizePreset>& presets = BuiltInSizePresets());

// The delay of one picture of an input: FILE:DELAY first, then -d, then a
// GIF frame's own delay (`pictureDelay`, -1 for none), then the default.
int CliFrameDelay(const CliOptions& options, std::size_t input, int pictureDelay);
