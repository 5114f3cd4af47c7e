// The preview: play/stop and its looks, the loop count rule, thumbnail clicks,
// and the loop count dialog.
#include "gifframe.h"
#include "loopcountdialog.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "test_pictures.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
const char kPlayLabel[] = "Run animation\tCtrl+P";
const char kStopLabel[] = "Stop animation\tCtrl+T";

class MainWindowPreview : public MainWindowTest {
protected:
    void SetUp() override
    {
        g_loopCountSetting = 0;
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        g_loopCountSetting = 0;
    }

    // Frames a.png, b.png, c.png, ... of 10 x 10.
    void Fill(int count)
    {
        wxArrayString paths;
        for (int i = 0; i < count; ++i)
            paths.Add(WritePng(m_dir, wxString::Format("%c.png", 'a' + i), 10, 10));
        m_frame->AddImages(paths);
        ASSERT_TRUE(WaitForLoad(m_frame));
    }
    // One timer step; returns the name of the frame it showed.
    wxString Tick()
    {
        wxTimer timer(m_frame, ID_TIMER_PREVIEW);
        wxTimerEvent event(timer);
        m_frame->ProcessWindowEvent(event);
        return m_frame->GetPreviewName();
    }
    // Chooses a loop count as the user does, in the Loop Count dialog.
    void SetLoopCount(int times);
    wxString RunLabel() const { return m_frame->GetMenuBar()->FindItem(ID_MENU_RUN_ANIMATION)->GetItemLabel(); }
    bool Playing() const { return m_frame->IsPlaying(); }
    bool Stopped() const { return m_frame->IsStopped() && RunLabel() == kPlayLabel; }
};

// Answers the loop count dialog: `times` > 0 picks "Play animation" with that
// count, 0 with "Play animation" and 0, -1 picks endless; then presses `button`.
ExpectDialog<LoopCountDialog> AnswerLoopCount(int times, int button)
{
    return ExpectDialog<LoopCountDialog>([times, button](LoopCountDialog* dialog) {
        wxRadioButton* radio = times >= 0 ? dialog->m_radioTimes : dialog->m_radioEndless;
        radio->SetValue(true);
        wxCommandEvent choose(wxEVT_RADIOBUTTON, radio->GetId());
        choose.SetEventObject(radio);
        dialog->ProcessWindowEvent(choose);
        if (times >= 0)
            dialog->m_spinTimes->SetValue(times);
        wxCommandEvent press(wxEVT_BUTTON, button);
        dialog->ProcessWindowEvent(press);
        return button;
    });
}
void MainWindowPreview::SetLoopCount(int times)
{
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT), AnswerLoopCount(times, wxID_OK));
}
} // namespace

TEST_F(MainWindowPreview, PlayWithEmptyStripDoesNothing)
{
    Choose(ID_MENU_RUN_ANIMATION);
    EXPECT_TRUE(Stopped());
}

TEST_F(MainWindowPreview, PlayAndStopToggleTheLook)
{
    Fill(2);
    m_frame->SetFrameDelays({{0, 50}, {1, 70}});
    Choose(ID_MENU_RUN_ANIMATION);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(m_frame->GetPreviewInterval(), 500);
    // Each frame stays for its own delay.
    Tick();
    EXPECT_EQ(m_frame->GetPreviewInterval(), 500);
    Tick();
    EXPECT_EQ(m_frame->GetPreviewInterval(), 700);
    EXPECT_EQ(RunLabel(), kStopLabel);
    Choose(ID_MENU_RUN_ANIMATION);
    EXPECT_TRUE(Stopped());
}

TEST_F(MainWindowPreview, ThreeFramesTwoLoopsStopByThemselves)
{
    Fill(3);
    SetLoopCount(2);
    Choose(ID_MENU_RUN_ANIMATION);
    std::vector<wxString> shown;
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(Playing()) << "tick " << i;
        shown.push_back(Tick());
    }
    EXPECT_EQ(shown, (std::vector<wxString>{"a.png", "b.png", "c.png", "a.png", "b.png", "c.png"}));
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(m_frame->GetLoopsPlayed(), 0);
    EXPECT_EQ(Status(1), "c.png Width:10px,Height:10 px");
}

TEST_F(MainWindowPreview, RealTimerPlaysToTheEnd)
{
    Fill(2);
    Spin("m_spinctrl_delay")->SetValue(1);
    SetLoopCount(2);
    Choose(ID_MENU_RUN_ANIMATION);
    wxStopWatch watch;
    while (!m_frame->IsStopped() && watch.Time() < 5000) {
        wxYield();
        wxMilliSleep(2);
    }
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(m_frame->GetPreviewName(), "b.png");
}

TEST_F(MainWindowPreview, ManualStopKeepsThePassesPlayed)
{
    Fill(3);
    SetLoopCount(3);
    Choose(ID_MENU_RUN_ANIMATION);
    for (int i = 0; i < 5; ++i)
        Tick();
    Choose(ID_MENU_RUN_ANIMATION);
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(m_frame->GetLoopsPlayed(), 1);

    // Two passes are left, starting again at the first frame.
    Choose(ID_MENU_RUN_ANIMATION);
    EXPECT_EQ(Tick(), "a.png");
    for (int i = 1; i < 6; ++i) {
        ASSERT_TRUE(Playing()) << "tick " << i;
        Tick();
    }
    EXPECT_TRUE(Stopped());
}

TEST_F(MainWindowPreview, ThumbnailClickStopsAndShowsTheFrame)
{
    Fill(3);
    Choose(ID_MENU_RUN_ANIMATION);
    Tick();
    wxThumbnailEvent click(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, ID_THUMBNAIL_CTRL);
    click.SetItemIndex(2);
    click.SetEventObject(m_frame->GetThumbnailCtrl());
    m_frame->GetThumbnailCtrl()->ProcessWindowEvent(click);
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(m_frame->GetPreviewName(), "c.png");
    EXPECT_EQ(Status(1), "c.png Width:10px,Height:10 px");
}

TEST_F(MainWindowPreview, DelayChangeStopsThePreview)
{
    Fill(2);
    Choose(ID_MENU_RUN_ANIMATION);
    Spin("m_spinctrl_delay")->SetValue(40);
    wxCommandEvent changed(wxEVT_TEXT);
    m_frame->OnSetDelay(changed);
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(m_frame->GetFrameDelays(), (std::vector<int>{40, 40}));
}

TEST_F(MainWindowPreview, RepaintKeepsTheShownFrame)
{
    Fill(2);
    m_frame->ShowFrame(1);
    LayoutWindow(*m_frame, "m_panel_down")->Refresh();
    LayoutWindow(*m_frame, "m_panel_down")->Update();
    EXPECT_EQ(m_frame->GetPreviewName(), "b.png");
}

TEST_F(MainWindowPreview, LoopCountDialogStartsEndless)
{
    Fill(1);
    bool checked = false;
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT),
                  ExpectDialog<LoopCountDialog>([&checked](LoopCountDialog* dialog) {
                      EXPECT_TRUE(dialog->m_radioEndless->GetValue());
                      EXPECT_FALSE(dialog->m_spinTimes->IsEnabled());
                      EXPECT_EQ(dialog->m_spinTimes->GetValue(), 1);
                      EXPECT_EQ(dialog->m_spinTimes->GetMin(), 0);
                      EXPECT_EQ(dialog->m_spinTimes->GetMax(), 100);
                      EXPECT_EQ(dialog->GetTitle(), "Loop Counter");
                      checked = true;
                      return static_cast<int>(wxID_OK);
                  }));
    EXPECT_TRUE(checked);
    EXPECT_EQ(m_frame->GetLoopCount(), 0);
}

TEST_F(MainWindowPreview, LoopCountOkSetsAndRemembersTheCount)
{
    Fill(1);
    SetLoopCount(5);
    Choose(ID_MENU_RUN_ANIMATION);
    Tick();
    Tick();
    Choose(ID_MENU_RUN_ANIMATION);
    ASSERT_EQ(m_frame->GetLoopsPlayed(), 2);
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT), AnswerLoopCount(3, wxID_OK));
    EXPECT_EQ(m_frame->GetLoopCount(), 3);
    EXPECT_EQ(m_frame->GetLoopsPlayed(), 0);
    EXPECT_EQ(g_loopCountSetting, 3);

    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT),
                  ExpectDialog<LoopCountDialog>([](LoopCountDialog* dialog) {
                      EXPECT_TRUE(dialog->m_radioTimes->GetValue());
                      EXPECT_TRUE(dialog->m_spinTimes->IsEnabled());
                      EXPECT_EQ(dialog->m_spinTimes->GetValue(), 3);
                      return static_cast<int>(wxID_CANCEL);
                  }));
}

TEST_F(MainWindowPreview, LoopCountZeroTimesMeansEndless)
{
    Fill(1);
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT), AnswerLoopCount(0, wxID_OK));
    EXPECT_EQ(m_frame->GetLoopCount(), 0);
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT),
                  ExpectDialog<LoopCountDialog>([](LoopCountDialog* dialog) {
                      EXPECT_TRUE(dialog->m_radioEndless->GetValue());
                      return static_cast<int>(wxID_CANCEL);
                  }));
}

TEST_F(MainWindowPreview, LoopCountCancelKeepsTheCountButStops)
{
    Fill(2);
    SetLoopCount(4);
    Choose(ID_MENU_RUN_ANIMATION);
    for (int i = 0; i < 3; ++i)
        Tick();
    ASSERT_EQ(m_frame->GetLoopsPlayed(), 1);
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT), AnswerLoopCount(7, wxID_CANCEL));
    EXPECT_EQ(m_frame->GetLoopCount(), 4);
    EXPECT_EQ(m_frame->GetLoopsPlayed(), 1);
    EXPECT_EQ(g_loopCountSetting, 4);
    EXPECT_TRUE(Stopped());
}

TEST_F(MainWindowPreview, LoopCountWithEmptyStripShowsNoDialog)
{
    EXPECT_NO_DIALOG(Choose(ID_MENU_LOOP_COUNT));
}
