#pragma once

// Percentage carried by a picture of entry `entry` (from 0) of a load of
// `entryCount` entries. A still picture, or a single named GIF frame, counts
// its own entry as done. The frames of a whole GIF count only the entries
// before it, so the progress moves once per file, except the very last
// picture of the load, which reports its entry as done.
int LoadProgress(int entry, int entryCount, bool wholeGif, bool lastOfLoad);

// Percentage of the event that ends every load.
constexpr int kLoadComplete = 100;

// Percentage carried by frame `done` (from 1) of the `total` frames a clip's
// range is expected to give, the range being entry `entry` of a load of
// `entryCount` entries: a long clip moves the progress frame by frame. Only
// the last frame of the load carries kLoadComplete.
int ClipLoadProgress(int entry, int entryCount, int done, int total, bool lastOfLoad);
