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
    kCliNothingFits = 5,    // no file can be made under the size limit
};

// Loads the inputs, encodes them and writes the output file (complete or not
// at all), or with --estimate prints the estimated size on `out` and writes
// nothing. Failures and what fitting under a limit changed are told on
// `errors`; a progress line goes there too when `showProgress`. Returns the
// exit status.
int RunCli(const CliOptions& options, std::FILE* errors, bool showProgress, std::FILE* out = stdout);
