#include "rules/project_rules.h"

bool IsProjectUnsaved(const ProjectSettings& current, const ProjectSettings& record)
{
    return current.delay != record.delay || current.width != record.width ||
           current.height != record.height || current.frameCount != record.frameCount;
}

bool ShouldAskBeforeOpen(bool hasProjectPath, int frameCount, bool unsaved)
{
    return hasProjectPath ? unsaved : frameCount > 0;
}
