// The main window as the program shows it right after start-up.
#include "language.h"
#include "gifframe.h"
#include "main_window.h"
#include "canvas_colour.h"
#include "rules/preview_rules.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <vector>

namespace {

class StartupState : public MainWindowTest {
protected:
};

std::vector<wxString> LabelsOf(const wxMenu* menu)
{
    std::vector<wxString> labels;
    for (const wxMenuItem* item : menu->GetMenuItems())
        labels.push_back(item->GetItemLabel());
    return labels;
}
} // namespace

TEST_F(StartupState, TitleIconAndLanguage)
{
    EXPECT_EQ(m_frame->GetTitle(), "Brackwell GIF Maker");
    ASSERT_EQ(m_frame->GetIcons().GetIconCount(), 1u);
    EXPECT_TRUE(m_frame->GetIcons().GetIconByIndex(0).IsOk());
    EXPECT_EQ(m_frame->GetLanguage(), kEnglishLanguageCode);
}

TEST_F(StartupState, MenusHoldEveryItemInOrder)
{
    wxMenuBar* bar = m_frame->GetMenuBar();
    ASSERT_EQ(bar, m_frame->GetMenuBar());
    ASSERT_EQ(bar->GetMenuCount(), 5u);
    EXPECT_EQ(bar->GetMenuLabel(0), "File");
    EXPECT_EQ(bar->GetMenuLabel(1), "Edit");
    EXPECT_EQ(bar->GetMenuLabel(2), "Frame");
    EXPECT_EQ(bar->GetMenuLabel(3), "Animation");
    EXPECT_EQ(bar->GetMenuLabel(4), "Help");

    EXPECT_EQ(LabelsOf(bar->GetMenu(0)),
              (std::vector<wxString>{"Save", "Save As", "Open Project", "Save Project\tCtrl+S",
                                     "Exit\tCtrl+Q"}));
    EXPECT_EQ(LabelsOf(bar->GetMenu(1)), (std::vector<wxString>{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y"}));
    EXPECT_EQ(LabelsOf(bar->GetMenu(2)),
              (std::vector<wxString>{"Add Image\tCtrl+Ins", "Delete\tCtrl+Del", "Clear All",
                                     "Set Delay of Selected Frames...\tCtrl+D", "",
                                     "Move Left\tCtrl+Shift+Left", "Move Right\tCtrl+Shift+Right",
                                     "Move to Start\tCtrl+Shift+Home", "Move to End\tCtrl+Shift+End", "",
                                     "Duplicate\tCtrl+Shift+D", "Reverse", "Back and Forth"}));
    EXPECT_EQ(LabelsOf(bar->GetMenu(3)),
              (std::vector<wxString>{"Run animation\tCtrl+P", "Loop Count"}));
    EXPECT_EQ(LabelsOf(bar->GetMenu(4)),
              (std::vector<wxString>{"Help", "Language", "Support", "Check for Update", "About"}));
    EXPECT_EQ(bar->GetMenu(4)->FindItemByPosition(1)->GetId(), ID_MENU_LANGUAGE);
    EXPECT_NE(bar->GetMenu(4)->FindItemByPosition(1)->GetSubMenu(), nullptr);
}

TEST_F(StartupState, LanguageItemsKeepTheirNamesAndOnlyTheStoredOneIsChecked)
{
    const std::vector<wxString> names = {wxString::FromUTF8("中文简体"), wxString::FromUTF8("中文繁体"),
                                         "Deutsch", "English", wxString::FromUTF8("Français"),
                                         "Italiano", wxString::FromUTF8("日本語")};
    const std::vector<int> codes = {46, 47, 89, 58, 80, 110, 112};
    const wxMenuItemList& items = m_frame->GetMenuBar()->FindItem(ID_MENU_LANGUAGE)->GetSubMenu()->GetMenuItems();
    ASSERT_EQ(items.size(), names.size());
    size_t i = 0;
    for (const wxMenuItem* item : items) {
        EXPECT_EQ(item->GetItemLabel(), names[i]);
        EXPECT_EQ(item->GetId(), codes[i]);
        EXPECT_TRUE(item->IsCheckable());
        EXPECT_TRUE(item->IsEnabled());
        EXPECT_EQ(item->IsChecked(), codes[i] == kEnglishLanguageCode) << names[i];
        ++i;
    }
}

TEST_F(StartupState, EditingCommandsAreDisabledUntilThereAreFrames)
{
    for (const wxMenuItem* item :
         {m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE), m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE_AS), m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE_PROJECT),
          m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE), m_frame->GetMenuBar()->FindItem(ID_MENU_CLEAR_ALL), m_frame->GetMenuBar()->FindItem(ID_MENU_RUN_ANIMATION),
          m_frame->GetMenuBar()->FindItem(ID_MENU_LOOP_COUNT)})
        EXPECT_FALSE(item->IsEnabled()) << item->GetItemLabel();
    for (const wxMenuItem* item :
         {m_frame->GetMenuBar()->FindItem(ID_MENU_OPEN_PROJECT), m_frame->GetMenuBar()->FindItem(ID_MENU_EXIT), m_frame->GetMenuBar()->FindItem(ID_MENU_ADD_IMAGE),
          m_frame->GetMenuBar()->FindItem(ID_MENU_HELP), m_frame->GetMenuBar()->FindItem(ID_MENU_SUPPORT), m_frame->GetMenuBar()->FindItem(ID_MENU_CHECK_UPDATE),
          m_frame->GetMenuBar()->FindItem(ID_MENU_ABOUT)})
        EXPECT_TRUE(item->IsEnabled()) << item->GetItemLabel();

    wxToolBar* tools = m_frame->GetToolBar();
    ASSERT_NE(tools, nullptr);
    EXPECT_FALSE(tools->GetToolEnabled(XRCID("m_tool_play")));
    EXPECT_FALSE(tools->GetToolEnabled(XRCID("m_tool_delete")));
    EXPECT_TRUE(tools->GetToolEnabled(XRCID("m_tool_insert")));

    for (const wxSpinCtrl* spin :
         {LayoutSpin(*m_frame, "m_spinctrl_delay"), LayoutSpin(*m_frame, "m_spinctrl_width"), LayoutSpin(*m_frame, "m_spinctrl_height")})
        EXPECT_FALSE(spin->IsEnabled());
}

TEST_F(StartupState, SpinControlsAcceptEveryValueAGifCanStore)
{
    for (const wxSpinCtrl* spin :
         {LayoutSpin(*m_frame, "m_spinctrl_delay"), LayoutSpin(*m_frame, "m_spinctrl_width"), LayoutSpin(*m_frame, "m_spinctrl_height")}) {
        EXPECT_EQ(spin->GetMin(), 0);
        EXPECT_EQ(spin->GetMax(), 65535);
    }
    EXPECT_EQ(LayoutSpin(*m_frame, "m_spinctrl_width")->GetValue(), 0);
    EXPECT_EQ(LayoutSpin(*m_frame, "m_spinctrl_height")->GetValue(), 0);
}

TEST_F(StartupState, StatusBarHasThreeEmptyFieldsOf200And400AndTheRest)
{
    wxStatusBar* status = m_frame->GetStatusBar();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(m_frame->GetStatusBar(), status);
    ASSERT_EQ(status->GetFieldsCount(), 3);
    EXPECT_EQ(status->GetStatusWidth(0), 200);
    EXPECT_EQ(status->GetStatusWidth(1), 400);
    EXPECT_EQ(status->GetStatusWidth(2), -1);
    for (int field = 0; field < 3; ++field)
        EXPECT_EQ(status->GetStatusText(field), "");
}

TEST_F(StartupState, StripSitsInTheTopPaneAndThePreviewBelow)
{
    auto* splitter = dynamic_cast<wxSplitterWindow*>(LayoutWindow(*m_frame, "m_splitter3"));
    wxWindow* top = LayoutWindow(*m_frame, "m_panel_top");
    wxWindow* down = LayoutWindow(*m_frame, "m_panel_down");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->GetSplitMode(), wxSPLIT_HORIZONTAL);
    EXPECT_EQ(splitter->GetWindow1(), top);
    EXPECT_EQ(splitter->GetWindow2(), down);

    wxThumbnailCtrl* strip = m_frame->GetThumbnailCtrl();
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->GetParent(), top);
    EXPECT_EQ(strip->GetId(), ID_THUMBNAIL_CTRL);
    EXPECT_EQ(strip->GetCount(), 0);
    EXPECT_EQ(strip->GetBackgroundColour(), wxColour(176, 223, 227));
    // The theme's tooltip colour, made opaque so that clearing the canvas
    // gives the same shade as the toolkit's own painting.
    const wxColour canvas = down->GetBackgroundColour();
    EXPECT_EQ(canvas, OpaqueColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK),
                                   splitter->GetBackgroundColour()));
    EXPECT_EQ(canvas.Alpha(), wxALPHA_OPAQUE);
}

TEST_F(StartupState, LabelsArePresent)
{
    for (const wxStaticText* label :
         {LayoutText(*m_frame, "m_staticText_delay"), LayoutText(*m_frame, "m_staticText_sec"), LayoutText(*m_frame, "m_staticText_gif"),
          LayoutText(*m_frame, "m_staticText_width"), LayoutText(*m_frame, "m_staticText_wpx"), LayoutText(*m_frame, "m_staticText_height"),
          LayoutText(*m_frame, "m_staticText_hpx")})
        ASSERT_NE(label, nullptr);
}

TEST_F(StartupState, PreviewIsStoppedWithEndlessLoops)
{
    EXPECT_TRUE(m_frame->IsStopped());
    EXPECT_EQ(m_frame->GetLoopCount(), 0);
    EXPECT_EQ(m_frame->GetPreviewName(), "");
}

TEST_F(StartupState, OpeningAMenuKeepsTheStatusText)
{
    ASSERT_NE(m_frame->GetStatusBar(), nullptr);
    m_frame->GetStatusBar()->SetStatusText("anim (320 * 240)px", 0);
    // What GTK sends while the pointer moves over "Save" in an open menu.
    wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE)->GetId(),
                          m_frame->GetMenuBar()->GetMenu(0));
    highlight.SetEventObject(m_frame->GetMenuBar()->GetMenu(0));
    m_frame->ProcessWindowEvent(highlight);
    EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(0), "anim (320 * 240)px");
}
