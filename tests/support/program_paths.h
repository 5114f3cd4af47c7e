#pragma once

#include <string>

// The program of the build tree and the title of its main window.
std::string BuiltProgram();
extern const char kMainWindowTitle[];

// Time allowed for the program to show a window or to end; generous because
// sanitizer builds start slowly on a loaded machine.
constexpr int kProgramTimeoutMs = 60000;
