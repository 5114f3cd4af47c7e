// The clip import dialog: its first frame, the rate suggested by the delay,
// the frame count following the controls, and the choice kept for the next
// clip.
#include "modal_hooks.h"

#include "asserts.h"
#include "test_clips.h"
#include "test_paths.h"
#include "videoimportdialog.h"

#include "video/video_clip.h"

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

} // namespace
