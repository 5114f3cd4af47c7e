// Arranging the frames in the main window: the commands of the Frame menu,
// undo and redo through the Edit menu, a drag inside the strip from the
// display, files dropped on the strip, and the unsaved question after a reorder.
#include "gifframe.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "test_pictures.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnaildrop.h"
#include "window/thumbnailitem.h"

#include <wx/app.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <functional>

namespace {
using Names = std::vector<std::string>;

class ArrangeFrames : public MainWindowTest {
protected:
    wxThumbnailCtrl* Strip() const { return m_frame->GetThumbnailCtrl(); }
    wxString MenuLabel(int id) const { return m_frame->GetMenuBar()->FindItem(id)->GetItemLabel(); }
    bool MenuEnabled(int id) const { return m_frame->GetMenuBar()->FindItem(id)->IsEnabled(); }
    void SelectOnly(const std::vector<int>& indices) { Strip()->SetSelections(indices); }
    // Input from the display and deferred drops arrive through the event loop.
    static bool WaitFor(const std::function<bool()>& done)
    {
        const wxLongLong deadline = wxGetLocalTimeMillis() + 5000;
        while (!done() && wxGetLocalTimeMillis() < deadline) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        return done();
    }
};

struct Step {
    std::vector<int> selection;
    int command;
    Names expected;
};
} // namespace

TEST_F(ArrangeFrames, CommandsThenUndoEverythingAndRedoIt)
{
    Fill(5);
    const Names start{"f0.png", "f1.png", "f2.png", "f3.png", "f4.png"};
    ASSERT_EQ(ItemNames(m_frame), start);
    const Step steps[] = {
        {{1}, ID_MENU_MOVE_RIGHT, {"f0.png", "f2.png", "f1.png", "f3.png", "f4.png"}},
        {{4}, ID_MENU_MOVE_START, {"f4.png", "f0.png", "f2.png", "f1.png", "f3.png"}},
        {{0, 2}, ID_MENU_MOVE_END, {"f0.png", "f1.png", "f3.png", "f4.png", "f2.png"}},
        {{3}, ID_MENU_MOVE_LEFT, {"f0.png", "f1.png", "f4.png", "f3.png", "f2.png"}},
        {{0, 2}, ID_MENU_DUPLICATE, {"f0.png", "f1.png", "f4.png", "f0.png", "f4.png", "f3.png", "f2.png"}},
        {{}, ID_MENU_REVERSE, {"f2.png", "f3.png", "f4.png", "f0.png", "f4.png", "f1.png", "f0.png"}},
        {{1, 2}, ID_MENU_REVERSE, {"f2.png", "f4.png", "f3.png", "f0.png", "f4.png", "f1.png", "f0.png"}},
        {{}, ID_MENU_BACK_AND_FORTH,
         {"f2.png", "f4.png", "f3.png", "f0.png", "f4.png", "f1.png", "f0.png", "f1.png", "f4.png", "f0.png",
          "f3.png", "f4.png"}},
    };
    std::vector<Names> seen{start};
    for (const Step& step : steps) {
        SelectOnly(step.selection);
        EXPECT_NO_DIALOG(Choose(step.command));
        EXPECT_EQ(ItemNames(m_frame), step.expected) << "command " << step.command;
        seen.push_back(ItemNames(m_frame));
    }
    // A copy shares its frame's source: no pixels were copied.
    const auto* first = wxDynamicCast(Strip()->GetItem(3), wxImageThumbnailItem);
    const auto* copy = wxDynamicCast(Strip()->GetItem(6), wxImageThumbnailItem);
    ASSERT_TRUE(first && copy);
    EXPECT_EQ(first->GetSource().get(), copy->GetSource().get());

    EXPECT_EQ(MenuLabel(wxID_UNDO), "&Undo Back and Forth\tCtrl+Z");
    EXPECT_FALSE(MenuEnabled(wxID_REDO));
    for (size_t i = seen.size() - 1; i > 0; --i) {
        Choose(wxID_UNDO);
        EXPECT_EQ(ItemNames(m_frame), seen[i - 1]);
    }
    // The last undo left is the load itself.
    EXPECT_EQ(MenuLabel(wxID_UNDO), "&Undo Add Image\tCtrl+Z");
    EXPECT_EQ(MenuLabel(wxID_REDO), "&Redo Move\tCtrl+Y");
    for (size_t i = 1; i < seen.size(); ++i) {
        Choose(wxID_REDO);
        EXPECT_EQ(ItemNames(m_frame), seen[i]);
    }
    EXPECT_FALSE(MenuEnabled(wxID_REDO));
}

TEST_F(ArrangeFrames, OutputSettingsUndoAndClearAllComesBack)
{
    Fill(3);
    Spin("m_spinctrl_quality")->SetValue(40);
    wxCommandEvent typed(wxEVT_TEXT, Spin("m_spinctrl_quality")->GetId());
    typed.SetEventObject(Spin("m_spinctrl_quality"));
    Spin("m_spinctrl_quality")->ProcessWindowEvent(typed);
    m_frame->SetFrameDelays({{1, 77}});
    Choose(ID_MENU_CLEAR_ALL);
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(MenuEnabled(ID_MENU_MOVE_LEFT));

    Choose(wxID_UNDO);
    EXPECT_EQ(Count(), 3);
    EXPECT_TRUE(MenuEnabled(ID_MENU_MOVE_LEFT));
    EXPECT_EQ(m_frame->GetFrameDelays()[1], 77);
    Choose(wxID_UNDO);
    EXPECT_NE(m_frame->GetFrameDelays()[1], 77);
    EXPECT_EQ(Spin("m_spinctrl_quality")->GetValue(), 40);
    Choose(wxID_UNDO);
    EXPECT_EQ(Spin("m_spinctrl_quality")->GetValue(), m_frame->GetSaveSettings(wxSize(1, 1)).quality);
    EXPECT_NE(Spin("m_spinctrl_quality")->GetValue(), 40);
}

TEST_F(ArrangeFrames, DraggingAFrameFromTheDisplayMovesIt)
{
    Fill(5);
    wxYield();
    wxRect from;
    wxRect to;
    ASSERT_TRUE(Strip()->GetItemRect(0, from));
    ASSERT_TRUE(Strip()->GetItemRect(3, to));
    wxUIActionSimulator input;
    input.MouseMove(Strip()->ClientToScreen(from.GetPosition() + wxSize(from.width / 2, from.height / 2)));
    wxYield();
    input.MouseDown();
    ASSERT_TRUE(WaitFor([this] { return Strip()->IsSelected(0); }));
    // Over the left half of frame 3: the gap in front of it.
    const wxPoint target = Strip()->ClientToScreen(to.GetPosition() + wxSize(to.width / 4, to.height / 2));
    for (int i = 1; i <= 5; ++i) {
        const wxPoint start = Strip()->ClientToScreen(from.GetPosition() + wxSize(from.width / 2, from.height / 2));
        input.MouseMove(start + (target - start) * i / 5);
        wxYield();
        wxMilliSleep(10);
    }
    ASSERT_TRUE(WaitFor([this] { return Strip()->GetInsertionMarker() == 3; }));
    input.MouseUp();
    ASSERT_TRUE(WaitFor([this] { return !Strip()->IsDraggingFrames(); }));
    EXPECT_EQ(ItemNames(m_frame), (Names{"f1.png", "f2.png", "f0.png", "f3.png", "f4.png"}));
    EXPECT_EQ(Strip()->GetSelections().size(), 1u);
    EXPECT_TRUE(Strip()->IsSelected(2)) << "the moved frame stays selected";
    EXPECT_EQ(Strip()->GetInsertionMarker(), -1);

    // The shortcuts from the keyboard, with the strip's own keys beside them.
    ASSERT_TRUE(WaitFor([this] { return wxWindow::FindFocus() == Strip(); }));
    const auto namesAre = [this](const Names& names) {
        const bool reached = WaitFor([this, &names] { return ItemNames(m_frame) == names; });
        if (!reached)
            for (const std::string& name : ItemNames(m_frame))
                ADD_FAILURE() << name;
        return reached;
    };
    input.Char(WXK_RIGHT, wxMOD_CONTROL | wxMOD_SHIFT);
    EXPECT_TRUE(namesAre({"f1.png", "f2.png", "f3.png", "f0.png", "f4.png"}));
    EXPECT_TRUE(Strip()->IsSelected(3));
    input.Char('Z', wxMOD_CONTROL);
    EXPECT_TRUE(namesAre({"f1.png", "f2.png", "f0.png", "f3.png", "f4.png"}));
    input.Char('Z', wxMOD_CONTROL);
    EXPECT_TRUE(namesAre({"f0.png", "f1.png", "f2.png", "f3.png", "f4.png"}));
    input.Char('Z', wxMOD_CONTROL | wxMOD_SHIFT);
    EXPECT_TRUE(namesAre({"f1.png", "f2.png", "f0.png", "f3.png", "f4.png"}));
}

TEST_F(ArrangeFrames, DroppedFolderAndFilesGoWhereDroppedAndUndoAsOne)
{
    Fill(2);
    const wxString folder = m_dir.File("shots");
    ASSERT_TRUE(wxMkdir(folder));
    for (const char* name : {"s10.png", "s2.png", "s1.png", "notes.txt"})
        WritePng(m_dir, wxString("shots/") + name, 8, 8);
    const wxString gif = WriteGif(m_dir, "anim.gif", 2, 8, 8);
    const wxString broken = m_dir.File("broken.png");
    {
        wxFile text(broken, wxFile::write);
        ASSERT_TRUE(text.Write(wxString("not a picture")));
    }
    wxArrayString dropped;
    dropped.Add(folder);
    dropped.Add(broken);
    dropped.Add(gif);

    wxRect second;
    ASSERT_TRUE(Strip()->GetItemRect(1, second));
    auto* target = dynamic_cast<wxThumbnailFileDropTarget*>(Strip()->GetDropTarget());
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->OnDropFiles(second.x + 2, second.y + second.height / 2, dropped));
    // The drop is taken once the drag is over and loads in the background;
    // a file that is no picture is named once and left out.
    ShownMessage skipped;
    wxTEST_DIALOG(ASSERT_TRUE(WaitFor([this] { return Count() == 7 && !m_frame->IsLoading(); })),
                  ExpectMessage(skipped, wxID_OK));
    EXPECT_TRUE(skipped.message.Contains(broken)) << skipped.message;
    EXPECT_EQ(ItemNames(m_frame),
              (Names{"f0.png", "s1.png", "s2.png", "s10.png", "anim.gif_0", "anim.gif_1", "f1.png"}));
    EXPECT_EQ(MenuLabel(wxID_UNDO), "&Undo Drop\tCtrl+Z");
    Choose(wxID_UNDO);
    EXPECT_EQ(ItemNames(m_frame), (Names{"f0.png", "f1.png"}));

    // A project dropped on the preview opens as Open Project does: the
    // reorder since its save is asked about first.
    wxTEST_DIALOG(m_frame->SaveProject(), ExpectFileChoice("Save XML Files", m_dir.File("work.xml")));
    SelectOnly({0});
    Choose(ID_MENU_MOVE_RIGHT);
    auto* preview = dynamic_cast<wxFileDropTarget*>(LayoutWindow(*m_frame, "m_panel_down")->GetDropTarget());
    ASSERT_NE(preview, nullptr);
    // Pictures dropped with it are named, not added.
    wxArrayString withProject;
    withProject.Add(m_dir.File("work.xml"));
    withProject.Add(gif);
    EXPECT_TRUE(preview->OnDropFiles(5, 5, withProject));
    ShownMessage notAdded;
    wxTEST_DIALOG(ASSERT_TRUE(WaitFor([this] { return !m_frame->IsLoading() && !m_frame->IsProjectUnsaved(); })),
                  ExpectMessage(notAdded, wxID_OK), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_TRUE(notAdded.message.Contains(gif)) << notAdded.message;
    EXPECT_EQ(ItemNames(m_frame), (Names{"f0.png", "f1.png"}));
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
    EXPECT_FALSE(MenuEnabled(wxID_UNDO)) << "opening a project starts the history afresh";
}

TEST_F(ArrangeFrames, ReorderAsksBeforeClosingUntilUndone)
{
    Fill(3);
    bool written = false;
    wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice("Save XML Files", m_dir.File("work.xml")));
    ASSERT_TRUE(written);
    EXPECT_FALSE(m_frame->IsProjectUnsaved());

    SelectOnly({0});
    Choose(ID_MENU_MOVE_RIGHT);
    EXPECT_TRUE(m_frame->IsProjectUnsaved());
    bool closed = true;
    wxTEST_DIALOG(closed = m_frame->Close(), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
    EXPECT_FALSE(closed);

    Choose(wxID_UNDO);
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
    EXPECT_NO_DIALOG(closed = m_frame->Close());
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Closed());
}
