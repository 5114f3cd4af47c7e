#pragma once

#include <wx/string.h>

// Identity of the product.
wxString GetMakerName();
wxString GetProductName();
wxString GetProductVersion();

// Folders and files of the installation: the executable lives in bin/, one
// folder below the resource root that holds Themes/, Language/ and option.cfg.
wxString GetExecutableFolder();
wxString GetResourceRoot();
wxString GetOptionFilePath();
// Everything before the last "/" of `path` ("\\" read as "/"); empty without one.
wxString ParentFolderOf(const wxString& path);
// The resource root of a program started from `executablePath`: the parent
// of the folder that holds the executable.
wxString ResourceRootOf(const wxString& executablePath);

// The user's documents folder, empty when it cannot be found.
wxString GetDocumentsFolder();
// Documents/<maker> files/<product>, created on demand.
wxString GetUserDataFolder();
wxString GetLanguageFilePath();

// Shows a folder in the desktop's file manager.
void OpenFolderInShell(const wxString& path);

// The interface language code kept in language.txt; a missing file is created
// holding the English code.
int ReadLanguageSetting();
void WriteLanguageSetting(int code);
// The number at the start of the first 8 bytes of a language.txt.
int ParseLanguageSetting(const char* bytes, size_t length);
