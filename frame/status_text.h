#pragma once

#include <wx/string.h>

// Status field 0: the output file name ("Untitled.gif", translated, before
// one is chosen) and the output size in pixels.
wxString OutputStatusText(const wxString& gifName, int width, int height);

// Status field 1: the name and full size of the frame shown in the preview.
wxString FrameDetailsText(const wxString& name, int width, int height);
