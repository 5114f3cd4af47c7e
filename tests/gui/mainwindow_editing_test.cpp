// Editing the frame list: delete, insert, clear, the output size that follows
// the frames, the width/height coupling, and the unsaved-project questions.
#include "gifframe.h"
#include "file_bytes.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "test_pictures.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

namespace {
class MainWindowEditing : public MainWindowTest {
protected:
    // Saves the project as `path` through its file dialog: nothing unsaved.
    void SaveProjectAs(const wxString& path)
    {
        bool written = false;
        wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice("Save XML Files", path));
        ASSERT_TRUE(written);
    }
    // Types a value into a spin control; the window sees the change as typed.
    void Type(const char* control, int value)
    {
        Spin(control)->SetValue(value);
        wxCommandEvent typed(wxEVT_TEXT, Spin(control)->GetId());
        typed.SetEventObject(Spin(control));
        Spin(control)->ProcessWindowEvent(typed);
    }
    wxString Project(const wxString& name, const std::string& gif, const std::string& images)
    {
        return WriteFileText(m_dir.File(name), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project>" + gif +
                                                   images + "</project>\n");
    }
};

using Answer = wxExpectModal<wxMessageDialog>;
} // namespace

TEST_F(MainWindowEditing, DeleteRemovesTheSelectedFramesHighestFirst)
{
    Fill(6);
    Select({1, 4, 2});
    wxTEST_DIALOG(Choose(ID_MENU_DELETE), Answer(wxID_YES));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"f0.png", "f3.png", "f5.png"}));
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    EXPECT_EQ(Status(1), "");
}

TEST_F(MainWindowEditing, DeleteAnsweredNoKeepsEveryFrame)
{
    Fill(3);
    Spin("m_spinctrl_width")->SetValue(5);
    Select({1});
    wxTEST_DIALOG(Choose(ID_MENU_DELETE), Answer(wxID_NO));
    EXPECT_EQ(Count(), 3);
    // Still recomputed and emptied.
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 16);
    EXPECT_EQ(Status(1), "");
}

TEST_F(MainWindowEditing, DeleteWithoutSelectionAsksNothing)
{
    Fill(2);
    EXPECT_NO_DIALOG(Choose(ID_MENU_DELETE));
    EXPECT_EQ(Count(), 2);
}

TEST_F(MainWindowEditing, DeletingTheLastFrameDisablesTheEditingSet)
{
    Fill(1);
    Select({0});
    wxTEST_DIALOG(Choose(ID_MENU_DELETE), Answer(wxID_YES));
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE)->IsEnabled());
    EXPECT_FALSE(Spin("m_spinctrl_delay")->IsEnabled());
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_ADD_IMAGE)->IsEnabled());
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
    // The canvas no longer holds the deleted frame.
    EXPECT_EQ(m_frame->GetPreviewName(), "");
}

TEST_F(MainWindowEditing, InsertPutsGifFramesAndPictureBeforeTheSelectedFrame)
{
    Fill(7);
    Select({5});
    wxArrayString paths;
    paths.Add(WriteGif(m_dir, "anim.gif", 3));
    paths.Add(WritePng(m_dir, "b.png", 8, 8));
    m_frame->InsertImages(paths);
    ASSERT_TRUE(WaitForLoad(m_frame));
    const std::vector<std::string> names = ItemNames(m_frame);
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(names[4], "f4.png");
    EXPECT_EQ(names[5], "anim.gif_0");
    EXPECT_EQ(names[6], "anim.gif_1");
    EXPECT_EQ(names[7], "anim.gif_2");
    EXPECT_EQ(names[8], "b.png");
    EXPECT_EQ(names[9], "f5.png");
    EXPECT_TRUE(m_frame->GetThumbnailCtrl()->IsSelected(9));
}

TEST_F(MainWindowEditing, InsertWithoutSelectionAppends)
{
    Fill(2);
    wxArrayString paths;
    paths.Add(WritePng(m_dir, "b.png", 8, 8));
    paths.Add(WriteFileText(m_dir.File("broken.png"), "no picture here"));
    m_frame->InsertImages(paths);
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"f0.png", "f1.png", "b.png"}));
}

TEST_F(MainWindowEditing, InsertImageAsksForFiles)
{
    Fill(2);
    Select({0});
    const wxString png = WritePng(m_dir, "big.png", 100, 90);
    wxTEST_DIALOG(Choose(ID_INSERT_IMAGE), ExpectFileChoice("Insert Image Files", png));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"big.png", "f0.png", "f1.png"}));
    // Insert recomputes the output size.
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 100);
}

TEST_F(MainWindowEditing, ClearAllEmptiesEverything)
{
    Fill(3);
    Choose(ID_MENU_CLEAR_ALL);
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_CLEAR_ALL)->IsEnabled());
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
    EXPECT_EQ(Status(1), "");
}

TEST_F(MainWindowEditing, OutputSizeIsTheFirstLargerFrame)
{
    Fill({wxSize(800, 600), wxSize(1024, 768)});
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 1024);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 768);
    EXPECT_EQ(Status(0), "Untitled.gif (1024 * 768)px");
    Select({1});
    wxTEST_DIALOG(Choose(ID_MENU_DELETE), Answer(wxID_YES));
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 800);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 600);
    EXPECT_EQ(Status(0), "Untitled.gif (800 * 600)px");
}

TEST_F(MainWindowEditing, OutputSizeTakesOneFrameAsAPair)
{
    Fill({wxSize(300, 100), wxSize(200, 200)});
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 200);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 200);
}

TEST_F(MainWindowEditing, WidthAndHeightStayInProportion)
{
    Fill({wxSize(640, 480)});
    Type("m_spinctrl_width", 320);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 240);
    EXPECT_EQ(Status(0), "Untitled.gif (320 * 240)px");

    Type("m_spinctrl_height", 120);
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 160);
    EXPECT_EQ(Status(0), "Untitled.gif (160 * 120)px");

    Type("m_spinctrl_height", 75);
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 100);
}

TEST_F(MainWindowEditing, StatusNamesTheProjectsGifWhileCoupling)
{
    const wxString png = WritePng(m_dir, "p.png", 640, 480);
    m_frame->LoadProject(Project("p.xml", "<name>anim.gif</name><gif><width>640</width><height>480</height>"
                                          "<delay_time>10</delay_time></gif>",
                                 "<images><path>" + std::string(png.utf8_str()) + "</path></images>"));
    ASSERT_TRUE(WaitForLoad(m_frame));
    Type("m_spinctrl_height", 120);
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 160);
    EXPECT_EQ(Status(0), "anim.gif (160 * 120)px");
}

TEST_F(MainWindowEditing, CouplingWithoutReferenceKeepsTheOtherSide)
{
    Fill({wxSize(640, 480)});
    // A project without a size leaves the window without a reference size.
    m_frame->LoadProject(Project("nosize.xml", "<name/><gif><width>0</width><height>0</height>"
                                               "<delay_time>10</delay_time></gif>", ""));
    Spin("m_spinctrl_height")->SetValue(480);
    Type("m_spinctrl_width", 320);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 480);
    Type("m_spinctrl_height", 100);
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 320);
}

TEST_F(MainWindowEditing, CouplingDoesNothingWithAnEmptyStrip)
{
    Type("m_spinctrl_width", 320);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
}

// Exit and Open Project ask about unsaved frames: what the window holds, the
// answers given and what follows.
enum class Before { Nothing, ProjectSaved, ProjectSavedThenChanged };
constexpr int kNoQuestion = 0;

struct UnsavedCase {
    const char* name;
    int frames;
    Before before;
    int answer;            // to the unsaved-frames question, kNoQuestion when none comes
    bool saveDialogCancels; // Yes leads to the project's save dialog, cancelled
    bool loadDialogCancels; // Open Project then asks for the file, cancelled
    bool windowStays;      // Exit: the window is still there
};

class UnsavedQuestion : public MainWindowEditing, public ::testing::WithParamInterface<UnsavedCase> {
protected:
    // Sets up the frames and project of the case.
    void Prepare(const UnsavedCase& c)
    {
        if (c.frames > 0)
            Fill(c.frames);
        if (c.before != Before::Nothing)
            SaveProjectAs(m_dir.File("work.xml"));
        if (c.before == Before::ProjectSavedThenChanged)
            Spin("m_spinctrl_delay")->SetValue(33);
    }
    // Runs the command answering the case's dialogs; fails on any other.
    void Run(const UnsavedCase& c, int command)
    {
        ThrowingModalHook hook(__FILE__, __LINE__, c.name);
        const Answer answer(c.answer);
        const ExpectFileChoice save = ExpectFileChoice("Save XML Files", wxString(), wxID_CANCEL).Optional();
        const ExpectFileChoice load("Load Xml Files", wxString(), wxID_CANCEL);
        if (c.answer != kNoQuestion)
            hook.AddExpectation(answer);
        if (c.saveDialogCancels)
            hook.AddExpectation(save);
        if (c.loadDialogCancels)
            hook.AddExpectation(load);
        Choose(command);
        hook.CheckUnmetExpectations();
    }
};

void PrintTo(const UnsavedCase& c, std::ostream* out)
{
    *out << c.name;
}

using ExitQuestion = UnsavedQuestion;

TEST_P(ExitQuestion, ClosesOrStays)
{
    const UnsavedCase& c = GetParam();
    Prepare(c);
    Run(c, ID_MENU_EXIT);
    EXPECT_EQ(Closed(), !c.windowStays);
    if (c.windowStays) {
        EXPECT_EQ(Count(), c.frames);
    }
    if (c.before == Before::ProjectSavedThenChanged && c.answer == wxID_YES) {
        EXPECT_NE(ReadFileText(m_dir.File("work.xml")).find("<delay_time>33</delay_time>"), std::string::npos)
            << "Yes saves the project under its name";
    }
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowEditing, ExitQuestion,
    ::testing::Values(UnsavedCase{"EmptyStrip", 0, Before::Nothing, kNoQuestion, false, false, false},
                      UnsavedCase{"SavedProject", 2, Before::ProjectSaved, kNoQuestion, false, false, false},
                      UnsavedCase{"AnsweredNo", 2, Before::Nothing, wxID_NO, false, false, false},
                      UnsavedCase{"Cancelled", 2, Before::Nothing, wxID_CANCEL, false, false, true},
                      UnsavedCase{"SaveCancelled", 2, Before::Nothing, wxID_YES, true, false, true},
                      UnsavedCase{"AnsweredYesSaves", 2, Before::ProjectSavedThenChanged, wxID_YES,
                                  false, false, false}),
    [](const ::testing::TestParamInfo<UnsavedCase>& info) { return info.param.name; });

using OpenProjectQuestion = UnsavedQuestion;

TEST_P(OpenProjectQuestion, KeepsTheFramesUnlessAFileIsChosen)
{
    const UnsavedCase& c = GetParam();
    Prepare(c);
    Run(c, ID_MENU_OPEN_PROJECT);
    EXPECT_EQ(Count(), c.frames);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowEditing, OpenProjectQuestion,
    ::testing::Values(UnsavedCase{"NoFrames", 0, Before::Nothing, kNoQuestion, false, true, true},
                      UnsavedCase{"FileCancelled", 3, Before::Nothing, wxID_NO, false, true, true},
                      UnsavedCase{"SaveCancelled", 3, Before::Nothing, wxID_YES, true, false, true},
                      UnsavedCase{"QuestionCancelled", 3, Before::Nothing, wxID_CANCEL, false, false, true}),
    [](const ::testing::TestParamInfo<UnsavedCase>& info) { return info.param.name; });

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
    EXPECT_NO_DIALOG(m_frame->Close(true));
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, CloseDuringALoadWaitsOrStays)
{
    wxArrayString paths;
    for (int i = 0; i < 20; ++i)
        paths.Add(WritePng(m_dir, wxString::Format("p%d.png", i), 200, 150));
    m_frame->AddImages(paths);
    ASSERT_TRUE(m_frame->IsLoading());
    // Refused while the thread still posts to the window...
    EXPECT_NO_DIALOG(EXPECT_FALSE(m_frame->Close()));
    EXPECT_FALSE(Closed());
    // ...and a forced close lets the load end first.
    EXPECT_NO_DIALOG(m_frame->Close(true));
    EXPECT_FALSE(m_frame->IsLoading());
    EXPECT_EQ(Count(), 20);
    EXPECT_TRUE(Closed());
}

TEST_F(MainWindowEditing, OpenProjectAnsweredNoClearsOnceTheFileIsChosen)
{
    Fill(3);
    const wxString project = WriteFileText(m_dir.File("p.xml"), "<nothing/>");
    wxTEST_DIALOG(Choose(ID_MENU_OPEN_PROJECT), Answer(wxID_NO),
                  ExpectFileChoice("Load Xml Files", project));
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 0);
}

TEST_F(MainWindowEditing, OpenProjectAfterNoLoadsTheProjectFrames)
{
    Fill(3);
    const wxString png = WritePng(m_dir, "p.png", 30, 20);
    const wxString project =
        Project("p.xml", "<name></name><gif><width>30</width><height>20</height><delay_time>7</delay_time></gif>",
                "<images><path>" + std::string(png.utf8_str()) + "</path></images>");
    wxTEST_DIALOG(Choose(ID_MENU_OPEN_PROJECT), Answer(wxID_NO),
                  ExpectFileChoice("Load Xml Files", project));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"p.png"}));
    EXPECT_EQ(Spin("m_spinctrl_delay")->GetValue(), 7);
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    // Just opened: nothing unsaved.
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
}
