#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>

// Fits `source` into a frame of `size`: a picture larger than the frame in
// either direction is scaled down keeping its aspect ratio (never enlarged;
// an opaque picture is averaged, one with transparency keeps exact pixels),
// then centred on black. Transparent parts (mask or alpha) show the black
// behind them. A picture of size 0 gives a black frame. `work` is the
// caller's scratch image for the scaled picture; the result is a new image
// the caller owns alone, without mask or alpha. An empty `size` gives an invalid
// image.
wxImage PrepareGifFrame(const wxImage& source, wxImage& work, const wxSize& size);

// How large a picture of `picture` needs to be decoded to prepare a frame of
// `size` as well as from its full size: twice the size it is scaled to
// (averaging needs two source pixels per frame pixel to keep fine detail
// from turning into noise), at most its own. A camera photo then decodes at
// a reduced scale, several times sooner.
wxSize PreparedDecodeSize(const wxSize& picture, const wxSize& size);
