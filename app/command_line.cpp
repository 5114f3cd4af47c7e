#include "command_line.h"

#include "paths.h"

#include <wx/filefn.h>
#include <wx/filename.h>

CommandLine ParseCommandLine(const std::vector<wxString>& arguments)
{
    CommandLine line;
    // An option decides on its own; files given with it are not opened.
    auto decide = [&line](CommandLineAction action) {
        line.action = action;
        line.files.clear();
        return line;
    };
    bool optionsEnded = false;
    for (const wxString& argument : arguments) {
        if (optionsEnded || !argument.StartsWith("-") || argument == "-") {
            line.files.Add(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            return decide(CommandLineAction::ShowHelp);
        } else if (argument == "--version") {
            return decide(CommandLineAction::ShowVersion);
        } else {
            line.error = wxString::Format("unknown option \"%s\"", argument);
            return decide(CommandLineAction::BadUsage);
        }
    }
    return line;
}

wxString CommandLineUsage()
{
    return "Usage: gifmaker [FILE...]\n"
           "Starts " + GetProductName() + ", the maker of animated GIF files.\n"
           "Pictures (PNG, JPEG, BMP, GIF) named on the command line are added as frames,\n"
           "as Frame > Add Image does; a project file (.xml) is opened instead.\n"
           "\n"
           "  -h, --help     show this text\n"
           "      --version  show the version\n"
           "  --             every argument after it is a file\n";
}

StartupFiles SortStartupFiles(const wxArrayString& files, const wxString& currentFolder)
{
    StartupFiles sorted;
    for (const wxString& file : files) {
        wxFileName name(file);
        name.MakeAbsolute(currentFolder);
        const wxString path = name.GetFullPath();
        if (!wxFileExists(path)) {
            if (sorted.missing.Index(path) == wxNOT_FOUND)
                sorted.missing.Add(path);
            continue;
        }
        if (name.GetExt().IsSameAs("xml", false) && sorted.project.empty())
            sorted.project = path;
        else
            sorted.pictures.Add(path);
    }
    if (!sorted.project.empty()) {
        sorted.leftOut = sorted.pictures;
        sorted.pictures.clear();
    }
    return sorted;
}
