#pragma once

#include <wx/image.h>

// A picture scaled to width x height by averaging the source pixels each new
// pixel covers (alpha averaged alike); enlarging repeats pixels. The
// toolkit's own box averaging reads past its buffers on very tall or wide
// pictures, which a hostile file can ask for.
wxImage ScaleByAveraging(const wxImage& picture, int width, int height);
