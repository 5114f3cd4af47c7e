#pragma once

#include <wx/string.h>

#include <vector>

// The settings that decide whether a project has unsaved changes; there is
// no modified flag, the current values are compared with those recorded at
// the last project save or open.
struct ProjectSettings {
    int delay = 0;
    int width = 0;
    int height = 0;
    int frameCount = 0;
    // Changes that keep the count: a frame's own delay, a frame replaced,
    // the loop choice, the quality.
    std::vector<int> frameDelays;
    std::vector<wxString> frames;
    int loopCount = 0;
    bool loopInFile = false;
    int quality = 0;
};

bool IsProjectUnsaved(const ProjectSettings& current, const ProjectSettings& record);

// Open Project asks about the frames in the strip when no project has been
// saved or opened yet and the strip holds frames, or when the project that
// was saved or opened has unsaved changes.
bool ShouldAskBeforeOpen(bool hasProjectPath, int frameCount, bool unsaved);
