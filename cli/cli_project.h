#pragma once

#include "decode/frame_loader.h"
#include "encode/gif_pipeline.h"
#include "sizing/gif_size_fit.h"

#include <wx/image.h>
#include <wx/string.h>

#include <vector>

// Reads a project file as the desktop program opens it: the frames of its
// load list in order, without their pixels (entries whose file is missing or
// unreadable are left out), the entry each frame came from, and the settings
// the program saves them with. False, with the reason in `error`, when the
// file is no complete project or yields no frame. `fit`, when given, receives
// the project's size limit and whether it may drop frames.
bool ReadProjectForRender(const wxString& path, std::vector<LoadedFrame>& frames, std::vector<wxString>& names,
                          GifEncodeSettings& settings, wxString& error, GifFitOptions* fit = nullptr);
