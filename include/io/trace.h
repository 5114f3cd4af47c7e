#pragma once

#include <cstdio>

// The desktop program prints a short line on standard output at a few points
// (start-up paths, each added picture, the steps of a save). Earlier versions
// printed them and scripts that drive the program wait for them, so they stay;
// they all go through here so that a benchmark or test can send them elsewhere
// (or nowhere, with nullptr) without touching standard output.
void Trace(const char* line);
void SetTraceOutput(std::FILE* output);
