// The clip import dialog: its first frame, the rate suggested by the delay,
// the frame count following the controls, and the choice kept for the next
// clip; a clip added to the main window through it, and the project that
// keeps its frames.
#include "modal_hooks.h"

#include "gifframe.h"
#include "main_window.h"
#include "test_pictures.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include "asserts.h"
#include "test_clips.h"
#include "test_paths.h"
#include "videoimportdialog.h"

#include "video/video_clip.h"
#include "video/video_selection.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {

class VideoImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_videoImportSetting = VideoImportSetting();
        m_parent = new wxFrame(nullptr, wxID_ANY, "parent");
    }
    void TearDown() override
    {
        m_parent->Destroy();
        g_videoImportSetting = VideoImportSetting();
    }

    VideoClipPtr Clip(const wxString& name, const std::string& size, double seconds)
    {
        const wxString path = m_dir.File(name);
        EXPECT_TRUE(MakePatternClip(path, size, "25", seconds, "libx264"));
        return VideoClip::Open(path);
    }

    // Sets a control as typing would and lets the dialog hear of it.
    static void Set(VideoImportDialog* dialog, wxSpinCtrlDouble* control, double value)
    {
        control->SetValue(value);
        wxSpinDoubleEvent changed(wxEVT_SPINCTRLDOUBLE, control->GetId(), value);
        changed.SetEventObject(control);
        dialog->ProcessWindowEvent(changed);
    }

    static int Press(VideoImportDialog* dialog, int id)
    {
        wxCommandEvent press(wxEVT_BUTTON, id);
        press.SetEventObject(dialog->FindWindow(id));
        dialog->ProcessWindowEvent(press);
        return id;
    }

    AssertsFailTests m_asserts;
    TempDir m_dir;
    wxFrame* m_parent = nullptr;
};

TEST_F(VideoImportDialogTest, CountFollowsTheChoiceAndTheChoiceIsKeptForTheNextClip)
{
    const VideoClipPtr clip = Clip("first.mp4", "320x240", 3);
    ASSERT_TRUE(clip);
    wxString range;
    {
        VideoImportDialog dialog(m_parent, clip, 20);
        wxTEST_DIALOG(EXPECT_EQ(dialog.ShowModal(), wxID_OK), ExpectDialog<VideoImportDialog>([&](VideoImportDialog* d) {
                          // The first frame, within its box; the rate a 20/100 s delay plays.
                          EXPECT_TRUE(d->m_firstFrame);
                          if (d->m_firstFrame) {
                              EXPECT_EQ(d->m_firstFrame->GetBitmap().GetSize(), wxSize(320, 240));
                          }
                          EXPECT_DOUBLE_EQ(d->m_fps->GetValue(), 5);
                          EXPECT_DOUBLE_EQ(d->m_from->GetValue(), 0);
                          EXPECT_DOUBLE_EQ(d->m_to->GetValue(), 3);
                          EXPECT_EQ(d->m_count->GetLabel(), "15 frames");

                          Set(d, d->m_fps, 12.5);
                          Set(d, d->m_from, 1);
                          EXPECT_EQ(d->m_count->GetLabel(), "25 frames");
                          Set(d, d->m_to, 1);
                          EXPECT_EQ(d->m_count->GetLabel(), "0 frames");
                          EXPECT_FALSE(d->FindWindow(wxID_OK)->IsEnabled());
                          Set(d, d->m_to, 1.08);
                          EXPECT_EQ(d->m_count->GetLabel(), "1 frame");
                          Set(d, d->m_to, 2.5);
                          EXPECT_TRUE(d->FindWindow(wxID_OK)->IsEnabled());
                          return Press(d, wxID_OK);
                      }));
        range = dialog.RangeName();
    }
    EXPECT_EQ(range, clip->Path() + "#t=1,2.5&fps=12.5");

    // A shorter clip: the start and rate come back, the end is the clip's.
    const VideoClipPtr next = Clip("next.mp4", "64x48", 2);
    ASSERT_TRUE(next);
    VideoImportDialog dialog(m_parent, next, 10);
    EXPECT_DOUBLE_EQ(dialog.m_fps->GetValue(), 12.5);
    EXPECT_DOUBLE_EQ(dialog.m_from->GetValue(), 1);
    EXPECT_DOUBLE_EQ(dialog.m_to->GetValue(), 2);
    EXPECT_EQ(dialog.FrameCount(), 13);

    // Cancel keeps the last choice.
    wxTEST_DIALOG(dialog.ShowModal(), ExpectDialog<VideoImportDialog>([&](VideoImportDialog* d) {
                      Set(d, d->m_fps, 2);
                      return Press(d, wxID_CANCEL);
                  }));
    EXPECT_DOUBLE_EQ(g_videoImportSetting.fps, 12.5);
}


class ClipInMainWindow : public MainWindowTest {
protected:
    void SetUp() override
    {
        g_videoImportSetting = VideoImportSetting();
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        g_videoImportSetting = VideoImportSetting();
    }

    std::vector<int> Delays() const
    {
        std::vector<int> delays;
        for (int i = 0; i < Count(); ++i)
            delays.push_back(m_frame->GetThumbnailCtrl()->GetItem(i)->GetDelay());
        return delays;
    }
    std::vector<wxImage> Pictures() const
    {
        std::vector<wxImage> pictures;
        for (int i = 0; i < Count(); ++i) {
            const auto* item = dynamic_cast<wxImageThumbnailItem*>(m_frame->GetThumbnailCtrl()->GetItem(i));
            pictures.push_back(item ? item->GetFullBitmap().ConvertToImage() : wxImage());
        }
        return pictures;
    }
};

// Add Image of a clip asks for its part and rate (starting from the rate of
// the current delay), inserts its frames named by their times with the
// delays of that rate, and a project of them brings the same frames back.
TEST_F(ClipInMainWindow, AddImageOfAClipInsertsItsFramesAndAProjectKeepsThem)
{
    const wxString clip = m_dir.File("phone.mp4");
    ASSERT_TRUE(MakePatternClip(clip, "96x64", "30", 3, "libx264"));
    Spin("m_spinctrl_delay")->SetValue(20);
    m_frame->AddImages(Strings({WritePng(m_dir, "title.png", 96, 64)}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    Select({0});

    wxTEST_DIALOG(Choose(ID_INSERT_IMAGE), ExpectFileChoice("Insert Image Files", clip),
                  ExpectDialog<VideoImportDialog>([](VideoImportDialog* d) {
                      EXPECT_DOUBLE_EQ(d->m_fps->GetValue(), 5);
                      d->m_from->SetValue(0.5);
                      d->m_to->SetValue(2);
                      d->m_fps->SetValue(3);
                      return wxID_OK;
                  }));
    ASSERT_TRUE(WaitForLoad(m_frame));
    const std::vector<std::string> names = {"phone.mp4#t=0.5",   "phone.mp4#t=0.833", "phone.mp4#t=1.167",
                                            "phone.mp4#t=1.5",   "phone.mp4#t=1.833", "title.png"};
    EXPECT_EQ(ItemNames(m_frame), names);
    std::vector<int> delays = ClipFrameDelays(5, 3);
    EXPECT_EQ(delays, (std::vector<int>{33, 34, 33, 33, 34}));
    delays.push_back(20);
    EXPECT_EQ(Delays(), delays);
    const std::vector<wxImage> shown = Pictures();
    for (const wxImage& picture : shown)
        EXPECT_EQ(picture.GetSize(), wxSize(96, 64));

    const wxString project = m_dir.File("clip.xml");
    wxTEST_DIALOG(EXPECT_TRUE(m_frame->SaveProject()), ExpectFileChoice("Save XML Files", project));
    Restart();
    m_frame->LoadProject(project);
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), names);
    EXPECT_EQ(Delays(), delays);
    const std::vector<wxImage> again = Pictures();
    ASSERT_EQ(again.size(), shown.size());
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_LT(MeanAbsoluteDifference(again[i], shown[i]), 0.5) << i;
}

} // namespace
