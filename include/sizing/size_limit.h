#pragma once

#include <wx/string.h>

// Size limits are counted in decimal units, as file managers and upload
// pages show them: 1K = 1000 bytes, 1M = 1000000. "KiB" and "MiB" give the
// binary units for limits stated that way.
// Reads "10M", "256K", "1.5MB", "300KiB" or a number of bytes; false for
// anything else, zero or negative.
bool ParseSizeLimit(const wxString& text, long long& bytes);

// "2.1 MB", "256 KB", "900 bytes": the way sizes are shown, in the same
// decimal units. `bytesWord` is the word used below 1000 bytes.
wxString FormatFileSize(long long bytes, const wxString& bytesWord = "bytes");
