#include "home_override.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

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

std::string ReadFileBytes(const wxString& path)
{
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const wxString& path, const std::string& bytes)
{
    std::ofstream out(path.fn_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}
