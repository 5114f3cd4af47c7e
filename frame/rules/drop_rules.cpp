#include "rules/drop_rules.h"

#include "rules/picture_file_types.h"

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/filename.h>

#include <algorithm>

namespace {
bool HasPictureExtension(const wxString& path)
{
    const wxString extension = wxFileName(path).GetExt().Lower();
    for (const PictureFileType& type : PictureFileTypes())
        for (const char* known : type.extensions)
            if (extension == known)
                return true;
    return false;
}

void AddFolderPictures(const wxString& folder, wxArrayString& pictures)
{
    wxDir dir(folder);
    if (!dir.IsOpened())
        return;
    std::vector<wxString> names;
    wxString name;
    for (bool found = dir.GetFirst(&name, wxEmptyString, wxDIR_FILES); found; found = dir.GetNext(&name))
        if (HasPictureExtension(name))
            names.push_back(name);
    std::sort(names.begin(), names.end(), ComesBeforeByName);
    for (const wxString& file : names)
        pictures.Add(wxFileName(folder, file).GetFullPath());
}
} // namespace

bool ComesBeforeByName(const wxString& a, const wxString& b)
{
    const int natural = wxCmpNaturalGeneric(a, b);
    return natural != 0 ? natural < 0 : a.Cmp(b) < 0;
}

DroppedFiles SortDroppedFiles(const wxArrayString& paths)
{
    DroppedFiles dropped;
    for (const wxString& path : paths) {
        if (wxDirExists(path))
            AddFolderPictures(path, dropped.pictures);
        else if (wxFileName(path).GetExt().Lower() == "xml") {
            if (dropped.project.empty())
                dropped.project = path;
        } else
            dropped.pictures.Add(path);
    }
    return dropped;
}

wxString ListedFiles(const wxString& heading, const wxArrayString& files)
{
    wxString text = heading;
    for (const wxString& file : files)
        text << "\n" << file;
    return text;
}
