#include "rules/preview_rules.h"

#include <algorithm>

wxRect PreviewPlacement(const wxSize& canvas, const wxSize& frame)
{
    if (frame.x <= 0 || frame.y <= 0 || canvas.x <= 0 || canvas.y <= 0)
        return wxRect();
    wxSize drawn = frame;
    if (frame.x > canvas.x || frame.y > canvas.y) {
        // In integers: the side that limits the fit takes the canvas's extent
        // exactly and the other is rounded down, so the picture never spills
        // over by a pixel as a rounded scale factor could make it.
        const long long fx = frame.x, fy = frame.y, cx = canvas.x, cy = canvas.y;
        if (fx * cy >= fy * cx)
            drawn = wxSize(canvas.x, static_cast<int>(std::max(1LL, fy * cx / fx)));
        else
            drawn = wxSize(static_cast<int>(std::max(1LL, fx * cy / fy)), canvas.y);
    }
    return wxRect((canvas.x - drawn.x) / 2, (canvas.y - drawn.y) / 2, drawn.x, drawn.y);
}

bool AdvancePreview(int& playIndex, int& loopsPlayed, int loopCount, int frameCount)
{
    ++playIndex;
    if (playIndex < frameCount)
        return false;
    playIndex = 0;
    ++loopsPlayed;
    if (loopCount > 0 && loopsPlayed >= loopCount) {
        loopsPlayed = 0;
        return true;
    }
    return false;
}

int PreviewIntervalMs(int delay)
{
    // The delay counts hundredths of a second.
    return (delay < kShortestPlayedDelay ? kShortDelayPlayedAs : delay) * 10;
}
