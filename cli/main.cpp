#include "cli_options.h"
#include "cli_run.h"
#include "gifmaker_version.h"
#include "io/settings_store.h"
#include "sizing/size_presets.h"

#include <wx/config.h>
#include <wx/init.h>
#include <wx/log.h>

#include <malloc.h>
#include <unistd.h>

namespace {

// Frames, their colours and their indices take a few megabytes each, every
// frame again. By default glibc maps blocks that large afresh and hands them
// back when freed, and every page of them faults in again on first use: on
// the screen recording set a fifth of the time went to the kernel. Kept in
// the heap, they are reused; a short-lived process loses nothing by keeping
// what it freed.
constexpr int kMapFromBytes = 32 << 20;
constexpr int kTrimFromBytes = 64 << 20;

} // namespace

int main(int argc, char** argv)
{
    mallopt(M_MMAP_THRESHOLD, kMapFromBytes);
    mallopt(M_TRIM_THRESHOLD, kTrimFromBytes);
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        std::fputs("gifmaker-cli: cannot start the toolkit\n", stderr);
        return kCliToolkitFailure;
    }
    // Failures are reported in the program's own words.
    wxLog::EnableLogging(false);
    // The presets the user edited in the window, from the same settings.
    UseProgramSettingsStore();
    const std::vector<SizePreset> presets = LoadSizePresets(wxConfigBase::Get());

    std::vector<wxString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(wxString(argv[i], wxConvLibc));
    CliOptions options;
    wxString error;
    switch (ParseCliArguments(arguments, options, error, presets)) {
    case CliAction::ShowHelp:
        std::fputs(CliUsage(presets).mb_str(), stdout);
        return kCliOk;
    case CliAction::ShowVersion:
        std::printf("gifmaker-cli %s\n", GIFMAKER_VERSION);
        return kCliOk;
    case CliAction::BadUsage:
        std::fprintf(stderr, "gifmaker-cli: %s\n%s", static_cast<const char*>(error.mb_str()),
                     static_cast<const char*>(CliUsage(presets).mb_str()));
        return kCliBadUsage;
    case CliAction::Encode:
        break;
    }
    return RunCli(options, stderr, ::isatty(STDERR_FILENO) == 1);
}
