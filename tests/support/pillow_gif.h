#pragma once

// Reading a GIF file back with Pillow, the Python imaging library, as a
// decoder independent of giflib and of the toolkit.

#include "file_bytes.h"

#include <wx/string.h>

#include <vector>

struct PillowGif {
    bool ok = false;
    int loop = -1;                // Pillow's "loop" value; -1 when the file has no loop extension
    std::vector<int> durationsMs; // per frame
    wxString error;               // what went wrong when not ok
};

// Runs Debian's python3 with Pillow (package python3-pil) on `path`.
PillowGif ReadGifWithPillow(const wxString& path);

// What Pillow shows after each frame of the GIF file at `path`, as RGB of
// width x height; empty when Pillow cannot be run.
std::vector<Bytes> ComposeWithPillow(const wxString& path, int width, int height);
