#pragma once

// Undo and redo by whole states: each step keeps the state before it, and the
// state it undoes to goes to the redo side. States are meant to be cheap to
// copy (frames held by shared pointers), so a step costs one list of pointers.
// The history keeps at most `limit` steps, dropping the oldest, and knows
// whether the state is the one last marked as saved.

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
    // edited again) joins that step, unless that step is the saved state.
    void Record(const wxString& label, State before, int mergeKey = 0)
    {
        m_redo.clear();
        if (mergeKey != 0 && !m_undo.empty() && m_undo.back().mergeKey == mergeKey &&
            m_undo.back().id != m_savedId)
            return;
        m_undo.push_back(Step{label, std::move(before), mergeKey, ++m_lastId});
        if (m_undo.size() > m_limit) {
            m_baseId = m_undo.front().id;
            m_undo.pop_front();
        }
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

    // Forgets every step; the state now is the saved one.
    void Clear()
    {
        m_undo.clear();
        m_redo.clear();
        m_baseId = 0;
        m_savedId = 0;
    }

    void MarkSaved() { m_savedId = TopId(); }
    // False only in the state last marked saved, however it was reached.
    bool IsModified() const { return TopId() != m_savedId; }

private:
    struct Step {
        wxString label;
        State state;
        int mergeKey;
        // Names the state after this step; never reused, so a saved state
        // dropped from the history is never matched again.
        unsigned long long id;
    };

    unsigned long long TopId() const { return m_undo.empty() ? m_baseId : m_undo.back().id; }

    size_t m_limit;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    unsigned long long m_lastId = 0;
    // The state below the oldest kept step.
    unsigned long long m_baseId = 0;
    unsigned long long m_savedId = 0;
};
