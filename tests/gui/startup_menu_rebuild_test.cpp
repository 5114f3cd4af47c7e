// A language switch rebuilds the menu bar; every command must still reach its
// handler exactly once and keep its enabled state.
#include "gifframe.h"
#include "language.h"
#include "main_window.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/weakref.h>

#include <vector>

namespace {
constexpr int kGerman = 89;

class MenuRebuild : public MainWindowTest {
protected:


    // Removes the frame's menu bindings of `id` one by one and counts those
    // that lead to `handler`; any binding left over leads elsewhere.
    int TakeBindings(int id, wxObjectEventFunction handler, int* others)
    {
        int count = 0;
        while (m_frame->Disconnect(id, wxEVT_MENU, handler))
            ++count;
        *others = 0;
        while (m_frame->Disconnect(id, wxEVT_MENU))
            ++*others;
        return count;
    }
};

struct Command {
    int id;
    wxObjectEventFunction handler;
    const char* name;
};

const std::vector<Command> kCommands = {
    {ID_MENU_SAVE, wxCommandEventHandler(GifFrame::OnSaveAnimator), "Save"},
    {ID_MENU_SAVE_AS, wxCommandEventHandler(GifFrame::OnSaveAs), "Save As"},
    {ID_MENU_OPEN_PROJECT, wxCommandEventHandler(GifFrame::OnOpenProject), "Open Project"},
    {ID_MENU_SAVE_PROJECT, wxCommandEventHandler(GifFrame::OnSaveProject), "Save Project"},
    {ID_MENU_EXIT, wxEventHandler(GifFrame::OnCloseFrame), "Exit"},
    {ID_MENU_ADD_IMAGE, wxCommandEventHandler(GifFrame::OnAddImage), "Add Image"},
    {ID_MENU_DELETE, wxCommandEventHandler(GifFrame::OnDeleteImage), "Delete"},
    {ID_MENU_CLEAR_ALL, wxCommandEventHandler(GifFrame::OnClearAll), "Clear All"},
    {ID_MENU_SET_DELAY, wxCommandEventHandler(GifFrame::OnSetSelectedDelay), "Set Delay of Selected Frames..."},
    {ID_MENU_RUN_ANIMATION, wxCommandEventHandler(GifFrame::OnPlayAnimation), "Run animation"},
    {ID_MENU_LOOP_COUNT, wxCommandEventHandler(GifFrame::OnLoopCount), "Loop Count"},
    {ID_MENU_HELP, wxCommandEventHandler(GifFrame::OnHelpMenu), "Help"},
    {ID_MENU_SUPPORT, wxCommandEventHandler(GifFrame::OnHelpMenu), "Support"},
    {ID_MENU_CHECK_UPDATE, wxCommandEventHandler(GifFrame::OnHelpMenu), "Check for Update"},
    {ID_MENU_ABOUT, wxCommandEventHandler(GifFrame::OnAbout), "About"},
};
} // namespace

TEST_F(MenuRebuild, EveryCommandIsBoundExactlyOnceAfterLanguageSwitches)
{
    Choose(kGerman);
    Choose(kGerman);
    m_frame->CreateMenus();

    for (const Command& command : kCommands) {
        ASSERT_NE(m_frame->GetMenuBar()->FindItem(command.id), nullptr) << command.name;
        int others = 0;
        const int bound = TakeBindings(command.id, command.handler, &others);
        // Help, Support and Check for Update share a handler but not an id.
        EXPECT_EQ(bound, 1) << command.name;
        EXPECT_EQ(others, 0) << command.name;
    }
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        int others = 0;
        EXPECT_EQ(TakeBindings(language.code, wxCommandEventHandler(GifFrame::OnLanguage), &others), 1);
        EXPECT_EQ(others, 0);
    }
    int others = 0;
    EXPECT_EQ(TakeBindings(ID_INSERT_IMAGE, wxCommandEventHandler(GifFrame::OnInsertImage), &others), 1);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(TakeBindings(wxID_DELETE, wxCommandEventHandler(GifFrame::OnDeleteImage), &others), 1);
    EXPECT_EQ(others, 0);
}

TEST_F(MenuRebuild, LanguageSwitchMovesTheCheckMark)
{
    Choose(kGerman);

    EXPECT_EQ(m_frame->GetLanguage(), kGerman);
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        const wxMenuItem* item = m_frame->GetMenuBar()->FindItem(language.code);
        ASSERT_NE(item, nullptr) << language.label;
        EXPECT_EQ(item->IsChecked(), language.code == kGerman) << language.label;
    }
}

TEST_F(MenuRebuild, RebuiltBarKeepsTheStateOfTheEditingSet)
{
    m_frame->EnableCommands();
    m_frame->CreateMenus();
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE)->IsEnabled());
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_LOOP_COUNT)->IsEnabled());

    m_frame->DisableCommands();
    m_frame->CreateMenus();
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE)->IsEnabled());
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_LOOP_COUNT)->IsEnabled());
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_ADD_IMAGE)->IsEnabled());
}

TEST_F(MenuRebuild, ReplacedBarIsDeleted)
{
    wxWeakRef<wxMenuBar> old(m_frame->GetMenuBar());
    m_frame->CreateMenus();
    wxTheApp->ProcessIdle();
    EXPECT_FALSE(old);
}
