#pragma once

#include <wx/string.h>

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
