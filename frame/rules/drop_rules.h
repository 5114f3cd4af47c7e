#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

// What a drop of files and folders from the file manager brings.
struct DroppedFiles {
    // Files in the order they came, each folder replaced by its pictures
    // (those with a picture extension, not its subfolders) in name order.
    wxArrayString pictures;
    // The first project file (.xml) dropped, empty when none; a project is
    // opened instead of adding the pictures.
    wxString project;
};
DroppedFiles SortDroppedFiles(const wxArrayString& paths);

// Name order as a file manager shows it: case-blind, numbers by value
// ("f2" before "f10").
bool ComesBeforeByName(const wxString& a, const wxString& b);

// A message's heading followed by one file per line.
wxString ListedFiles(const wxString& heading, const wxArrayString& files);
