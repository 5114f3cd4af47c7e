#pragma once

#include <wx/string.h>

// Required extensions are tested case-sensitively and appended when missing,
// so "anim.GIF" becomes "anim.GIF.gif".
wxString EnsureGifExtension(const wxString& path);
wxString EnsureXmlExtension(const wxString& path);
