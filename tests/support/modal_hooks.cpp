#include "modal_hooks.h"

#include <wx/app.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
constexpr long kFileChoiceTimeoutMs = 5000;
} // namespace

int ExpectFileChoice::OnInvoked(wxFileDialog* dialog) const
{
    if (!m_title.empty()) {
        EXPECT_EQ(dialog->GetMessage(), m_title);
    }
    if (m_id != wxID_OK)
        return m_id;
    dialog->SetPath(m_path);
    const bool multiple = dialog->HasFlag(wxFD_MULTIPLE);
    wxStopWatch watch;
    while (watch.Time() < kFileChoiceTimeoutMs) {
        wxArrayString chosen;
        if (multiple)
            dialog->GetPaths(chosen);
        else
            chosen.Add(dialog->GetPath());
        if (chosen.size() == 1 && chosen[0] == m_path)
            break;
        wxYield();
        wxMilliSleep(1);
    }
    return m_id;
}

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const
{
    m_record->shown = true;
    m_record->message = dialog->GetMessage();
    m_record->caption = dialog->GetCaption();
    m_record->style = dialog->GetMessageDialogStyle();
    return m_answer;
}
