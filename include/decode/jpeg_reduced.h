#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <cstddef>

// Decodes a JPEG at 1/8, 1/4 or 1/2 of its size, the smallest of those whose
// sides are still at least those of `atLeast`, or at full size when none is.
// The decoder does the reduction while it decodes, so a thumbnail of a camera
// photo costs a fraction of a full decode and of its memory. Invalid for a
// file the decoder refuses or a colour space it cannot turn into RGB (CMYK);
// the caller then decodes it fully. The caller checks the declared size first.
wxImage DecodeJpegReduced(const unsigned char* data, size_t size, const wxSize& atLeast);
