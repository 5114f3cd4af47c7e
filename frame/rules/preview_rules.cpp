#include "rules/preview_rules.h"

#include <algorithm>

wxRect PreviewPlacement(const wxSize& canvas, const wxSize& frame)
{
    if (frame.x <= 0 || frame.y <= 0)
        return wxRect();
    const double sx = static_cast<double>(canvas.x) / frame.x;
    const double sy = static_cast<double>(canvas.y) / frame.y;
    wxSize drawn = frame;
    if (sx < 1 || sy < 1) {
        const double scale = std::min(sx, sy);
        drawn = wxSize(static_cast<int>(frame.x * scale), static_cast<int>(frame.y * scale));
    }
    return wxRect((canvas.x - drawn.x) / 2, (canvas.y - drawn.y) / 2 + kPreviewOffsetY, drawn.x,
                  drawn.y);
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
