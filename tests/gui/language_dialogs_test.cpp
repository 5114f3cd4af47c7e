// After a language switch the main window's labels, tool tips and status
// texts, and every dialog opened from then on, speak the new language; the
// loop count dialog has room for the texts of every language.
#include "gifframe.h"
#include "language.h"
#include "loopcountdialog.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <iterator>
#include <memory>
#include <ostream>

// Names a language in test output by its menu text.
void PrintTo(const InterfaceLanguage& language, std::ostream* out)
{
    *out << language.label;
}

namespace {
constexpr int kGermanCode = 89;
constexpr int kSimplifiedChineseCode = 46;

// Room a box's title needs beside its text: GTK's default theme indents it by
// about 10 pixels.
constexpr int kBoxTitlePadding = 10;

wxString Utf8(const char* text)
{
    return wxString::FromUTF8(text);
}

class LanguageDialogs : public MainWindowTest {
protected:
    wxString ToolTip(const char* tool) const
    {
        return m_frame->GetToolBar()->GetToolShortHelp(XRCID(tool));
    }
};

TEST_F(LanguageDialogs, LabelsAndToolTipsFollowTheSwitch)
{
    Choose(kGermanCode);
    EXPECT_EQ(LayoutText(*m_frame, "m_staticText_delay")->GetLabel(), Utf8("Verzögerung :"));
    EXPECT_EQ(LayoutText(*m_frame, "m_staticText_width")->GetLabel(), "Breite:");
    EXPECT_EQ(LayoutText(*m_frame, "m_staticText_height")->GetLabel(), Utf8("Höhe:"));
    EXPECT_EQ(ToolTip("m_tool_insert"), Utf8("Bild hinzufügen"));
    EXPECT_EQ(ToolTip("m_tool_delete"), Utf8("Löschen"));
    EXPECT_EQ(ToolTip("m_tool_play"), "Animation abspielen");
}

TEST_F(LanguageDialogs, WindowStartedInALanguageShowsItEverywhere)
{
    // The layout is loaded before the window's own language is in force;
    // what it translated then must be set again.
    Choose(kGermanCode);
    Restart();
    EXPECT_EQ(LayoutText(*m_frame, "m_staticText_width")->GetLabel(), "Breite:");
    EXPECT_EQ(ToolTip("m_tool_insert"), Utf8("Bild hinzufügen"));
}

TEST_F(LanguageDialogs, StatusTextsFollowTheSwitch)
{
    // The strip takes a frame only when its file exists.
    const wxString picture = m_home.Path() + "/frame01.png";
    ASSERT_TRUE(wxImage(64, 48).SaveFile(picture, wxBITMAP_TYPE_PNG));
    m_frame->GetThumbnailCtrl()->Append(new wxImageThumbnailItem(new wxImage(64, 48), 0, picture), 10);
    m_frame->UpdateOutputSize();

    Choose(kSimplifiedChineseCode);
    EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(0), Utf8("未命名.gif (64 * 48)像素"));
}

TEST_F(LanguageDialogs, DialogsOpenedAfterASwitchUseTheNewLanguage)
{
    Choose(kSimplifiedChineseCode);
    LoopCountDialog loopCount(m_frame);
    EXPECT_EQ(loopCount.GetTitle(), Utf8("循环次数"));
    EXPECT_EQ(loopCount.m_buttonCancel->GetLabel(), Utf8("取消"));

    // The About dialog comes from the layout file, translated while it loads.
    wxString title, button, notice;
    class ExpectAbout : public wxExpectModalBase<wxDialog, ExpectAbout> {
    public:
        ExpectAbout(wxString& title, wxString& button, wxString& notice)
            : m_title(&title), m_button(&button), m_notice(&notice) {}

    protected:
        int OnInvoked(wxDialog* dialog) const override
        {
            *m_title = dialog->GetTitle();
            if (wxWindow* ok = dialog->FindWindow(wxID_OK))
                *m_button = ok->GetLabel();
            if (wxWindow* line = dialog->FindWindow(XRCID("m_static_information")))
                *m_notice = line->GetLabel();
            return wxID_OK;
        }

    private:
        wxString* m_title;
        wxString* m_button;
        wxString* m_notice;
    };
    wxTEST_DIALOG(Choose(ID_MENU_ABOUT), ExpectAbout(title, button, notice));
    EXPECT_EQ(title, Utf8("关于"));
    EXPECT_EQ(button, Utf8("确定"));
    EXPECT_EQ(notice, Utf8("版权所有 (C) 2026 Brackwell。保留所有权利。"));
}

int TextWidth(const wxWindow* control)
{
    return control->GetTextExtent(control->GetLabel()).x;
}

class LoopCountLayout : public LanguageDialogs,
                        public ::testing::WithParamInterface<InterfaceLanguage> {};

// Every control gets at least the size GTK asks for it (a spin control
// given less hides its arrows and makes GTK complain), the controls do not
// overlap, and the dialog holds them all.
TEST_P(LoopCountLayout, EveryControlGetsItsBestSize)
{
    Choose(GetParam().code);
    LoopCountDialog dialog(m_frame);
    // Shown, so that GTK has allocated the sizes it was asked for.
    dialog.Show();
    wxYield();
    const wxSize client = dialog.GetClientSize();
    EXPECT_GE(client.x, dialog.GetSizer()->GetMinSize().x);
    EXPECT_GE(client.y, dialog.GetSizer()->GetMinSize().y);

    const wxWindow* const controls[] = {dialog.m_radioTimes, dialog.m_spinTimes, dialog.m_labelTimes,
                                        dialog.m_radioEndless, dialog.m_checkInFile,
                                        dialog.m_buttonOk, dialog.m_buttonCancel};
    for (const wxWindow* control : controls) {
        const wxSize size = control->GetSize();
        const wxSize best = control->GetBestSize();
        EXPECT_GE(size.x, best.x) << control->GetLabel();
        EXPECT_GE(size.y, best.y) << control->GetLabel();
        const wxRect inDialog(dialog.ScreenToClient(control->GetScreenPosition()), size);
        EXPECT_TRUE(wxRect(client).Contains(inDialog)) << control->GetLabel();
    }
    for (size_t i = 0; i < std::size(controls); ++i)
        for (size_t j = i + 1; j < std::size(controls); ++j)
            EXPECT_FALSE(controls[i]->GetScreenRect().Intersects(controls[j]->GetScreenRect()))
                << controls[i]->GetLabel() << " / " << controls[j]->GetLabel();
    EXPECT_LE(TextWidth(dialog.m_box) + 2 * kBoxTitlePadding, dialog.m_box->GetSize().x);
}

INSTANTIATE_TEST_SUITE_P(Languages, LoopCountLayout, ::testing::ValuesIn(kInterfaceLanguages),
                         [](const ::testing::TestParamInfo<InterfaceLanguage>& info) {
                             return "Code" + std::to_string(info.param.code);
                         });
} // namespace
