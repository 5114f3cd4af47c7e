// A saved window place is used only where the user can still reach the
// window's title bar.
#include "rules/window_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct PlaceCase {
    const char* name;
    wxRect window;
    bool reachable;
};

// Two screens side by side: 1920x1080 and 1280x1024 to its right.
const std::vector<wxRect> kScreens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};

const PlaceCase kPlaces[] = {
    {"OnTheFirstScreen", {100, 100, 900, 680}, true},
    {"OnTheSecondScreen", {2000, 50, 900, 680}, true},
    {"AcrossBothScreens", {1500, 100, 900, 680}, true},
    {"MostlyOffTheRightEdge", {3200 - 64, 100, 900, 680}, true},
    {"TooLittleLeftToGrab", {3200 - 63, 100, 900, 680}, false},
    {"MostlyOffTheLeftEdge", {-836, 100, 900, 680}, true},
    {"TitleBarAboveTheScreens", {100, -20, 900, 680}, false},
    {"BelowTheShorterScreen", {2000, 1030, 900, 680}, false},
    {"WhereAThirdScreenWas", {3300, 100, 900, 680}, false},
    {"FarAway", {-10000, -10000, 900, 680}, false},
    {"NarrowWindowWhollyOnScreen", {10, 10, 40, 40}, true},
    {"NoSize", {100, 100, 0, 0}, false},
};

class WindowPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(WindowPlacement, ReachableOnlyWithTheTitleBarOnAScreen)
{
    EXPECT_EQ(IsReachablePlace(GetParam().window, kScreens), GetParam().reachable);
}

INSTANTIATE_TEST_SUITE_P(Places, WindowPlacement, ::testing::ValuesIn(kPlaces),
                         [](const ::testing::TestParamInfo<PlaceCase>& info) {
                             return std::string(info.param.name);
                         });
} // namespace
