#pragma once

#include "sizing/gif_size_fit.h"

#include <wx/string.h>

// What fitting changed against the settings asked for, in the user's
// language: "quality 62, 480x360, 24 of 48 frames"; "nothing changed" when
// the first step fitted. `count` is the number of frames asked for.
wxString GifFitSummary(const GifEncodeSettings& asked, const GifFitResult& result, std::size_t count);
