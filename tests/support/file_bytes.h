#pragma once

// Whole files read and written in one call, for test data and for checking
// what the program wrote.

#include <wx/string.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Empty when the file cannot be read.
Bytes ReadFileBytes(const wxString& path);
std::string ReadFileText(const wxString& path);

// Replace the file's contents and return `path`; a file that cannot be
// written fails the running test.
wxString WriteFileBytes(const wxString& path, const Bytes& bytes);
wxString WriteFileText(const wxString& path, const std::string& text);
