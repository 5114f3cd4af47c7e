#pragma once

#include <wx/string.h>

// Reads a number the way the C runtime's _wtoi does: leading white space is
// skipped, an optional sign, then decimal digits up to the first other
// character. Text without digits gives 0. Values beyond int saturate.
int WToI(const wxString& text);
