#include "video/video_selection.h"

#include <algorithm>
#include <cmath>

std::vector<long long> ClipFrameTimes(long long fromMs, long long toMs, double fps, long long clipEndMs)
{
    std::vector<long long> times;
    if (!(fps >= kMinClipFps && fps <= kMaxClipFps) || fromMs < 0)
        return times;
    const long long end = toMs < 0 ? clipEndMs : std::min(toMs, clipEndMs);
    for (int i = 0; i < kMaxClipFrames; ++i) {
        const long long t = fromMs + std::llround(i * 1000.0 / fps);
        if (t >= end)
            break;
        times.push_back(t);
    }
    return times;
}

int ClipDelayForFps(double fps)
{
    return std::max(2, static_cast<int>(std::lround(100.0 / std::clamp(fps, kMinClipFps, kMaxClipFps))));
}

std::vector<int> ClipFrameDelays(std::size_t count, double fps)
{
    std::vector<int> delays;
    const double step = 100.0 / std::clamp(fps, kMinClipFps, kMaxClipFps);
    long long before = 0;
    for (std::size_t i = 1; i <= count; ++i) {
        const long long upTo = std::llround(i * step);
        delays.push_back(static_cast<int>(std::max(2LL, upTo - before)));
        before = upTo;
    }
    return delays;
}

double ClipFpsForDelay(int delayCs)
{
    if (delayCs <= 0)
        return kMaxClipFps;
    return std::clamp(100.0 / delayCs, kMinClipFps, kMaxClipFps);
}
