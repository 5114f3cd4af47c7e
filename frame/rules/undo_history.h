#pragma once

// Undo and redo by whole states: each step keeps the state before it, and the
// state it undoes to goes to the redo side. States are meant to be cheap to
// copy (frames held by shared pointers), so a step costs one list of pointers.
// The history keeps at most `limit` steps, dropping the oldest.

#include <wx/string.h>

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

template <class State>
class UndoHistory {
public:
    explicit UndoHistory(size_t limit = 100) : m_limit(limit > 0 ? limit : 1) {}

    // A change was made from `before`, named `label` for the menus. A change
    // with the same non-zero `mergeKey` as the step on top (the same control
    // edited again) joins that step.
    void Record(const wxString& label, State before, int mergeKey = 0)
    {
        m_redo.clear();
        if (mergeKey != 0 && !m_undo.empty() && m_undo.back().mergeKey == mergeKey)
            return;
        m_undo.push_back(Step{label, std::move(before), mergeKey});
        if (m_undo.size() > m_limit)
            m_undo.pop_front();
    }

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    wxString UndoLabel() const { return m_undo.empty() ? wxString() : m_undo.back().label; }
    wxString RedoLabel() const { return m_redo.empty() ? wxString() : m_redo.back().label; }
    size_t UndoCount() const { return m_undo.size(); }

    // The state to show instead of `current`; `current` becomes the redo.
    // Only when CanUndo.
    State Undo(State current)
    {
        Step step = std::move(m_undo.back());
        m_undo.pop_back();
        std::swap(step.state, current);
        step.mergeKey = 0;
        m_redo.push_back(std::move(step));
        return current;
    }

    // Only when CanRedo.
    State Redo(State current)
    {
        Step step = std::move(m_redo.back());
        m_redo.pop_back();
        std::swap(step.state, current);
        m_undo.push_back(std::move(step));
        return current;
    }

    void Clear()
    {
        m_undo.clear();
        m_redo.clear();
    }

private:
    struct Step {
        wxString label;
        State state;
        int mergeKey;
    };

    size_t m_limit;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
};
