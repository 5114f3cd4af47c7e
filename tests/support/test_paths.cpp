#include "test_paths.h"

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/filename.h>

#include <cstdlib>

wxString SourceDir()
{
    return GIFMAKER_SOURCE_DIR;
}

wxString BinaryDir()
{
    return GIFMAKER_BINARY_DIR;
}

wxString CorpusDir()
{
    if (const char* dir = std::getenv("GIFMAKER_CORPUS"))
        return dir;
    return SourceDir() + "/../shared/corpus";
}

TempDir::TempDir()
{
    char pattern[] = "/tmp/gifmaker-test-XXXXXX";
    if (const char* made = mkdtemp(pattern))
        m_path = made;
}

TempDir::~TempDir()
{
    if (!m_path.empty())
        wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE);
}

std::string Utf8(const wxString& text)
{
    return std::string(text.utf8_str());
}

wxArrayString Strings(std::initializer_list<wxString> items)
{
    wxArrayString array;
    for (const wxString& item : items)
        array.Add(item);
    return array;
}
