#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

#include <vector>

// What the desktop program's command line asks for:
//   gifmaker [FILE...]     start, adding the pictures or opening the project
//   gifmaker --help        usage on standard output
//   gifmaker --version     version on standard output
// Options come before "--"; after it every argument is a file.
enum class CommandLineAction { Start, ShowHelp, ShowVersion, BadUsage };

struct CommandLine {
    CommandLineAction action = CommandLineAction::Start;
    wxArrayString files; // as given, for Start
    wxString error;      // for BadUsage
};

CommandLine ParseCommandLine(const std::vector<wxString>& arguments);
wxString CommandLineUsage();

// The files of a start, sorted the way the window takes them. A project
// (a file ending in ".xml", any case) opens on its own: the first one given
// is opened and every other file is left out. Otherwise every existing file
// is added as Add Image would. Paths are made absolute from `currentFolder`;
// a file that does not exist (or is a folder) is named once in `missing`,
// however often it was given.
struct StartupFiles {
    wxString project;
    wxArrayString pictures;
    wxArrayString missing;
    wxArrayString leftOut; // beside a project
};

StartupFiles SortStartupFiles(const wxArrayString& files, const wxString& currentFolder);
