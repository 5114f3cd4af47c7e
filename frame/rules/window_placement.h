#pragma once

#include <wx/gdicmn.h>

#include <vector>

// How much of a window's top edge must lie on a screen for the user to take
// it by its title bar and move it.
constexpr int kMinimumGrabWidth = 64;

// Whether a window saved at `window` can be put back there: part of its top
// edge, kMinimumGrabWidth pixels or its whole width when narrower, lies on
// one of the `screens`. A place saved on a screen that has since gone (or
// moved) is not reachable; the window manager then chooses one.
bool IsReachablePlace(const wxRect& window, const std::vector<wxRect>& screens);
