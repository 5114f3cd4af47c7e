#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

#include <initializer_list>
#include <string>

// Folders of the source and build trees, for test data and the program's own
// installation data.
wxString SourceDir();
wxString BinaryDir();
wxString CorpusDir(); // the shared image test corpus next to the checkout

// A fresh empty folder under the system's temporary folder, removed with the
// object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const wxString& Path() const { return m_path; }
    wxString File(const wxString& name) const { return m_path + "/" + name; }

private:
    wxString m_path;
};

// A path or text as UTF-8 bytes, for std::string and the C library.
std::string Utf8(const wxString& text);
// A list of paths or texts as the toolkit's string array.
wxArrayString Strings(std::initializer_list<wxString> items);
