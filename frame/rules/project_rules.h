#pragma once

// The settings that decide whether a project has unsaved changes; there is
// no modified flag, the current values are compared with those recorded at
// the last project save or open.
struct ProjectSettings {
    int delay = 0;
    int width = 0;
    int height = 0;
    int frameCount = 0;
};

bool IsProjectUnsaved(const ProjectSettings& current, const ProjectSettings& record);

// Open Project asks about the frames in the strip when no project has been
// saved or opened yet and the strip holds frames, or when the project that
// was saved or opened has unsaved changes.
bool ShouldAskBeforeOpen(bool hasProjectPath, int frameCount, bool unsaved);
