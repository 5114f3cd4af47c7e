// A language switch rebuilds the menu bar; every command must still reach its
// handler exactly once and keep its enabled state.
#include "gifframe.h"
#include "home_override.h"
#include "main_window.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/weakref.h>

#include <vector>

namespace {
constexpr int kGerman = 89;

class MenuRebuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = CreateMainWindowForTest();
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override { DestroyMainWindowForTest(m_frame); }

    void ChooseLanguage(int code) { ChooseMenuItemForTest(*m_frame, code); }

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

    HomeOverride m_home;
    GifFrame* m_frame = nullptr;
};

struct Command {
    wxMenuItem* GifFrame::*item;
    wxObjectEventFunction handler;
    const char* name;
};

const std::vector<Command> kCommands = {
    {&GifFrame::m_item_save, wxCommandEventHandler(GifFrame::OnSaveAnimator), "Save"},
    {&GifFrame::m_item_save_as, wxCommandEventHandler(GifFrame::OnSaveAs), "Save As"},
    {&GifFrame::m_item_open_project, wxCommandEventHandler(GifFrame::OnOpenProject), "Open Project"},
    {&GifFrame::m_item_save_project, wxCommandEventHandler(GifFrame::OnSaveProject), "Save Project"},
    {&GifFrame::m_item_exit, wxEventHandler(GifFrame::OnCloseFrame), "Exit"},
    {&GifFrame::m_item_add_image, wxCommandEventHandler(GifFrame::OnAddImage), "Add Image"},
    {&GifFrame::m_item_delete, wxCommandEventHandler(GifFrame::OnDeleteImage), "Delete"},
    {&GifFrame::m_item_clear_all, wxCommandEventHandler(GifFrame::OnClearAll), "Clear All"},
    {&GifFrame::m_item_set_delay, wxCommandEventHandler(GifFrame::OnSetSelectedDelay),
     "Set Delay of Selected Frames..."},
    {&GifFrame::m_item_run_animation, wxCommandEventHandler(GifFrame::OnPlayAnimation), "Run animation"},
    {&GifFrame::m_item_loop_count, wxCommandEventHandler(GifFrame::OnLoopCount), "Loop Count"},
    {&GifFrame::m_item_help, wxCommandEventHandler(GifFrame::OnHelpMenu), "Help"},
    {&GifFrame::m_item_support, wxCommandEventHandler(GifFrame::OnHelpMenu), "Support"},
    {&GifFrame::m_item_check_update, wxCommandEventHandler(GifFrame::OnHelpMenu), "Check for Update"},
    {&GifFrame::m_item_about, wxCommandEventHandler(GifFrame::OnAbout), "About"},
};
} // namespace

TEST_F(MenuRebuild, EveryCommandIsBoundExactlyOnceAfterLanguageSwitches)
{
    ChooseLanguage(kGerman);
    ChooseLanguage(kGerman);
    m_frame->CreateMenus();

    for (const Command& command : kCommands) {
        const wxMenuItem* item = m_frame->*command.item;
        ASSERT_NE(item, nullptr) << command.name;
        EXPECT_EQ(m_frame->GetMenuBar()->FindItem(item->GetId()), item) << command.name;
        int others = 0;
        const int bound = TakeBindings(item->GetId(), command.handler, &others);
        // Help, Support and Check for Update share a handler but not an id.
        EXPECT_EQ(bound, 1) << command.name;
        EXPECT_EQ(others, 0) << command.name;
    }
    for (const wxMenuItem* item : m_frame->m_item_language) {
        int others = 0;
        EXPECT_EQ(TakeBindings(item->GetId(), wxCommandEventHandler(GifFrame::OnLanguage), &others), 1);
        EXPECT_EQ(others, 0);
    }
    int others = 0;
    EXPECT_EQ(TakeBindings(ID_INSERT_IMAGE, wxCommandEventHandler(GifFrame::OnInsertImage), &others), 1);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(TakeBindings(wxID_DELETE, wxCommandEventHandler(GifFrame::OnDeleteImage), &others), 1);
    EXPECT_EQ(others, 0);
}

TEST_F(MenuRebuild, EveryCommandHasItsOwnId)
{
    std::vector<int> ids;
    for (const Command& command : kCommands)
        ids.push_back((m_frame->*command.item)->GetId());
    for (const wxMenuItem* item : m_frame->m_item_language)
        ids.push_back(item->GetId());
    for (size_t i = 0; i < ids.size(); ++i)
        for (size_t j = i + 1; j < ids.size(); ++j)
            EXPECT_NE(ids[i], ids[j]);
}

TEST_F(MenuRebuild, LanguageSwitchMovesTheCheckMarkAndKeepsTheMembersCurrent)
{
    ChooseLanguage(kGerman);

    EXPECT_EQ(m_frame->m_language, kGerman);
    EXPECT_EQ(m_frame->GetMenuBar(), m_frame->m_menubar);
    for (const wxMenuItem* item : m_frame->m_item_language)
        EXPECT_EQ(item->IsChecked(), item->GetId() == kGerman) << item->GetItemLabel();
    EXPECT_EQ(m_frame->m_menubar->GetMenu(0), m_frame->m_menu_file);
    EXPECT_EQ(m_frame->m_menu_file->FindItemByPosition(4), m_frame->m_item_exit);
}

TEST_F(MenuRebuild, RebuiltBarKeepsTheStateOfTheEditingSet)
{
    m_frame->EnableCommands();
    m_frame->CreateMenus();
    EXPECT_TRUE(m_frame->m_item_save->IsEnabled());
    EXPECT_TRUE(m_frame->m_item_delete->IsEnabled());
    EXPECT_TRUE(m_frame->m_item_loop_count->IsEnabled());

    m_frame->DisableCommands();
    m_frame->CreateMenus();
    EXPECT_FALSE(m_frame->m_item_save->IsEnabled());
    EXPECT_FALSE(m_frame->m_item_delete->IsEnabled());
    EXPECT_FALSE(m_frame->m_item_loop_count->IsEnabled());
    EXPECT_TRUE(m_frame->m_item_add_image->IsEnabled());
}

TEST_F(MenuRebuild, ReplacedBarIsDeleted)
{
    wxWeakRef<wxMenuBar> old(m_frame->GetMenuBar());
    m_frame->CreateMenus();
    wxTheApp->ProcessIdle();
    EXPECT_FALSE(old);
}
