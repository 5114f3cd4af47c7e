#pragma once

#include "cli_options.h"

#include <cstdio>

// Exit statuses of gifmaker-cli.
enum CliExit {
    kCliOk = 0,
    kCliBadUsage = 1,
    kCliUnreadableInput = 2,
    kCliUnwritableOutput = 3,
    kCliToolkitFailure = 4, // the toolkit could not start (no image handlers, no locale)
};

// Loads the inputs, encodes them and writes the output file (complete or not
// at all). Failures are told on `errors`; a progress line goes there too when
// `showProgress`. Returns the exit status.
int RunCli(const CliOptions& options, std::FILE* errors, bool showProgress);
