#include "rules/project_rules.h"

bool IsProjectUnsaved(const AnimationSettings& current, const AnimationSettings& record)
{
    return current != record;
}

bool ShouldAskBeforeOpen(bool hasProjectPath, int frameCount, bool unsaved)
{
    return hasProjectPath ? unsaved : frameCount > 0;
}
