#include "io/wtoi.h"

#include <wx/wxcrt.h>

#include <climits>

int WToI(const wxString& text)
{
    auto it = text.begin();
    const auto end = text.end();
    while (it != end && wxIsspace(*it))
        ++it;
    bool negative = false;
    if (it != end && (*it == '+' || *it == '-')) {
        negative = (*it == '-');
        ++it;
    }
    long long value = 0;
    for (; it != end && *it >= '0' && *it <= '9'; ++it) {
        value = value * 10 + (static_cast<wxUniChar>(*it).GetValue() - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
