#pragma once

#include "encode/gif_pipeline.h"

#include <wx/image.h>
#include <wx/string.h>

#include <vector>

// Reads a project file as the desktop program opens it: the pictures of its
// load list in order (entries whose file is missing or unreadable are left
// out) and the settings the program saves them with. False, with the reason in
// `error`, when the file is no complete project or yields no picture.
bool ReadProjectForRender(const wxString& path, std::vector<wxImage>& pictures, GifEncodeSettings& settings,
                          wxString& error);
