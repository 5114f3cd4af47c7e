#include "rules/project_rules.h"
#include "rules/selection_rules.h"

#include <gtest/gtest.h>

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
    const AnimationSettings record{3, 10, 640, 480};
    EXPECT_FALSE(IsProjectUnsaved(record, record));
    EXPECT_TRUE(IsProjectUnsaved({3, 20, 640, 480}, record));
    EXPECT_TRUE(IsProjectUnsaved({3, 10, 641, 480}, record));
    EXPECT_TRUE(IsProjectUnsaved({3, 10, 640, 481}, record));
    EXPECT_TRUE(IsProjectUnsaved({4, 10, 640, 480}, record));
}

TEST(ProjectRules, OpenAsksAboutFramesBeforeAnyProject)
{
    EXPECT_FALSE(ShouldAskBeforeOpen(false, 0, true));
    EXPECT_TRUE(ShouldAskBeforeOpen(false, 1, false));
    EXPECT_TRUE(ShouldAskBeforeOpen(true, 0, true));
    EXPECT_FALSE(ShouldAskBeforeOpen(true, 5, false));
}
