// Editing the frame list: delete, insert, clear, the output size that follows
// the frames, the width/height coupling, and the unsaved-project questions.
#include "gifframe.h"
#include "home_override.h"
#include "main_window.h"
#include "mainwindow_test_support.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

namespace {
class MainWindowEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = CreateMainWindowForTest();
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override
    {
        if (Closed()) {
            wxTheApp->ProcessIdle();
            return;
        }
        WaitForLoad(m_frame);
        DestroyMainWindowForTest(m_frame);
    }

    // Pictures f0.png, f1.png, ... of the given sizes, loaded into the strip.
    void Fill(const std::vector<wxSize>& sizes)
    {
        wxArrayString paths;
        for (size_t i = 0; i < sizes.size(); ++i)
            paths.Add(WritePng(m_dir, wxString::Format("f%zu.png", i), sizes[i].x, sizes[i].y));
        m_frame->AddImages(paths);
        ASSERT_TRUE(WaitForLoad(m_frame));
    }
    void Fill(int count) { Fill(std::vector<wxSize>(count, wxSize(16, 12))); }

    void Select(std::initializer_list<int> indices)
    {
        for (int index : indices)
            m_frame->m_thumbnail_ctrl->Select(index);
    }
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        m_frame->ProcessWindowEvent(event);
    }
    int Count() const { return m_frame->m_thumbnail_ctrl->GetCount(); }
    wxString Status(int field) const { return m_frame->m_statusBar1->GetStatusText(field); }
    bool Closed() const { return wxTheApp->IsScheduledForDestruction(m_frame); }
    // Settings equal to the project record: nothing unsaved.
    void RecordProject()
    {
        m_frame->m_projectDelay = m_frame->m_spinctrl_delay->GetValue();
        m_frame->m_projectWidth = m_frame->m_spinctrl_width->GetValue();
        m_frame->m_projectHeight = m_frame->m_spinctrl_height->GetValue();
        m_frame->m_projectCount = Count();
        m_frame->RecordProjectFrames();
    }

    AssertsFailTests m_asserts;
    HomeOverride m_home;
    TempDir m_dir;
    GifFrame* m_frame = nullptr;
};

using Answer = wxExpectModal<wxMessageDialog>;
} // namespace

TEST_F(MainWindowEditing, DeleteRemovesTheSelectedFramesHighestFirst)
{
    Fill(6);
    Select({1, 4, 2});
    wxTEST_DIALOG(Command(ID_MENU_DELETE), Answer(wxID_YES));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"f0.png", "f3.png", "f5.png"}));
    EXPECT_TRUE(m_frame->m_item_delete->IsEnabled());
    EXPECT_EQ(Status(1), "");
}

TEST_F(MainWindowEditing, DeleteAnsweredNoKeepsEveryFrame)
{
    Fill(3);
    m_frame->m_spinctrl_width->SetValue(5);
    Select({1});
    wxTEST_DIALOG(Command(ID_MENU_DELETE), Answer(wxID_NO));
    EXPECT_EQ(Count(), 3);
    // Still recomputed and emptied.
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 16);
    EXPECT_EQ(Status(1), "");
}

TEST_F(MainWindowEditing, DeleteWithoutSelectionAsksNothing)
{
    Fill(2);
    RUN_WITHOUT_DIALOG(Command(ID_MENU_DELETE));
    EXPECT_EQ(Count(), 2);
}

TEST_F(MainWindowEditing, DeletingTheLastFrameDisablesTheEditingSet)
{
    Fill(1);
    Select({0});
    wxTEST_DIALOG(Command(ID_MENU_DELETE), Answer(wxID_YES));
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->m_item_delete->IsEnabled());
    EXPECT_FALSE(m_frame->m_item_save->IsEnabled());
    EXPECT_FALSE(m_frame->m_spinctrl_delay->IsEnabled());
    EXPECT_TRUE(m_frame->m_item_add_image->IsEnabled());
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
    // The canvas no longer holds the deleted frame.
    EXPECT_FALSE(m_frame->m_previewBitmap.IsOk());
}

TEST_F(MainWindowEditing, InsertPutsGifFramesAndPictureBeforeTheSelectedFrame)
{
    Fill(7);
    Select({5});
    wxArrayString paths;
    paths.Add(WriteGif(m_dir, "anim.gif", 3));
    paths.Add(WritePng(m_dir, "b.png", 8, 8));
    m_frame->InsertImages(paths);
    const std::vector<std::string> names = ItemNames(m_frame);
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(names[4], "f4.png");
    EXPECT_EQ(names[5], "anim.gif_0");
    EXPECT_EQ(names[6], "anim.gif_1");
    EXPECT_EQ(names[7], "anim.gif_2");
    EXPECT_EQ(names[8], "b.png");
    EXPECT_EQ(names[9], "f5.png");
    EXPECT_TRUE(m_frame->m_thumbnail_ctrl->IsSelected(9));
}

TEST_F(MainWindowEditing, InsertWithoutSelectionAppends)
{
    Fill(2);
    wxArrayString paths;
    paths.Add(WritePng(m_dir, "b.png", 8, 8));
    paths.Add(WriteBytes(m_dir, "broken.png", "no picture here"));
    m_frame->InsertImages(paths);
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"f0.png", "f1.png", "b.png"}));
}

TEST_F(MainWindowEditing, InsertImageAsksForFiles)
{
    Fill(2);
    Select({0});
    const wxString png = WritePng(m_dir, "big.png", 100, 90);
    wxTEST_DIALOG(Command(ID_INSERT_IMAGE), ExpectFileChoice("Insert Image Files", png));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"big.png", "f0.png", "f1.png"}));
    // Insert recomputes the output size.
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 100);
}

TEST_F(MainWindowEditing, ClearAllEmptiesEverything)
{
    Fill(3);
    Command(ID_MENU_CLEAR_ALL);
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->m_item_clear_all->IsEnabled());
    EXPECT_EQ(m_frame->m_spinctrl_height->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
    EXPECT_EQ(Status(1), "");
}

TEST_F(MainWindowEditing, OutputSizeIsTheFirstLargerFrame)
{
    Fill({wxSize(800, 600), wxSize(1024, 768)});
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 1024);
    EXPECT_EQ(m_frame->m_spinctrl_height->GetValue(), 768);
    EXPECT_EQ(Status(0), "Untitled.gif (1024 * 768)px");
    Select({1});
    wxTEST_DIALOG(Command(ID_MENU_DELETE), Answer(wxID_YES));
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 800);
    EXPECT_EQ(m_frame->m_outputHeight, 600);
}

TEST_F(MainWindowEditing, OutputSizeTakesOneFrameAsAPair)
{
    Fill({wxSize(300, 100), wxSize(200, 200)});
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 200);
    EXPECT_EQ(m_frame->m_spinctrl_height->GetValue(), 200);
}

TEST_F(MainWindowEditing, WidthAndHeightStayInProportion)
{
    Fill({wxSize(640, 480)});
    wxCommandEvent event(wxEVT_TEXT);
    m_frame->m_spinctrl_width->SetValue(320);
    m_frame->OnSetWidth(event);
    EXPECT_EQ(m_frame->m_spinctrl_height->GetValue(), 240);
    EXPECT_EQ(Status(0), "Untitled.gif (320 * 240)px");

    m_frame->m_gifName = "anim.gif";
    m_frame->m_spinctrl_height->SetValue(120);
    m_frame->OnSetHeight(event);
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 160);
    EXPECT_EQ(m_frame->m_outputWidth, 160);
    EXPECT_EQ(m_frame->m_outputHeight, 120);
    EXPECT_EQ(Status(0), "anim.gif (160 * 120)px");

    m_frame->m_spinctrl_height->SetValue(75);
    m_frame->OnSetHeight(event);
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 100);
}

TEST_F(MainWindowEditing, CouplingWithoutReferenceKeepsTheOtherSide)
{
    Fill({wxSize(640, 480)});
    m_frame->m_aspectWidth = 0;
    wxCommandEvent event(wxEVT_TEXT);
    m_frame->m_spinctrl_width->SetValue(320);
    m_frame->OnSetWidth(event);
    EXPECT_EQ(m_frame->m_spinctrl_height->GetValue(), 480);
    m_frame->m_spinctrl_height->SetValue(100);
    m_frame->OnSetHeight(event);
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 320);
}

TEST_F(MainWindowEditing, CouplingDoesNothingWithAnEmptyStrip)
{
    wxCommandEvent event(wxEVT_TEXT);
    m_frame->m_spinctrl_width->SetValue(320);
    m_frame->OnSetWidth(event);
    EXPECT_EQ(m_frame->m_outputWidth, 0);
    EXPECT_EQ(Status(0), "");
}

TEST_F(MainWindowEditing, ExitWithEmptyStripClosesWithoutQuestion)
{
    RUN_WITHOUT_DIALOG(Command(ID_MENU_EXIT));
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, ExitWithSavedSettingsClosesWithoutQuestion)
{
    Fill(2);
    RecordProject();
    RUN_WITHOUT_DIALOG(Command(ID_MENU_EXIT));
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, ExitAnsweredNoCloses)
{
    Fill(2);
    wxTEST_DIALOG(Command(ID_MENU_EXIT), Answer(wxID_NO));
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, ExitCancelledKeepsTheWindow)
{
    Fill(2);
    wxTEST_DIALOG(Command(ID_MENU_EXIT), Answer(wxID_CANCEL));
    EXPECT_FALSE(Closed());
    EXPECT_EQ(Count(), 2);
}

TEST_F(MainWindowEditing, ExitWithCancelledProjectSaveKeepsTheWindow)
{
    Fill(2);
    wxTEST_DIALOG(Command(ID_MENU_EXIT), Answer(wxID_YES),
                  ExpectFileChoice("Save XML Files", wxString(), wxID_CANCEL).Optional());
    EXPECT_FALSE(Closed());
    EXPECT_EQ(Count(), 2);
}

TEST_F(MainWindowEditing, ExitAnsweredYesSavesTheProjectAndCloses)
{
    Fill(2);
    m_frame->m_projectPath = m_dir.File("work.xml");
    wxTEST_DIALOG(Command(ID_MENU_EXIT), Answer(wxID_YES));
    EXPECT_TRUE(wxFileExists(m_dir.File("work.xml")));
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, CloseButtonAsksLikeExit)
{
    Fill(2);
    bool closed = true;
    wxTEST_DIALOG(closed = m_frame->Close(), Answer(wxID_CANCEL));
    EXPECT_FALSE(closed);
    EXPECT_FALSE(Closed());
    wxTEST_DIALOG(closed = m_frame->Close(), Answer(wxID_NO));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, ForcedCloseNeverAsks)
{
    Fill(2);
    RUN_WITHOUT_DIALOG(m_frame->Close(true));
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, CloseDuringALoadWaitsOrStays)
{
    wxArrayString paths;
    for (int i = 0; i < 20; ++i)
        paths.Add(WritePng(m_dir, wxString::Format("p%d.png", i), 200, 150));
    m_frame->AddImages(paths);
    ASSERT_NE(m_frame->m_loadProgress, nullptr);
    // Refused while the thread still posts to the window...
    RUN_WITHOUT_DIALOG(EXPECT_FALSE(m_frame->Close()));
    EXPECT_FALSE(Closed());
    // ...and a forced close lets the load end first.
    RUN_WITHOUT_DIALOG(m_frame->Close(true));
    EXPECT_EQ(m_frame->m_loadProgress, nullptr);
    EXPECT_EQ(Count(), 20);
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, OpenProjectWithoutFramesAsksOnlyForTheFile)
{
    wxTEST_DIALOG(Command(ID_MENU_OPEN_PROJECT),
                  ExpectFileChoice("Load Xml Files", wxString(), wxID_CANCEL));
    EXPECT_EQ(Count(), 0);
}

TEST_F(MainWindowEditing, OpenProjectCancelledAtTheFileKeepsTheFrames)
{
    Fill(3);
    wxTEST_DIALOG(Command(ID_MENU_OPEN_PROJECT), Answer(wxID_NO),
                  ExpectFileChoice("Load Xml Files", wxString(), wxID_CANCEL));
    EXPECT_EQ(Count(), 3);
}

TEST_F(MainWindowEditing, OpenProjectWithCancelledSaveKeepsTheFrames)
{
    Fill(3);
    wxTEST_DIALOG(Command(ID_MENU_OPEN_PROJECT), Answer(wxID_YES),
                  ExpectFileChoice("Save XML Files", wxString(), wxID_CANCEL).Optional());
    EXPECT_EQ(Count(), 3);
}

TEST_F(MainWindowEditing, OpenProjectCancelledAtTheQuestionDoesNothing)
{
    Fill(3);
    wxTEST_DIALOG(Command(ID_MENU_OPEN_PROJECT), Answer(wxID_CANCEL));
    EXPECT_EQ(Count(), 3);
}

TEST_F(MainWindowEditing, OpenProjectAnsweredNoClearsOnceTheFileIsChosen)
{
    Fill(3);
    const wxString project = WriteBytes(m_dir, "p.xml", "<nothing/>");
    wxTEST_DIALOG(Command(ID_MENU_OPEN_PROJECT), Answer(wxID_NO),
                  ExpectFileChoice("Load Xml Files", project));
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->m_item_delete->IsEnabled());
    EXPECT_EQ(m_frame->m_spinctrl_width->GetValue(), 0);
}

TEST_F(MainWindowEditing, OpenProjectAfterNoLoadsTheProjectFrames)
{
    Fill(3);
    const wxString png = WritePng(m_dir, "p.png", 30, 20);
    const wxString project = WriteBytes(
        m_dir, "p.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project><name></name><gif><width>30</width>"
        "<height>20</height><delay_time>7</delay_time></gif><images><path>" +
            std::string(png.utf8_str()) + "</path></images></project>\n");
    wxTEST_DIALOG(Command(ID_MENU_OPEN_PROJECT), Answer(wxID_NO),
                  ExpectFileChoice("Load Xml Files", project));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"p.png"}));
    EXPECT_EQ(m_frame->m_spinctrl_delay->GetValue(), 7);
    EXPECT_TRUE(m_frame->m_item_delete->IsEnabled());
    // Just opened: nothing unsaved.
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
}
