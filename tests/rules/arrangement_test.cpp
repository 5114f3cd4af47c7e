// Rearranging the frame list and undoing it, checked against a model: the
// list is a string of letters, one per frame, and a selection the letters'
// positions.
#include "rules/frame_arrangement.h"
#include "rules/undo_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {
std::string Apply(const std::string& list, const Arrangement& arrangement)
{
    std::string result;
    for (int position : arrangement.order)
        result += list[static_cast<size_t>(position)];
    return result;
}

std::string Selected(const std::string& list, const std::vector<int>& selection)
{
    std::string letters;
    for (int position : selection)
        letters += list[static_cast<size_t>(position)];
    return letters;
}

struct ArrangeCase {
    const char* name;
    const char* list;
    std::vector<int> selection;
    std::function<Arrangement(int, const std::vector<int>&)> operation;
    const char* expected;
    // The letters selected afterwards, in list order.
    const char* expectedSelected;
};

std::function<Arrangement(int, const std::vector<int>&)> MoveTo(int gap)
{
    return [gap](int count, const std::vector<int>& selection) { return MoveSelectionTo(count, selection, gap); };
}

std::function<Arrangement(int, const std::vector<int>&)> MoveBy(MoveStep step)
{
    return [step](int count, const std::vector<int>& selection) { return MoveSelectionBy(count, selection, step); };
}

class Arrange : public ::testing::TestWithParam<ArrangeCase> {};
} // namespace

TEST_P(Arrange, GivesTheModelsList)
{
    const ArrangeCase& c = GetParam();
    const std::string list = c.list;
    const Arrangement arrangement = c.operation(static_cast<int>(list.size()), c.selection);
    const std::string result = Apply(list, arrangement);
    EXPECT_EQ(result, c.expected);
    EXPECT_TRUE(std::is_sorted(arrangement.selection.begin(), arrangement.selection.end()));
    EXPECT_EQ(Selected(result, arrangement.selection), c.expectedSelected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Arrange,
    ::testing::Values(
        ArrangeCase{"MoveOneForward", "abcdef", {1}, MoveTo(4), "acdbef", "b"},
        ArrangeCase{"MoveOneBack", "abcdef", {4}, MoveTo(1), "aebcdf", "e"},
        ArrangeCase{"MoveOntoItself", "abcdef", {2}, MoveTo(2), "abcdef", "c"},
        ArrangeCase{"MoveJustBehindItself", "abcdef", {2}, MoveTo(3), "abcdef", "c"},
        ArrangeCase{"MoveWithGapsClosesThem", "abcdef", {1, 3}, MoveTo(6), "acefbd", "bd"},
        ArrangeCase{"MoveWithGapsOntoAGapInside", "abcdef", {1, 4}, MoveTo(3), "acbedf", "be"},
        ArrangeCase{"MoveKeepsListOrderNotClickOrder", "abcdef", {4, 0}, MoveTo(2), "baecdf", "ae"},
        ArrangeCase{"MoveToStart", "abcdef", {5}, MoveTo(0), "fabcde", "f"},
        ArrangeCase{"MoveGapPastTheEndIsTheEnd", "abc", {0}, MoveTo(9), "bca", "a"},
        ArrangeCase{"MoveNothingSelected", "abc", {}, MoveTo(1), "abc", ""},
        ArrangeCase{"LeftByOne", "abcdef", {2, 3}, MoveBy(MoveStep::Left), "acdbef", "cd"},
        ArrangeCase{"LeftWithGaps", "abcdef", {1, 3}, MoveBy(MoveStep::Left), "badcef", "bd"},
        ArrangeCase{"LeftAtTheEdgeStays", "abcdef", {0, 2}, MoveBy(MoveStep::Left), "acbdef", "ac"},
        ArrangeCase{"RightByOne", "abcdef", {1}, MoveBy(MoveStep::Right), "acbdef", "b"},
        ArrangeCase{"RightAtTheEdgeStays", "abcdef", {3, 5}, MoveBy(MoveStep::Right), "abcedf", "df"},
        ArrangeCase{"ToStart", "abcdef", {2, 4}, MoveBy(MoveStep::Start), "ceabdf", "ce"},
        ArrangeCase{"ToEnd", "abcdef", {0, 2}, MoveBy(MoveStep::End), "bdefac", "ac"},
        ArrangeCase{"DuplicateOne", "abcd", {1}, DuplicateSelection, "abbcd", "b"},
        ArrangeCase{"DuplicateWithGapsAfterTheLast", "abcde", {3, 0}, DuplicateSelection, "abcdade", "ad"},
        ArrangeCase{"DuplicateNothing", "abc", {}, DuplicateSelection, "abc", ""},
        ArrangeCase{"ReverseSelection", "abcdef", {1, 2, 3}, ReverseSelection, "adcbef", "dcb"},
        ArrangeCase{"ReverseWithGapsKeepsPlaces", "abcdef", {0, 3, 5}, ReverseSelection, "fbcdea", "fda"},
        ArrangeCase{"ReverseWholeWhenNothingSelected", "abcd", {}, ReverseSelection, "dcba", ""},
        ArrangeCase{"BackAndForth", "abcd", {}, BackAndForth, "abcdcb", ""},
        ArrangeCase{"BackAndForthOfTwo", "ab", {1}, BackAndForth, "ab", "b"},
        ArrangeCase{"BackAndForthOfOne", "a", {}, BackAndForth, "a", ""},
        ArrangeCase{"SelectionOutsideIsIgnored", "abc", {-1, 1, 7, 1}, MoveTo(0), "bac", "b"}),
    [](const ::testing::TestParamInfo<ArrangeCase>& info) { return std::string(info.param.name); });

namespace {
// The list, the selection and one output setting.
struct Model {
    std::string list;
    std::vector<int> selection;
    int quality = 0;
    bool operator==(const Model& other) const
    {
        return list == other.list && selection == other.selection && quality == other.quality;
    }
};

Model RandomStep(const Model& now, std::mt19937& random)
{
    auto pick = [&random](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    Model next = now;
    const int count = static_cast<int>(now.list.size());
    std::vector<int> selection;
    for (int i = 0; i < count; ++i)
        if (pick(3) == 0)
            selection.push_back(i);
    Arrangement arrangement;
    switch (pick(7)) {
    case 0:
        arrangement = MoveSelectionTo(count, selection, pick(count + 1));
        break;
    case 1:
        arrangement = MoveSelectionBy(count, selection, static_cast<MoveStep>(pick(4)));
        break;
    case 2:
        arrangement = DuplicateSelection(count, selection);
        break;
    case 3:
        arrangement = ReverseSelection(count, selection);
        break;
    case 4:
        if (count < 12)
            arrangement = BackAndForth(count, selection);
        else
            arrangement = MoveSelectionTo(count, selection, 0);
        break;
    case 5:
        next.quality = pick(100);
        return next;
    default:
        next.list += static_cast<char>('a' + pick(26));
        return next;
    }
    next.list = Apply(now.list, arrangement);
    // Lists stay short: deleting the selection as well.
    if (next.list.size() > 30)
        next.list.resize(10);
    next.selection = CleanSelection(arrangement.selection, static_cast<int>(next.list.size()));
    return next;
}
} // namespace

TEST(UndoHistory, TwoHundredRandomStepsUndoToTheStartAndRedoToTheEnd)
{
    std::mt19937 random(15);
    UndoHistory<Model> history(256);
    const Model start{"abcdef", {}, 50};
    Model now = start;
    std::vector<Model> seen{now};
    for (int i = 0; i < 200; ++i) {
        Model next = RandomStep(now, random);
        history.Record("step", now);
        now = next;
        seen.push_back(now);
    }
    for (int i = 200; i > 0; --i) {
        ASSERT_TRUE(history.CanUndo());
        now = history.Undo(now);
        ASSERT_EQ(now, seen[static_cast<size_t>(i - 1)]) << "after undoing step " << i;
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(now, start);
    for (int i = 1; i <= 200; ++i) {
        ASSERT_TRUE(history.CanRedo());
        now = history.Redo(now);
    }
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(now, seen.back());
}

TEST(UndoHistory, KeepsTheNewestStepsUpToItsLimit)
{
    UndoHistory<int> history(3);
    int now = 0;
    for (int i = 1; i <= 5; ++i) {
        history.Record(wxString::Format("to %d", i), now);
        now = i;
    }
    EXPECT_EQ(history.UndoCount(), 3u);
    EXPECT_EQ(history.UndoLabel(), "to 5");
    while (history.CanUndo())
        now = history.Undo(now);
    EXPECT_EQ(now, 2);
    EXPECT_EQ(history.RedoLabel(), "to 3");
}

TEST(UndoHistory, EditsOfOneControlMergeIntoOneStep)
{
    UndoHistory<int> history;
    history.Record("width", 10, 1);
    history.Record("width", 11, 1);
    history.Record("quality", 12, 2);
    EXPECT_EQ(history.UndoCount(), 2u);
    int now = history.Undo(13);
    EXPECT_EQ(now, 12);
    now = history.Undo(now);
    EXPECT_EQ(now, 10);
}
