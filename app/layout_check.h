#pragma once

#include <wx/string.h>

class wxWindow;

// The first named object that the main window needs and its layout lacks (or
// holds with another class), as "name" (Class); empty when all are there.
wxString FindMissingLayoutObject(wxWindow& frame);
