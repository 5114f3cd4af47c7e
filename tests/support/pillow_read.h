#pragma once

// A GIF read back through Pillow (python3-pil), a third decoder that also
// composites frames the way viewers do.

#include "file_bytes.h"

#include <wx/string.h>

#include <vector>

// What Pillow shows after each frame of the GIF file at `path`, as RGB of
// width x height; empty when Pillow cannot be run.
std::vector<Bytes> ComposeWithPillow(const wxString& path, int width, int height);
