// Times a save and a size estimate of the same frames inside one process, as
// the window makes its live estimate, leaving out the program's start-up
// (about 0.06 s, most of it loading FFmpeg's libraries), which gifmaker-cli
// pays for either. Each is run five times; the medians are printed.
//   build/bin/estimate_bench SETDIR...   (folders of PNG frames, 10 cs apart)
#include "cli_options.h"
#include "cli_run.h"

#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 5;

double MedianSeconds(const CliOptions& options, std::FILE* out)
{
    std::vector<double> seconds;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (RunCli(options, stderr, false, out) != kCliOk)
            return -1;
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[kRuns / 2];
}

bool Parse(std::vector<wxString> arguments, CliOptions& options)
{
    wxString error;
    if (ParseCliArguments(arguments, options, error, {}) != CliAction::Encode) {
        std::fprintf(stderr, "estimate_bench: %s\n", static_cast<const char*>(error.mb_str()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk())
        return 1;
    std::FILE* discard = std::fopen("/dev/null", "w");
    const wxString output = wxFileName::CreateTempFileName("estimate_bench");
    std::printf("| set | save (s) | estimate (s) | estimate / save |\n|---|---|---|---|\n");
    for (int i = 1; i < argc; ++i) {
        wxArrayString files;
        wxDir::GetAllFiles(argv[i], &files, "*.png", wxDIR_FILES);
        files.Sort();
        std::vector<wxString> save = {"-d", "10", "-o", output};
        std::vector<wxString> estimate = {"--estimate", "-d", "10"};
        for (const wxString& file : files) {
            save.push_back(file);
            estimate.push_back(file);
        }
        CliOptions saveOptions;
        CliOptions estimateOptions;
        if (files.empty() || !Parse(save, saveOptions) || !Parse(estimate, estimateOptions))
            return 1;
        const double saveSeconds = MedianSeconds(saveOptions, discard);
        const double estimateSeconds = MedianSeconds(estimateOptions, discard);
        if (saveSeconds <= 0 || estimateSeconds <= 0)
            return 1;
        std::printf("| %s | %.3f | %.3f | %.2f |\n", static_cast<const char*>(wxFileName(argv[i]).GetName().mb_str()),
                    saveSeconds, estimateSeconds, estimateSeconds / saveSeconds);
    }
    wxRemoveFile(output);
    std::fclose(discard);
    return 0;
}
