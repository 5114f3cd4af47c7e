#pragma once

// Rearranging the frame list: moving the selection, duplicating, reversing,
// going back and forth. Each operation is told only the list's length and the
// selection, and answers with the new list as positions of the old one (a
// position may come twice: a copy sharing the frame) and the positions that
// are selected afterwards, so that the strip and a plain model apply it alike.

#include <cstddef>
#include <vector>

struct Arrangement {
    // new list[i] = old list[order[i]]
    std::vector<int> order;
    // Ascending positions in the new list.
    std::vector<int> selection;
};

// The positions of `selection` that lie in a list of `count`, ascending and each once.
std::vector<int> CleanSelection(const std::vector<int>& selection, int count);

// The selected frames, in their order, taken out and put back in front of the
// unselected frame that stood at `gap` (0..count; count for the end). Gaps
// inside the selection are closed.
Arrangement MoveSelectionTo(int count, const std::vector<int>& selection, int gap);

// The keyboard and menu moves of the selection.
enum class MoveStep { Left, Right, Start, End };
// Left and Right move each selected frame one place, past one unselected
// neighbour; frames already at the edge stay and those behind close up. Start
// and End move the selection, closed up, to that end.
Arrangement MoveSelectionBy(int count, const std::vector<int>& selection, MoveStep step);

// Copies of the selected frames, in their order, placed after the last selected frame.
Arrangement DuplicateSelection(int count, const std::vector<int>& selection);

// The selected frames in reverse order in the places they hold; every frame
// when nothing is selected.
Arrangement ReverseSelection(int count, const std::vector<int>& selection);

// The list followed by itself reversed without its two ends, so that a loop
// returns smoothly: 0 1 2 3 becomes 0 1 2 3 2 1. The selection stays.
Arrangement BackAndForth(int count, const std::vector<int>& selection);

// `list` rearranged by `order`.
template <class T>
std::vector<T> ApplyArrangement(const std::vector<T>& list, const std::vector<int>& order)
{
    std::vector<T> result;
    result.reserve(order.size());
    for (int position : order)
        result.push_back(list[static_cast<size_t>(position)]);
    return result;
}
