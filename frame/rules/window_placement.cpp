#include "rules/window_placement.h"

#include <algorithm>

bool IsReachablePlace(const wxRect& window, const std::vector<wxRect>& screens)
{
    if (window.width <= 0 || window.height <= 0)
        return false;
    const int needed = std::min(kMinimumGrabWidth, window.width);
    for (const wxRect& screen : screens) {
        if (window.y < screen.y || window.y > screen.GetBottom())
            continue;
        const int left = std::max(window.x, screen.x);
        const int right = std::min(window.GetRight(), screen.GetRight());
        if (right - left + 1 >= needed)
            return true;
    }
    return false;
}
