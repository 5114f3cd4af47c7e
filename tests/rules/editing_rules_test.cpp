#include "rules/project_rules.h"
#include "rules/selection_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

namespace {
wxArrayInt Indices(std::initializer_list<int> values)
{
    wxArrayInt array;
    for (int value : values)
        array.push_back(value);
    return array;
}
} // namespace

TEST(DeletionOrder, HighestFirst)
{
    EXPECT_EQ(DeletionOrder(Indices({1, 4, 2}), 6), (std::vector<int>{4, 2, 1}));
}

TEST(DeletionOrder, IgnoresIndicesThatNameNoItem)
{
    EXPECT_EQ(DeletionOrder(Indices({-1, 3, 7, 3}), 5), (std::vector<int>{3}));
    EXPECT_TRUE(DeletionOrder(Indices({}), 5).empty());
}

TEST(InsertPosition, InFrontOfTheFirstSelected)
{
    EXPECT_EQ(InsertPosition(Indices({5, 2}), 10), 5);
    EXPECT_EQ(InsertPosition(Indices({0}), 10), 0);
}

TEST(InsertPosition, AtTheEndWithoutUsableSelection)
{
    EXPECT_EQ(InsertPosition(Indices({}), 10), 10);
    EXPECT_EQ(InsertPosition(Indices({-1}), 10), 10);
    EXPECT_EQ(InsertPosition(Indices({12}), 10), 10);
}

TEST(ProjectRules, AnyDifferenceIsUnsaved)
{
    AnimationSettings record{3, 10, 640, 480, {10, 10, 10}, {"a.png", "b.png", "c.png"}, 0, false, 100};
    EXPECT_FALSE(IsProjectUnsaved(record, record));
    const std::function<void(AnimationSettings&)> changes[] = {
        [](AnimationSettings& s) { s.delay = 20; },
        [](AnimationSettings& s) { s.width = 641; },
        [](AnimationSettings& s) { s.height = 481; },
        [](AnimationSettings& s) { s.frameCount = 4; },
        // The count stays in each of these.
        [](AnimationSettings& s) { s.frameDelays[1] = 50; },
        [](AnimationSettings& s) { s.frames[2] = "d.png"; },
        [](AnimationSettings& s) { s.loopCount = 2; },
        [](AnimationSettings& s) { s.loopInFile = true; },
        [](AnimationSettings& s) { s.quality = 80; },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        AnimationSettings current = record;
        changes[i](current);
        EXPECT_TRUE(IsProjectUnsaved(current, record)) << "change " << i;
    }
}

TEST(ProjectRules, OpenAsksAboutFramesBeforeAnyProject)
{
    EXPECT_FALSE(ShouldAskBeforeOpen(false, 0, true));
    EXPECT_TRUE(ShouldAskBeforeOpen(false, 1, false));
    EXPECT_TRUE(ShouldAskBeforeOpen(true, 0, true));
    EXPECT_FALSE(ShouldAskBeforeOpen(true, 5, false));
}
