#pragma once

#include <vector>

// What the Delay control shows: a delay, and whether the frames it speaks for
// have other delays besides (the control is then marked).
struct DelayShown {
    int delay = 0;
    bool mixed = false;
};

// With frames selected, the first selected frame's delay, mixed when another
// selected frame differs. With none selected the control keeps `current`
// (the delay every frame gets from it and new pictures take), mixed when a
// frame differs from it.
DelayShown DelayToShow(const std::vector<int>& selectedDelays, const std::vector<int>& allDelays, int current);
