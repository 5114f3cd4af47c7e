#include "home_override.h"

#include <cstdlib>

HomeOverride::HomeOverride()
{
    if (const char* home = std::getenv("HOME")) {
        m_previous = home;
        m_hadPrevious = true;
    }
    setenv("HOME", m_home.Path().utf8_str(), 1);
}

HomeOverride::~HomeOverride()
{
    if (m_hadPrevious)
        setenv("HOME", m_previous.utf8_str(), 1);
    else
        unsetenv("HOME");
}

wxString HomeOverride::LanguageFile() const
{
    return Path() + "/Brackwell files/Brackwell GIF Maker/language.txt";
}
