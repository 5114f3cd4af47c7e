#include "save_test_support.h"

#include "gifframe.h"
#include "rules/status_text.h"

#include <wx/combobox.h>
#include <wx/filename.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {
constexpr long kEstimateTimeoutMs = 20000;

// Lets the window work until the estimate beside the settings shows a figure
// other than `previous`; returns it (empty when none came in time).
wxString WaitForEstimate(GifFrame* frame, const wxString& previous = wxString())
{
    wxStopWatch watch;
    while (watch.Time() < kEstimateTimeoutMs) {
        wxYield();
        const wxString text = frame->GetEstimateText();
        if (text.StartsWith("Estimated size: ") && text != previous)
            return text;
        wxMilliSleep(20);
    }
    return wxString();
}

// Types `text` over what the field holds, as the user does, and waits until
// the field shows it.
void TypeInto(wxComboBox* field, const wxString& text)
{
    field->SetFocus();
    field->SelectAll();
    wxUIActionSimulator input;
    input.Text(text.utf8_str());
    wxStopWatch watch;
    while (field->GetValue() != text && watch.Time() < kEstimateTimeoutMs) {
        wxYield();
        wxMilliSleep(10);
    }
    wxYield();
}
} // namespace

class SizeLimitWindowTest : public SaveWindowTest {};

// The estimate appears beside the settings and follows the quality; a limit
// typed into its field makes Save write a file under it and say what changed.
TEST_F(SizeLimitWindowTest, EstimateFollowsSettingsAndSaveFitsUnderTheLimit)
{
    AddFrames(8, 120, 90);
    SetOutput(10, 120, 90);
    const wxString first = WaitForEstimate(m_frame);
    ASSERT_FALSE(first.empty()) << m_frame->GetEstimateText();
    EXPECT_TRUE(first.Contains("KB") || first.Contains("bytes")) << first;

    const wxString plain = SaveFirstAs("plain.gif");
    const long long full = wxFileName::GetSize(plain).GetValue();
    ASSERT_GT(full, 0);

    Spin("m_spinctrl_quality")->SetValue(5);
    EXPECT_FALSE(WaitForEstimate(m_frame, first).empty()) << "the estimate follows the quality";
    Spin("m_spinctrl_quality")->SetValue(85);

    auto* limit = dynamic_cast<wxComboBox*>(LayoutWindow(*m_frame, "m_combo_limit"));
    ASSERT_NE(limit, nullptr);
    TypeInto(limit, "nonsense");
    EXPECT_TRUE(m_frame->GetEstimateText().StartsWith("Size limit not understood")) << m_frame->GetEstimateText();

    TypeInto(limit, wxString::Format("%lld", full / 2));
    EXPECT_EQ(limit->GetValue(), wxString::Format("%lld", full / 2));
    const wxString fitted = m_dir.File("fitted.gif");
    wxTEST_DIALOG(SaveAs(), ExpectFileChoice(wxString(), fitted));
    const long long written = wxFileName::GetSize(fitted).GetValue();
    EXPECT_GT(written, 0);
    EXPECT_LE(written, full / 2);
    EXPECT_TRUE(Status(kOutputStatusField).StartsWith("Saved ")) << Status(kOutputStatusField);
    EXPECT_EQ(m_frame->GetFitOptions().limit, full / 2);
}
