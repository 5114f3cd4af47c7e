#include "save_test_support.h"
#include "modal_hook.h"

#include "gifframe.h"
#include "encode/gif_pipeline.h"
#include "window/save_frames.h"
#include "window/thumbnailctrl.h"
#include "window/worksaveasgifthread.h"

#include <wx/dir.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/mstream.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const Bytes kMarker = {'k', 'e', 'e', 'p'};

// Makes every write past `bytes` fail in this process, as a full disk does,
// until the object goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_previous{};
    void (*m_handler)(int) = nullptr;
};
} // namespace

TEST_F(SaveWindowTest, FirstSaveAsksWritesEveryFrameAndReportsProgress)
{
    AddFrames(3, 40, 30);
    SetOutput(25, 40, 30);
    const wxString path = m_dir.File("anim.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));

    EXPECT_EQ(m_progress, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(m_finishedEvents, 1);
    const DecodedGif gif = DecodeGif(path);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.frames, 3);
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    EXPECT_EQ(gif.delays, (std::vector<int>{25, 25, 25}));
    EXPECT_EQ(m_frame->m_statusBar1->GetStatusText(0), "anim.gif (40 * 30)px");
    EXPECT_TRUE(m_frame->IsEnabled());
    // No temporary file is left beside the output.
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(m_dir.Path(), &files, "*.gif*"), 1u);
}

TEST_F(SaveWindowTest, SaveWritesOnlyWhenSomethingChangedOrTheFileIsGone)
{
    AddFrames(2, 20, 20);
    SetOutput(10, 20, 20);
    const wxString path = m_dir.File("anim.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));
    ASSERT_TRUE(DecodeGif(path).ok);

    // Unchanged: the file is left alone and no save runs.
    WriteBytes(path, kMarker);
    m_progress.clear();
    EXPECT_NO_DIALOG(Save());
    EXPECT_EQ(ReadBytes(path), kMarker);
    EXPECT_TRUE(m_progress.empty());

    // A new delay rewrites it, once.
    m_frame->m_spinctrl_delay->SetValue(40);
    Save();
    EXPECT_EQ(DecodeGif(path).delays, (std::vector<int>{40, 40}));
    WriteBytes(path, kMarker);
    Save();
    EXPECT_EQ(ReadBytes(path), kMarker);

    // A deleted file is written again although nothing changed.
    ASSERT_TRUE(wxRemoveFile(path));
    Save();
    EXPECT_EQ(DecodeGif(path).frames, 2);
}

TEST_F(SaveWindowTest, CancelledSaveAsForgetsThePathAndTheNextSaveAsks)
{
    AddFrames(1, 16, 16);
    SetOutput(10, 16, 16);
    const wxString first = m_dir.File("first.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(first));
    ASSERT_TRUE(wxFileExists(first));

    m_progress.clear();
    wxTEST_DIALOG(SaveAs(), ExpectFileDialog(wxEmptyString, wxID_CANCEL));
    EXPECT_TRUE(m_frame->m_gifPath.empty());
    EXPECT_TRUE(m_progress.empty());

    const wxString second = m_dir.File("second.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(second));
    EXPECT_EQ(DecodeGif(second).frames, 1);
}

TEST_F(SaveWindowTest, NameWithoutExtensionGetsGif)
{
    AddFrames(1, 16, 12);
    SetOutput(10, 16, 12);
    wxTEST_DIALOG(Save(), ExpectFileDialog(m_dir.File("anim")));
    EXPECT_TRUE(DecodeGif(m_dir.File("anim.gif")).ok);
    EXPECT_FALSE(wxFileExists(m_dir.File("anim")));
    EXPECT_EQ(m_frame->m_statusBar1->GetStatusText(0), "anim (16 * 12)px");

    wxTEST_DIALOG(SaveAs(), ExpectFileDialog(m_dir.File("other")));
    EXPECT_TRUE(DecodeGif(m_dir.File("other.gif")).ok);
    EXPECT_EQ(m_frame->m_statusBar1->GetStatusText(0), "other.gif (16 * 12)px");
}

TEST_F(SaveWindowTest, SaveWithoutFramesRemembersThePathAndWritesNothing)
{
    const wxString path = m_dir.File("later");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));
    EXPECT_EQ(m_frame->m_gifPath, path);
    EXPECT_FALSE(wxFileExists(path));
    EXPECT_FALSE(m_frame->m_saveProgress);

    // Save As with no frames asks nothing.
    SaveAs();
    EXPECT_EQ(m_frame->m_gifPath, path);
}

TEST_F(SaveWindowTest, FailedSaveKeepsThePreviousFileAndTellsWhy)
{
    AddFrames(3, 64, 48);
    SetOutput(10, 64, 48);
    const wxString path = m_dir.File("anim.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));
    const Bytes previous = ReadBytes(path);
    ASSERT_GT(previous.size(), 512u);

    m_frame->m_spinctrl_delay->SetValue(30);
    {
        FileSizeLimit full(512);
        wxTEST_DIALOG(Save(), wxExpectModal<wxMessageDialog>(wxID_OK));
    }
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(m_finishedEvents, 2);
    EXPECT_EQ(m_frame->m_savedDelay, 10);
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(m_dir.Path(), &files), 3u + 1u) << "a temporary file was left behind";

    // The failed save did not count as saved: the next Save tries again.
    Save();
    EXPECT_EQ(DecodeGif(path).delays, (std::vector<int>{30, 30, 30}));
}

TEST_F(SaveWindowTest, ReadOnlyFolderKeepsThePreviousFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    AddFrames(1, 16, 16);
    SetOutput(10, 16, 16);
    const wxString path = m_dir.File("anim.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));
    const Bytes previous = ReadBytes(path);
    m_frame->m_spinctrl_delay->SetValue(30);
    ASSERT_EQ(chmod(m_dir.Path().fn_str(), 0555), 0);
    wxTEST_DIALOG(Save(), wxExpectModal<wxMessageDialog>(wxID_OK));
    chmod(m_dir.Path().fn_str(), 0755);
    EXPECT_EQ(ReadBytes(path), previous);
}

TEST_F(SaveWindowTest, ThreadedSaveMatchesAOneThreadEncoding)
{
    AddFrames(6, 90, 50);
    SetOutput(7, 60, 40);
    const wxString path = m_dir.File("anim.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));
    const Bytes saved = ReadBytes(path);
    ASSERT_FALSE(saved.empty());

    const std::vector<FramePixels> frames = CollectSaveFrames(*m_frame->m_thumbnail_ctrl);
    GifEncodeSettings settings;
    settings.width = 60;
    settings.height = 40;
    settings.delayCs = 7;
    settings.threads = 1;
    wxMemoryOutputStream out;
    ASSERT_TRUE(EncodeGifAnimation(out, frames.size(), MakeFrameSupplier(frames), settings));
    Bytes single(out.GetLength());
    out.CopyTo(single.data(), single.size());
    EXPECT_EQ(saved, single);
}

TEST_F(SaveWindowTest, QueuedProgressAndEndCloseTheDialogWithoutWaiting)
{
    AddFrames(2, 16, 16);
    SetOutput(10, 16, 16);
    m_frame->m_saveRunning = {2, 10, 16, 16};
    m_frame->m_saveProgress = new wxProgressDialog("Save", "saving", 100, m_frame,
                                                   wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME);
    // Both are queued before the first is handled, so the end arrives inside
    // the dialog's update of the progress.
    auto queue = [this](long kind, int value) {
        auto* event = new wxCommandEvent(EVT_THREAD_UPDATE, ID_SAVE_GIF_THREAD);
        event->SetExtraLong(kind);
        event->SetInt(value);
        wxQueueEvent(m_frame, event);
    };
    queue(SAVE_EVENT_PROGRESS, 50);
    queue(SAVE_EVENT_PROGRESS, 100);
    queue(SAVE_EVENT_FINISHED, 1);
    EXPECT_NO_DIALOG(WaitForSave());
    EXPECT_EQ(m_finishedEvents, 1);
    EXPECT_EQ(m_frame->m_savedCount, 2);
    EXPECT_EQ(m_frame->m_savedDelay, 10);
    EXPECT_TRUE(m_frame->IsEnabled());
}

TEST_F(SaveWindowTest, SaveWithoutFramesIsRefusedWithAMessage)
{
    bool started = true;
    wxTEST_DIALOG(started = m_frame->StartSave(wxSize(10, 10), "Save"), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(started);
    EXPECT_FALSE(m_frame->m_saveProgress);
}

TEST_F(SaveWindowTest, OutputTooLargeToHoldIsRefusedWithAMessage)
{
    AddFrames(1, 16, 16);
    SetOutput(10, 20000, 20000);
    const wxString path = m_dir.File("huge.gif");
    wxTEST_DIALOG(Save(), ExpectFileDialog(path), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(m_frame->m_saveProgress);
    EXPECT_FALSE(wxFileExists(path));
    EXPECT_EQ(m_frame->m_savedWidth, 0) << "a refused save does not count as saved";
}
