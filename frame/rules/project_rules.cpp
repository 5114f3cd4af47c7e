#include "rules/project_rules.h"

bool IsProjectUnsaved(const ProjectSettings& current, const ProjectSettings& record)
{
    return current.delay != record.delay || current.width != record.width ||
           current.height != record.height || current.frameCount != record.frameCount ||
           current.frameDelays != record.frameDelays || current.frames != record.frames ||
           current.loopCount != record.loopCount || current.loopInFile != record.loopInFile ||
           current.quality != record.quality;
}

bool ShouldAskBeforeOpen(bool hasProjectPath, int frameCount, bool unsaved)
{
    return hasProjectPath ? unsaved : frameCount > 0;
}
