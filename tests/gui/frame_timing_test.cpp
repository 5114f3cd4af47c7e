// A delay per frame in the window: the commands that set delays, what the
// Delay control shows, the loop choice, projects of version 1.0.82 and the
// unsaved-project question.
#include "save_test_support.h"

#include "framedelaydialog.h"
#include "gifframe.h"
#include "loopcountdialog.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "encode/gif_pipeline.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/wfstream.h>

#include <string>

namespace {
// Two frames of 24 x 16 with delays of their own, which a project's delays
// replace.
bool WriteTwoFrameGif(const wxString& path)
{
    wxFileOutputStream out(path);
    GifEncodeSettings settings;
    settings.width = 24;
    settings.height = 16;
    settings.delaysCs = {30, 40};
    return out.IsOk() && EncodeGifAnimation(out, 2, [&](std::size_t index) {
               wxImage frame(settings.width, settings.height);
               frame.SetRGB(wxRect(0, 0, 24, 16), 200, static_cast<unsigned char>(100 * index), 30);
               return frame;
           }, settings) && out.Close();
}

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

Bytes FromText(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}
} // namespace

class FrameTimingTest : public SaveWindowTest {
protected:
    wxThumbnailCtrl* Strip() const { return m_frame->GetThumbnailCtrl(); }
    void SelectOnly(std::initializer_list<int> indices)
    {
        for (int i = 0; i < Strip()->GetCount(); ++i)
            Strip()->Select(i, false);
        for (int index : indices)
            Strip()->Select(index, true);
        wxThumbnailEvent event(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, ID_THUMBNAIL_CTRL);
        event.SetEventObject(Strip());
        Strip()->ProcessWindowEvent(event);
    }
    bool Marked() const { return LayoutText(*m_frame, "m_staticText_sec")->GetLabel().Contains("(mixed)"); }
};

TEST_F(FrameTimingTest, SelectedFramesGetTheirOwnDelayAndTheControlFollows)
{
    AddFrames(3, 16, 16);
    SetOutput(10, 16, 16);
    SelectOnly({0, 2});
    wxTEST_DIALOG(Choose(ID_MENU_SET_DELAY), ExpectDialog<FrameDelayDialog>([](FrameDelayDialog* dialog) {
                      EXPECT_EQ(dialog->GetDelay(), 10);
                      dialog->SetDelay(250);
                      return wxID_OK;
                  }));
    EXPECT_EQ(m_frame->GetFrameDelays(), (std::vector<int>{250, 10, 250}));
    EXPECT_EQ(Strip()->GetStartTime(2), 260);
    EXPECT_EQ(Spin("m_spinctrl_delay")->GetValue(), 250);
    EXPECT_FALSE(Marked());

    // A selection of differing delays shows the first one, marked.
    SelectOnly({1, 2});
    EXPECT_EQ(Spin("m_spinctrl_delay")->GetValue(), 10);
    EXPECT_TRUE(Marked());

    // Cancel changes nothing; without a selection the command only explains.
    wxTEST_DIALOG(Choose(ID_MENU_SET_DELAY),
                  ExpectDialog<FrameDelayDialog>([](FrameDelayDialog* dialog) {
                      dialog->SetDelay(99);
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(m_frame->GetFrameDelays(), (std::vector<int>{250, 10, 250}));
    SelectOnly({});
    wxTEST_DIALOG(Choose(ID_MENU_SET_DELAY), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(m_frame->GetFrameDelays(), (std::vector<int>{250, 10, 250}));

    // The Delay control sets every frame.
    SetOutput(30, 16, 16);
    EXPECT_EQ(m_frame->GetFrameDelays(), (std::vector<int>{30, 30, 30}));
    EXPECT_FALSE(Marked());
}

TEST_F(FrameTimingTest, LoopChoiceReachesTheSavedFile)
{
    AddFrames(2, 16, 16);
    SetOutput(10, 16, 16);
    wxTEST_DIALOG(Choose(ID_MENU_LOOP_COUNT), ExpectDialog<LoopCountDialog>([](LoopCountDialog* dialog) {
                      EXPECT_FALSE(dialog->m_checkInFile->GetValue()) << "the file repeats for ever by default";
                      dialog->m_radioTimes->SetValue(true);
                      dialog->m_spinTimes->SetValue(2);
                      dialog->m_checkInFile->SetValue(true);
                      wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
                      dialog->ProcessWindowEvent(press);
                      return wxID_OK;
                  }));
    EXPECT_EQ(m_frame->GetLoopCount(), 2);
    EXPECT_TRUE(m_frame->IsLoopInFile());
    EXPECT_EQ(m_frame->GetSaveSettings(wxSize(16, 16)).loopCount, 2);
    g_loopCountSetting = 0;
    g_loopInFileSetting = false;
}

// Opening a project of 1.0.82 gives its frames, delay and size, counts as
// saved, and saves again without anything new in it.
TEST_F(FrameTimingTest, ProjectsOfTheEarlierVersionOpenAsBefore)
{
    ASSERT_TRUE(WriteTwoFrameGif(m_dir.File("b.gif")));
    for (const char* name : {"a.png", "c.png"}) {
        wxImage picture(30, 20);
        picture.SetRGB(wxRect(0, 0, 30, 20), 40, 160, 40);
        ASSERT_TRUE(picture.SaveFile(m_dir.File(name), wxBITMAP_TYPE_PNG));
    }
    const struct {
        const char* file;
        std::vector<const char*> frames;
        int delay;
        wxSize size;
    } cases[] = {
        {"sized-1.0.82.xml", {"a.png", "b.gif_0", "b.gif_1", "c.png"}, 20, wxSize(90, 60)},
        {"unsized-1.0.82.xml", {"b.gif_1", "a.png", "b.gif_0"}, 7, wxSize(30, 20)},
    };
    for (const auto& c : cases) {
        std::string text = Text(ReadFileBytes(SourceDir() + "/tests/data/projects/" + c.file));
        for (std::size_t at; (at = text.find("@PICTURES@")) != std::string::npos;)
            text.replace(at, 10, m_dir.Path().ToStdString());
        const wxString project = m_dir.File(c.file);
        WriteFileBytes(project, FromText(text));

        Choose(ID_MENU_CLEAR_ALL);
        m_frame->LoadProject(project);
        WaitForLoad(m_frame);
        std::vector<wxString> expected;
        for (const char* frame : c.frames)
            expected.push_back(m_dir.File(frame));
        EXPECT_EQ(m_frame->GetFramePaths(), expected) << c.file;
        EXPECT_EQ(m_frame->GetFrameDelays(), std::vector<int>(expected.size(), c.delay)) << c.file;
        EXPECT_EQ(wxSize(Spin("m_spinctrl_width")->GetValue(), Spin("m_spinctrl_height")->GetValue()), c.size)
            << c.file;
        EXPECT_EQ(Spin("m_spinctrl_delay")->GetValue(), c.delay);
        EXPECT_FALSE(m_frame->IsProjectUnsaved()) << c.file;

        bool saved = false;
        EXPECT_NO_DIALOG(saved = m_frame->SaveProject());
        EXPECT_TRUE(saved);
        // Written as 1.0.82 writes it (the unit tests compare the bytes):
        // nothing of what is new.
        const std::string written = Text(ReadFileBytes(project));
        for (const char* addition : {"delay=", "loop_count", "loop_in_file", "quality"})
            EXPECT_EQ(written.find(addition), std::string::npos) << c.file << ": " << addition;
        Restart();
    }
}

TEST_F(FrameTimingTest, DelayOnlyChangeIsNoticedOnTheWayOut)
{
    AddFrames(3, 16, 16);
    SetOutput(10, 16, 16);
    bool saved = false;
    wxTEST_DIALOG(saved = m_frame->SaveProject(), ExpectFileChoice("Save XML Files", m_dir.File("p.xml")));
    ASSERT_TRUE(saved);
    EXPECT_FALSE(m_frame->IsProjectUnsaved());

    m_frame->SetFrameDelays({{1, 50}});
    EXPECT_EQ(Strip()->GetCount(), 3);
    wxCommandEvent exit(wxEVT_MENU, ID_MENU_EXIT);
    wxTEST_DIALOG(m_frame->OnCloseFrame(exit), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(m_frame));

    // Back to what was saved: nothing to ask.
    m_frame->SetFrameDelays({{1, 10}});
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
}
