#pragma once

#include "decode/picture_loader.h"

#include <wx/image.h>

#include <cstddef>

// True for a WebP file of one picture: RIFF, WEBP, and no animation flag
// (animated ones are clips).
bool IsStillWebP(const unsigned char* data, std::size_t size);

// Decodes a still WebP with libwebp, after checking its declared size against
// kMaxPicturePixels; its alpha is kept when some pixel is not opaque. Returns
// the number of pictures delivered (0 or 1).
int DecodeWebPPicture(const unsigned char* data, std::size_t size, const PictureSink& sink);

// libwebp's straight RGBA rows as a picture, its alpha kept only when some
// pixel is not opaque.
wxImage PictureFromRgba(const unsigned char* rgba, const wxSize& size);
