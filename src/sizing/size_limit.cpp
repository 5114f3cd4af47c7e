#include "sizing/size_limit.h"

#include <cmath>

namespace {

struct Unit {
    const char* suffix;
    double factor;
};

// Longer suffixes first, so that "KiB" is not read as "B".
const Unit kUnits[] = {
    {"kib", 1024.0}, {"mib", 1024.0 * 1024}, {"gib", 1024.0 * 1024 * 1024},
    {"kb", 1e3},     {"mb", 1e6},            {"gb", 1e9},
    {"k", 1e3},      {"m", 1e6},             {"g", 1e9},
    {"b", 1.0},
};

// No GIF this program writes comes near this; a larger number is a typo.
constexpr double kLargestLimit = 1e12;

} // namespace

bool ParseSizeLimit(const wxString& text, long long& bytes)
{
    wxString number = text.Strip(wxString::both).Lower();
    double factor = 1.0;
    for (const Unit& unit : kUnits) {
        wxString rest;
        if (number.EndsWith(unit.suffix, &rest)) {
            number = rest.Strip(wxString::trailing);
            factor = unit.factor;
            break;
        }
    }
    double value = 0;
    if (number.empty() || number.find_first_not_of("0123456789.") != wxString::npos || !number.ToCDouble(&value))
        return false;
    const double total = std::floor(value * factor);
    if (!(total >= 1.0) || total > kLargestLimit)
        return false;
    bytes = static_cast<long long>(total);
    return true;
}

wxString FormatFileSize(long long bytes, const wxString& bytesWord)
{
    if (bytes < 1000)
        return wxString::Format("%lld %s", bytes, bytesWord);
    if (bytes < 1000 * 1000) {
        const double kb = bytes / 1e3;
        return kb < 100 ? wxString::FromCDouble(kb, 1) + " KB" : wxString::Format("%.0f KB", kb);
    }
    const double mb = bytes / 1e6;
    return mb < 100 ? wxString::FromCDouble(mb, mb < 10 ? 2 : 1) + " MB" : wxString::Format("%.0f MB", mb);
}
