#pragma once

#include <wx/string.h>

#include <vector>

// What the command line asks for.
struct CliOptions {
    // The desktop program's default delay, in hundredths of a second.
    static constexpr int kDefaultDelay = 10;

    int delay = kDefaultDelay;
    int width = 0; // 0: from the frames
    int height = 0;
    wxString output;
    std::vector<wxString> inputs;
    // A project file to render instead of the inputs, with its own settings.
    wxString project;
    bool settingsGiven = false; // -d, -s, --fps, --from or --to was used
    bool delayGiven = false;
    // Frames taken from video clips: per second (0: as the delay plays them)
    // from `fromMs` up to `toMs` (-1: the clip's end).
    double fps = 0;
    long long fromMs = 0;
    long long toMs = -1;
};

enum class CliAction { Encode, ShowHelp, ShowVersion, BadUsage };

// Reads the arguments after the program name. On BadUsage `error` says why.
CliAction ParseCliArguments(const std::vector<wxString>& arguments, CliOptions& options, wxString& error);

// The text --help prints.
wxString CliUsage();
