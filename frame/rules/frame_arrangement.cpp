#include "rules/frame_arrangement.h"

#include <algorithm>
#include <numeric>

namespace {
std::vector<int> Identity(int count)
{
    std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::vector<bool> Mask(int count, const std::vector<int>& selection)
{
    std::vector<bool> mask(static_cast<size_t>(std::max(count, 0)), false);
    for (int position : selection)
        mask[static_cast<size_t>(position)] = true;
    return mask;
}

// The positions in `order` of the frames that were selected.
std::vector<int> SelectedPlaces(const std::vector<int>& order, const std::vector<bool>& selected)
{
    std::vector<int> places;
    for (size_t i = 0; i < order.size(); ++i)
        if (selected[static_cast<size_t>(order[i])])
            places.push_back(static_cast<int>(i));
    return places;
}
} // namespace

std::vector<int> CleanSelection(const std::vector<int>& selection, int count)
{
    std::vector<int> clean;
    for (int position : selection)
        if (position >= 0 && position < count)
            clean.push_back(position);
    std::sort(clean.begin(), clean.end());
    clean.erase(std::unique(clean.begin(), clean.end()), clean.end());
    return clean;
}

Arrangement MoveSelectionTo(int count, const std::vector<int>& selection, int gap)
{
    const std::vector<int> chosen = CleanSelection(selection, count);
    const std::vector<bool> selected = Mask(count, chosen);
    gap = std::clamp(gap, 0, std::max(count, 0));
    Arrangement result;
    auto putSelection = [&] {
        for (int position : chosen) {
            result.selection.push_back(static_cast<int>(result.order.size()));
            result.order.push_back(position);
        }
    };
    for (int i = 0; i < count; ++i) {
        if (i == gap)
            putSelection();
        if (!selected[static_cast<size_t>(i)])
            result.order.push_back(i);
    }
    if (gap == count)
        putSelection();
    return result;
}

Arrangement MoveSelectionBy(int count, const std::vector<int>& selection, MoveStep step)
{
    const std::vector<int> chosen = CleanSelection(selection, count);
    switch (step) {
    case MoveStep::Start:
        return MoveSelectionTo(count, chosen, 0);
    case MoveStep::End:
        return MoveSelectionTo(count, chosen, count);
    case MoveStep::Left:
    case MoveStep::Right:
        break;
    }
    std::vector<int> order = Identity(count);
    const std::vector<bool> selected = Mask(count, chosen);
    // Each unselected frame next to a selected run swaps with the whole run,
    // so that runs keep together and move by one place.
    if (step == MoveStep::Left) {
        for (int i = 1; i < count; ++i)
            if (selected[static_cast<size_t>(order[static_cast<size_t>(i)])] &&
                !selected[static_cast<size_t>(order[static_cast<size_t>(i - 1)])])
                std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(i - 1)]);
    } else {
        for (int i = count - 2; i >= 0; --i)
            if (selected[static_cast<size_t>(order[static_cast<size_t>(i)])] &&
                !selected[static_cast<size_t>(order[static_cast<size_t>(i + 1)])])
                std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(i + 1)]);
    }
    Arrangement result;
    result.selection = SelectedPlaces(order, selected);
    result.order = std::move(order);
    return result;
}

Arrangement DuplicateSelection(int count, const std::vector<int>& selection)
{
    const std::vector<int> chosen = CleanSelection(selection, count);
    Arrangement result;
    result.order = Identity(count);
    if (chosen.empty())
        return result;
    const auto after = result.order.begin() + chosen.back() + 1;
    result.order.insert(after, chosen.begin(), chosen.end());
    // The copies are what the user works on next.
    for (size_t i = 0; i < chosen.size(); ++i)
        result.selection.push_back(chosen.back() + 1 + static_cast<int>(i));
    return result;
}

Arrangement ReverseSelection(int count, const std::vector<int>& selection)
{
    std::vector<int> chosen = CleanSelection(selection, count);
    const bool whole = chosen.empty();
    if (whole)
        chosen = Identity(count);
    Arrangement result;
    result.order = Identity(count);
    for (size_t i = 0; i < chosen.size(); ++i)
        result.order[static_cast<size_t>(chosen[i])] = chosen[chosen.size() - 1 - i];
    if (!whole)
        result.selection = chosen;
    return result;
}

Arrangement BackAndForth(int count, const std::vector<int>& selection)
{
    Arrangement result;
    result.order = Identity(count);
    for (int i = count - 2; i >= 1; --i)
        result.order.push_back(i);
    result.selection = CleanSelection(selection, count);
    return result;
}
