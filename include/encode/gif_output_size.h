#pragma once

#include <wx/gdicmn.h>

#include <vector>

// The output size the frames suggest: going through them in order, a frame
// that is wider or taller than the size so far replaces it as a whole (so the
// result is one frame's size, not the largest width and height). (0, 0) for
// no frames.
wxSize GifDefaultOutputSize(const std::vector<wxSize>& frameSizes);
