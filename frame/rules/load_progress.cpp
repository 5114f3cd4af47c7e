#include "rules/load_progress.h"

int LoadProgress(int entry, int entryCount, bool wholeGif, bool lastOfLoad)
{
    if (entryCount <= 0)
        return kLoadComplete;
    const int done = wholeGif && !lastOfLoad ? entry : entry + 1;
    return done * kLoadComplete / entryCount;
}
