#pragma once

#include <wx/string.h>

// A frame taken from a GIF file is named after that file followed by "_" and
// the frame index, for example "/pics/anim.gif_3". These read such names back.
// Only the last three digits are looked at, so frames 0 to 999 round-trip.

// The frame index of a GIF frame name, or -1 when the name is not one.
int GifFrameNumberFromName(const wxString& name);

// The GIF file a frame name comes from; any other name is returned unchanged.
wxString GifFrameSourcePath(const wxString& name);

// The name of frame `index` of the GIF file `path`.
wxString GifFrameName(const wxString& path, int index);

// True when the path names a GIF file by its ending (".gif", case-sensitive).
bool HasGifExtension(const wxString& path);
