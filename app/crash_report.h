#pragma once

#include <wx/string.h>

// Writes the compressed crash report, tells the user where it lies and shows
// that folder; the folder and its files are kept.
void GenerateCrashReport();

// The text shown after a crash, naming the report folder.
wxString CrashReportMessage(const wxString& reportFolder);
