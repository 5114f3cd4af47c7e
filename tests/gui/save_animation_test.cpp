#include "save_test_support.h"

#include "gifframe.h"
#include "rules/status_text.h"
#include "encode/frame_pixels.h"
#include "encode/gif_pipeline.h"
#include "window/save_frames.h"
#include "window/thumbnailctrl.h"
#include "window/worksaveasgifthread.h"

#include <wx/dir.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/mstream.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr long kSaveTimeoutMs = 20000;
// Time for the save thread to queue its last events once the file is written.
constexpr long kQueueSettleMs = 300;
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
    const wxString path = SaveFirstAs("anim.gif");

    EXPECT_EQ(m_progress, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(m_finishedEvents, 1);
    const GiflibFile gif = DecodeGifFile(path);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.FrameCount(), 3);
    EXPECT_EQ(gif.screenWidth, 40);
    EXPECT_EQ(gif.screenHeight, 30);
    EXPECT_EQ(gif.Delays(), (std::vector<int>{25, 25, 25}));
    EXPECT_EQ(Status(0), "anim.gif (40 * 30)px");
    EXPECT_TRUE(m_frame->IsEnabled());
    // No temporary file is left beside the output.
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(m_dir.Path(), &files, "*.gif*"), 1u);
}

TEST_F(SaveWindowTest, SaveWritesOnlyWhenSomethingChangedOrTheFileIsGone)
{
    AddFrames(2, 20, 20);
    SetOutput(10, 20, 20);
    const wxString path = SaveFirstAs("anim.gif");
    ASSERT_TRUE(DecodeGifFile(path).ok);

    // Unchanged: the file is left alone and no save runs.
    WriteFileBytes(path, kMarker);
    m_progress.clear();
    EXPECT_NO_DIALOG(Save());
    EXPECT_EQ(ReadFileBytes(path), kMarker);
    EXPECT_TRUE(m_progress.empty());

    // A new delay rewrites it, once.
    SetOutput(40, 20, 20);
    Save();
    EXPECT_EQ(DecodeGifFile(path).Delays(), (std::vector<int>{40, 40}));
    WriteFileBytes(path, kMarker);
    Save();
    EXPECT_EQ(ReadFileBytes(path), kMarker);
    // So does the delay of one frame alone.
    m_frame->SetFrameDelays({{1, 70}});
    Save();
    EXPECT_EQ(DecodeGifFile(path).Delays(), (std::vector<int>{40, 70}));

    // A deleted file is written again although nothing changed.
    ASSERT_TRUE(wxRemoveFile(path));
    Save();
    EXPECT_EQ(DecodeGifFile(path).FrameCount(), 2);
}

TEST_F(SaveWindowTest, CancelledSaveAsForgetsThePathAndTheNextSaveAsks)
{
    AddFrames(1, 16, 16);
    SetOutput(10, 16, 16);
    const wxString first = m_dir.File("first.gif");
    wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), first));
    ASSERT_TRUE(wxFileExists(first));

    m_progress.clear();
    wxTEST_DIALOG(SaveAs(), ExpectFileChoice(wxString(), wxString(), wxID_CANCEL));
    EXPECT_TRUE(m_frame->GetGifPath().empty());
    EXPECT_TRUE(m_progress.empty());

    const wxString second = m_dir.File("second.gif");
    wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), second));
    EXPECT_EQ(DecodeGifFile(second).FrameCount(), 1);
}

TEST_F(SaveWindowTest, NameWithoutExtensionGetsGif)
{
    AddFrames(1, 16, 12);
    SetOutput(10, 16, 12);
    wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), m_dir.File("anim")));
    EXPECT_TRUE(DecodeGifFile(m_dir.File("anim.gif")).ok);
    EXPECT_FALSE(wxFileExists(m_dir.File("anim")));
    EXPECT_EQ(Status(0), "anim (16 * 12)px");

    wxTEST_DIALOG(SaveAs(), ExpectFileChoice(wxString(), m_dir.File("other")));
    EXPECT_TRUE(DecodeGifFile(m_dir.File("other.gif")).ok);
    EXPECT_EQ(Status(0), "other.gif (16 * 12)px");
}

TEST_F(SaveWindowTest, SaveWithoutFramesRemembersThePathAndWritesNothing)
{
    const wxString path = SaveFirstAs("later");
    EXPECT_EQ(m_frame->GetGifPath(), path);
    EXPECT_FALSE(wxFileExists(path));
    EXPECT_FALSE(m_frame->IsSaving());

    // Save As with no frames asks nothing.
    SaveAs();
    EXPECT_EQ(m_frame->GetGifPath(), path);
}

TEST_F(SaveWindowTest, FailedSaveKeepsThePreviousFileAndTellsWhy)
{
    AddFrames(3, 64, 48);
    SetOutput(10, 64, 48);
    const wxString path = SaveFirstAs("anim.gif");
    const Bytes previous = ReadFileBytes(path);
    ASSERT_GT(previous.size(), 512u);

    SetOutput(30, 64, 48);
    {
        FileSizeLimit full(512);
        wxTEST_DIALOG(Save(), wxExpectModal<wxMessageDialog>(wxID_OK));
    }
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_EQ(m_finishedEvents, 2);
    EXPECT_EQ(m_frame->GetSavedRecord().delay, 10);
    wxArrayString files;
    EXPECT_EQ(wxDir::GetAllFiles(m_dir.Path(), &files), 3u + 1u) << "a temporary file was left behind";

    // The failed save did not count as saved: the next Save tries again.
    Save();
    EXPECT_EQ(DecodeGifFile(path).Delays(), (std::vector<int>{30, 30, 30}));
}

TEST_F(SaveWindowTest, ReadOnlyFolderKeepsThePreviousFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    AddFrames(1, 16, 16);
    SetOutput(10, 16, 16);
    const wxString path = SaveFirstAs("anim.gif");
    const Bytes previous = ReadFileBytes(path);
    Spin("m_spinctrl_delay")->SetValue(30);
    ASSERT_EQ(chmod(m_dir.Path().fn_str(), 0555), 0);
    wxTEST_DIALOG(Save(), wxExpectModal<wxMessageDialog>(wxID_OK));
    chmod(m_dir.Path().fn_str(), 0755);
    EXPECT_EQ(ReadFileBytes(path), previous);
}

TEST_F(SaveWindowTest, ThreadedSaveMatchesAOneThreadEncoding)
{
    AddFrames(6, 90, 50);
    SetOutput(7, 60, 40);
    const wxString path = SaveFirstAs("anim.gif");
    const Bytes saved = ReadFileBytes(path);
    ASSERT_FALSE(saved.empty());

    std::vector<wxImage> pictures;
    for (const SaveFrame& frame : CollectSaveFrames(*m_frame->GetThumbnailCtrl()))
        pictures.push_back(frame.source->Decode());
    std::vector<FramePixels> frames;
    for (const wxImage& picture : pictures)
        frames.push_back(FramePixelsOf(picture));
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
    const wxString path = m_dir.File("anim.gif");
    wxTEST_DIALOG(Choose(ID_MENU_SAVE), ExpectFileChoice(wxString(), path));
    ASSERT_TRUE(m_frame->IsSaving());
    // Without handling events, let the save thread write the file and queue
    // its progress and its end, so that the end arrives inside the dialog's
    // update of the progress.
    wxStopWatch watch;
    while (!wxFileExists(path) && watch.Time() < kSaveTimeoutMs)
        wxMilliSleep(5);
    wxMilliSleep(kQueueSettleMs);
    EXPECT_NO_DIALOG(WaitForSave(m_frame));
    EXPECT_FALSE(m_frame->IsSaving());
    EXPECT_EQ(m_progress, (std::vector<int>{50, 100}));
    EXPECT_EQ(m_finishedEvents, 1);
    EXPECT_EQ(m_frame->GetSavedRecord().frameCount, 2);
    EXPECT_EQ(m_frame->GetSavedRecord().delay, 10);
    EXPECT_TRUE(m_frame->IsEnabled());
}

TEST_F(SaveWindowTest, SaveWithoutFramesIsRefusedWithAMessage)
{
    bool started = true;
    wxTEST_DIALOG(started = m_frame->StartSave(wxSize(10, 10), "Save"), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(started);
    EXPECT_FALSE(m_frame->IsSaving());
}

TEST_F(SaveWindowTest, OutputTooLargeToHoldIsRefusedWithAMessage)
{
    AddFrames(1, 16, 16);
    SetOutput(10, 20000, 20000);
    const wxString path = m_dir.File("huge.gif");
    wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), path), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(m_frame->IsSaving());
    EXPECT_FALSE(wxFileExists(path));
    EXPECT_EQ(m_frame->GetSavedRecord().width, 0) << "a refused save does not count as saved";
}

// A frame's file changed or removed between adding and saving.
struct ChangedSourceCase {
    const char* name;
    bool edit;   // f1.png rewritten with other pixels
    bool remove; // f2.png deleted
    int answer;  // to the question naming the frames
    std::vector<wxString> named;
};

void PrintTo(const ChangedSourceCase& c, std::ostream* out)
{
    *out << c.name;
}

class ChangedSource : public SaveWindowTest, public ::testing::WithParamInterface<ChangedSourceCase> {};

TEST_P(ChangedSource, SaveNamesTheFramesAndNeverWritesOtherPixels)
{
    const ChangedSourceCase& c = GetParam();
    Fill(3);
    SetOutput(10, 16, 12);
    const wxString path = SaveFirstAs("anim.gif");
    const Bytes previous = ReadFileBytes(path);
    ASSERT_FALSE(previous.empty());
    if (c.edit) {
        wxImage other(20, 12);
        other.SetRGB(wxRect(0, 0, 20, 12), 0, 0, 255);
        ASSERT_TRUE(other.SaveFile(m_dir.File("f1.png"), wxBITMAP_TYPE_PNG));
    }
    if (c.remove) {
        ASSERT_TRUE(wxRemoveFile(m_dir.File("f2.png")));
    }
    // A changed setting makes Save write again.
    SetOutput(20, 16, 12);

    ShownMessage question;
    if (c.answer == wxID_YES) {
        // The save stops at the first frame that cannot be read as it was added.
        ShownMessage failure;
        wxTEST_DIALOG(Save(), ExpectMessage(question, c.answer), ExpectMessage(failure, wxID_OK));
        EXPECT_NE(failure.message.find(c.named.front()), wxString::npos) << failure.message;
    } else {
        wxTEST_DIALOG(Save(), ExpectMessage(question, c.answer));
    }
    ASSERT_TRUE(question.shown);
    for (const wxString& name : c.named)
        EXPECT_NE(question.message.find(name), wxString::npos) << question.message;
    EXPECT_EQ(question.message.find("f0.png"), wxString::npos) << question.message;
    EXPECT_EQ(ReadFileBytes(path), previous);
}

INSTANTIATE_TEST_SUITE_P(
    SaveWindowTest, ChangedSource,
    ::testing::Values(ChangedSourceCase{"EditedCancelled", true, false, wxID_NO, {"f1.png"}},
                      ChangedSourceCase{"RemovedCancelled", false, true, wxID_NO, {"f2.png"}},
                      ChangedSourceCase{"BothCancelled", true, true, wxID_NO, {"f1.png", "f2.png"}},
                      ChangedSourceCase{"EditedSavedAnyway", true, false, wxID_YES, {"f1.png"}}),
    [](const ::testing::TestParamInfo<ChangedSourceCase>& info) { return info.param.name; });

TEST_F(SaveWindowTest, CancelledSaveLeavesThePreviousFileAndSaysSo)
{
    AddFrames(40, 320, 240);
    SetOutput(10, 320, 240);
    const wxString path = SaveFirstAs("anim.gif");
    const Bytes previous = ReadFileBytes(path);
    ASSERT_FALSE(previous.empty());
    SetOutput(20, 320, 240);
    bool pressed = false;
    EXPECT_NO_DIALOG({
        Choose(ID_MENU_SAVE);
        pressed = PressProgressCancel();
        EXPECT_TRUE(WaitForSave(m_frame));
    });
    ASSERT_TRUE(pressed);
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_NE(Status(kOutputStatusField).find("cancelled"), wxString::npos) << Status(kOutputStatusField);
    wxArrayString left;
    wxDir::GetAllFiles(m_dir.Path(), &left, "*", wxDIR_FILES);
    EXPECT_EQ(left.size(), 41u) << "no temporary file stays beside the GIF";
}
