#pragma once

#include <wx/string.h>

#include <vector>

// The picture formats and video containers the loader reads, each with the file name extensions it
// goes by. The loader tells formats apart by their contents; the extensions
// only decide what the file dialogs list.
struct PictureFileType {
    const char* name;
    std::vector<const char*> extensions; // lower case, without the dot
};
const std::vector<PictureFileType>& PictureFileTypes();

// The glob pattern of "*.<extension>" in any letter case, "*.[pP][nN][gG]":
// GTK's file chooser compares patterns case-sensitively, and cameras write
// "IMG_0001.JPG".
wxString AnyCasePattern(const char* extension);

// The wildcard of the Add and Insert Image dialogs: every supported file
// first (the dialog starts with it), then one entry per format, then every
// file. The two labels come translated.
wxString PictureFileWildcard(const wxString& allSupportedLabel, const wxString& allFilesLabel);
