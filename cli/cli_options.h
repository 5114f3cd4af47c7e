#pragma once

#include "encode/gif_pipeline.h"

#include <wx/string.h>

#include <vector>

// What the command line asks for.
struct CliOptions {
    // The desktop program's default delay, in hundredths of a second.
    static constexpr int kDefaultDelay = 10;

    int delay = kDefaultDelay;
    int width = 0; // 0: from the frames
    int height = 0;
    int quality = kGifDefaultQuality;
    wxString output;
    std::vector<wxString> inputs;
    // A project file to render instead of the inputs, with its own settings.
    wxString project;
    bool settingsGiven = false; // -d or -s was used
};

enum class CliAction { Encode, ShowHelp, ShowVersion, BadUsage };

// Reads the arguments after the program name. On BadUsage `error` says why.
CliAction ParseCliArguments(const std::vector<wxString>& arguments, CliOptions& options, wxString& error);

// The text --help prints.
wxString CliUsage();
