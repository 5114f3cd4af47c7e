#pragma once

#include <wx/string.h>

// The status bar's fields.
constexpr int kOutputStatusField = 0;
constexpr int kFrameStatusField = 1;

// Status field 0: the output file name ("Untitled.gif", translated, before
// one is chosen) and the output size in pixels.
wxString OutputStatusText(const wxString& gifName, int width, int height);

// Status field 0 right after a project is opened: as above without the space
// before the size, and "Unititle.gif" when the project names no file. Kept as
// earlier versions showed it, since scripts that read the status bar of an
// opened project look for exactly this text.
wxString OpenedProjectStatusText(const wxString& gifName, int width, int height, const wxString& unit);

// Status field 1: the name and full size of the frame shown in the preview.
wxString FrameDetailsText(const wxString& name, int width, int height);
