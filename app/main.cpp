#include "command_line.h"
#include "gifapp.h"
#include "paths.h"

#include <clocale>
#include <cstdio>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(GifApp);

// The command line is read before the toolkit starts, so that --help and
// --version answer without a display.
int main(int argc, char** argv)
{
    wxDISABLE_DEBUG_SUPPORT();
    // File names arrive in the user's encoding.
    std::setlocale(LC_ALL, "");
    std::vector<wxString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i], wxConvLibc);

    const CommandLine line = ParseCommandLine(arguments);
    switch (line.action) {
    case CommandLineAction::ShowHelp:
        std::fputs(CommandLineUsage().mb_str(), stdout);
        return 0;
    case CommandLineAction::ShowVersion:
        std::printf("gifmaker %s\n", static_cast<const char*>(GetProductVersion().mb_str()));
        return 0;
    case CommandLineAction::BadUsage:
        std::fprintf(stderr, "gifmaker: %s\n%s", static_cast<const char*>(line.error.mb_str()),
                     static_cast<const char*>(CommandLineUsage().mb_str()));
        return 1;
    case CommandLineAction::Start:
        break;
    }
    SetStartupFiles(line.files);
    // The toolkit's own parser has nothing left to read.
    int toolkitArgc = 1;
    return wxEntry(toolkitArgc, argv);
}
