#pragma once

#include "project/animation_settings.h"

// A project has unsaved changes when its settings differ from those recorded
// at the last project save or open; there is no modified flag.
bool IsProjectUnsaved(const AnimationSettings& current, const AnimationSettings& record);

// Open Project asks about the frames in the strip when no project has been
// saved or opened yet and the strip holds frames, or when the project that
// was saved or opened has unsaved changes.
bool ShouldAskBeforeOpen(bool hasProjectPath, int frameCount, bool unsaved);
