#include "delay_rules.h"

#include <algorithm>

namespace {
bool AnyDiffers(const std::vector<int>& delays, int delay)
{
    return std::any_of(delays.begin(), delays.end(), [delay](int other) { return other != delay; });
}
} // namespace

DelayShown DelayToShow(const std::vector<int>& selectedDelays, const std::vector<int>& allDelays, int current)
{
    if (selectedDelays.empty())
        return {current, AnyDiffers(allDelays, current)};
    return {selectedDelays.front(), AnyDiffers(selectedDelays, selectedDelays.front())};
}
