#pragma once

#include <wx/image.h>

#include <functional>

// Pictures with more pixels than this are refused before anything is
// allocated for them (the order of the decompression-bomb guards of other
// image libraries).
constexpr long long kMaxPicturePixels = 100LL * 1000 * 1000;

// Receives each picture a path yields, with its frame index inside a GIF file
// (0 for other pictures). The picture owns its data alone, so it may be handed
// to another thread. Return false to stop the load early.
using PictureSink = std::function<bool(wxImage&& picture, int frameIndex)>;

// Decodes what `path` names: every frame of a file ending in ".gif" (each one
// the picture a viewer shows at that point), the single frame named by a GIF
// frame name ("anim.gif_3"), or the one picture of any other file through the
// toolkit's image handlers. A file that cannot be read, or a picture that is
// refused, yields nothing. Returns the number of pictures delivered. Safe to
// call on any thread.
int LoadPictures(const wxString& path, const PictureSink& sink);
