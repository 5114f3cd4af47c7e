#pragma once

#include <cstddef>
#include <vector>

// A clip yields at most this many frames at once, whatever its length and
// rate (10 minutes at 10 frames per second is 6,000).
constexpr int kMaxClipFrames = 10000;

// Browsers show GIF delays under 2 hundredths of a second as 10, so a faster
// rate would play slower, not faster.
constexpr double kMaxClipFps = 50;
constexpr double kMinClipFps = 0.01;

// The times, in milliseconds from the clip's first frame, of the frames taken
// from `fromMs` up to (not including) `toMs` at `fps` frames per second;
// `toMs` < 0 means the clip's end. No time reaches `clipEndMs`; at most
// kMaxClipFrames times.
std::vector<long long> ClipFrameTimes(long long fromMs, long long toMs, double fps, long long clipEndMs);

// The GIF delay, in hundredths of a second, that plays frames taken at `fps`
// at the clip's speed as nearly as one delay for every frame can.
int ClipDelayForFps(double fps);

// Delays for `count` frames taken at `fps` that add up to the clip's time:
// each frame's delay is rounded so that the error never builds up (at 30
// frames per second: 3, 4, 3, 3, 4, 3, ...).
std::vector<int> ClipFrameDelays(std::size_t count, double fps);

// The rate whose frames a delay of `delayCs` plays at the clip's speed,
// within the limits above.
double ClipFpsForDelay(int delayCs);
