#pragma once

#include "test_paths.h"

#include <wx/string.h>


// Points HOME at a fresh empty folder for the object's lifetime, so that the
// user data folder and language.txt are made there and nowhere else.
class HomeOverride {
public:
    HomeOverride();
    ~HomeOverride();
    HomeOverride(const HomeOverride&) = delete;
    HomeOverride& operator=(const HomeOverride&) = delete;

    const wxString& Path() const { return m_home.Path(); }
    // language.txt as the program places it under a home without user-dirs
    // configuration (the documents folder is then the home folder).
    wxString LanguageFile() const;

private:
    TempDir m_home;
    wxString m_previous;
    bool m_hadPrevious = false;
};
