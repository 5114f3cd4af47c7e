#pragma once

#include "sizing/size_presets.h"

#include <wx/dialog.h>

#include <vector>

class wxButton;
class wxListBox;
class wxTextCtrl;

// Edits the size limit presets: the list, with the name, limit and side
// limit of the chosen one in fields below it; Add and Change take the
// fields, refusing with a message what is not a preset. The caller keeps
// Presets() when ShowModal returns wxID_OK.
class SizePresetsDialog : public wxDialog {
public:
    SizePresetsDialog(wxWindow* parent, const std::vector<SizePreset>& presets);

    const std::vector<SizePreset>& Presets() const { return m_presets; }

    // Ids of the buttons beside the list.
    static constexpr int ID_ADD = wxID_HIGHEST + 1;
    static constexpr int ID_CHANGE = wxID_HIGHEST + 2;
    static constexpr int ID_DELETE = wxID_HIGHEST + 3;
    static constexpr int ID_RESTORE = wxID_HIGHEST + 4;

    wxListBox* m_list = nullptr;
    wxTextCtrl* m_name = nullptr;
    wxTextCtrl* m_limit = nullptr;
    wxTextCtrl* m_side = nullptr;

private:
    void CreateControls();
    // Lists the presets, choosing the one at `select` (none when out of range).
    void FillList(int select);
    void ShowChosen();
    // The fields as a preset in place of the one at `editing`; false, after
    // saying why, when they are not one.
    bool ReadFields(std::size_t editing, SizePreset& preset);
    void OnChoose(wxCommandEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnChange(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnRestore(wxCommandEvent& event);

    std::vector<SizePreset> m_presets;
};
