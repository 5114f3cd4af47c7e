#pragma once

// The settings of an animation besides its pictures: what the window's
// controls hold, what a project records and what a save writes. The window
// compares them whole with those of the last save to tell unsaved changes.
struct AnimationSettings {
    int frameCount = 0;
    int delay = 0;  // hundredths of a second
    int width = 0;  // output size in pixels
    int height = 0;
};

inline bool operator==(const AnimationSettings& a, const AnimationSettings& b)
{
    return a.frameCount == b.frameCount && a.delay == b.delay && a.width == b.width &&
           a.height == b.height;
}

inline bool operator!=(const AnimationSettings& a, const AnimationSettings& b)
{
    return !(a == b);
}
