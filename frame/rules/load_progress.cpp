#include "rules/load_progress.h"

#include <algorithm>

int LoadProgress(int entry, int entryCount, bool wholeGif, bool lastOfLoad)
{
    if (entryCount <= 0)
        return kLoadComplete;
    const int done = wholeGif && !lastOfLoad ? entry : entry + 1;
    return done * kLoadComplete / entryCount;
}

int ClipLoadProgress(int entry, int entryCount, int done, int total, bool lastOfLoad)
{
    if (lastOfLoad || entryCount <= 0 || total <= 0)
        return kLoadComplete;
    const long long frames = static_cast<long long>(entry) * total + std::min(done, total);
    const long long all = static_cast<long long>(entryCount) * total;
    return static_cast<int>(std::min<long long>(kLoadComplete - 1, frames * kLoadComplete / all));
}
