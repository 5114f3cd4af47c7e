#include "paths.h"

#include "gifmaker_version.h"
#include "language.h"
#include "io/wtoi.h"

#include <wx/convauto.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <cstring>

namespace {
constexpr size_t kLanguageSettingBytes = 8;
} // namespace

wxString GetMakerName()
{
    return wxString("Brackwell", wxConvLocal);
}

wxString GetProductName()
{
    wxString name("Brackwell+GIF+Maker", wxConvLocal);
    name.Replace("+", " ");
    return name;
}

wxString GetProductVersion()
{
    return wxString(GIFMAKER_VERSION, wxConvLocal);
}

wxString ParentFolderOf(const wxString& path)
{
    wxString normalised = path;
    normalised.Replace("\\", "/");
    const int slash = normalised.Find('/', true);
    return slash == wxNOT_FOUND ? wxString() : normalised.Left(slash);
}

namespace {
// The real path of the running program, so that a start through PATH or a
// symbolic link still finds the installation it belongs to.
wxString ExecutablePath()
{
    return wxStandardPaths::Get().GetExecutablePath();
}
} // namespace

wxString GetExecutableFolder()
{
    return ParentFolderOf(ExecutablePath());
}

wxString ResourceRootOf(const wxString& executablePath)
{
    return ParentFolderOf(ParentFolderOf(executablePath));
}

wxString GetResourceRoot()
{
    return ResourceRootOf(ExecutablePath());
}

wxString GetOptionFilePath()
{
    return GetResourceRoot() + "/option.cfg";
}

wxString GetDocumentsFolder()
{
    return wxStandardPaths::Get().GetDocumentsDir();
}

wxString GetUserDataFolder()
{
    wxString folder = GetDocumentsFolder();
    folder.Replace("\\", "/");
    folder += "/" + GetMakerName() + " files";
    wxMkDir(folder, wxS_DIR_DEFAULT);
    folder += "/" + GetProductName();
    wxMkDir(folder, wxS_DIR_DEFAULT);
    return folder;
}

wxString GetLanguageFilePath()
{
    return GetUserDataFolder() + "/language.txt";
}

void OpenFolderInShell(const wxString& path)
{
    wxLaunchDefaultApplication(path);
}

int ParseLanguageSetting(const char* bytes, size_t length)
{
    char buffer[kLanguageSettingBytes + 1] = {};
    std::memcpy(buffer, bytes, std::min(length, kLanguageSettingBytes));
    return WToI(wxString(buffer, wxConvLibc));
}

int ReadLanguageSetting()
{
    const wxString path = GetLanguageFilePath();
    if (!wxFileExists(path)) {
        WriteLanguageSetting(kEnglishLanguageCode);
        return kEnglishLanguageCode;
    }
    wxFile file(path, wxFile::read);
    if (!file.IsOpened())
        return 0;
    char buffer[kLanguageSettingBytes] = {};
    const ssize_t got = file.Read(buffer, kLanguageSettingBytes);
    return got > 0 ? ParseLanguageSetting(buffer, static_cast<size_t>(got)) : 0;
}

void WriteLanguageSetting(int code)
{
    wxFile file(GetLanguageFilePath(), wxFile::write);
    if (file.IsOpened())
        file.Write(wxString::Format("%d", code), wxConvAuto());
}
