// Pictures arriving from the loading thread: order, names, progress, and the
// end of every load, whatever the files hold.
#include "gifframe.h"
#include "rules/status_text.h"
#include "file_bytes.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "test_pictures.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/dir.h>
#include <wx/menu.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

namespace {
class MainWindowLoading : public MainWindowTest {
protected:
    wxImageThumbnailItem* Item(int index) const
    {
        return dynamic_cast<wxImageThumbnailItem*>(m_frame->GetThumbnailCtrl()->GetItem(index));
    }
};

} // namespace

TEST_F(MainWindowLoading, GifFramesThenPictureArriveInOrder)
{
    const wxString gif = WriteGif(m_dir, "anim.gif", 3, 40, 30);
    const wxString png = WritePng(m_dir, "b.png", 64, 48);
    LoadRecorder recorder(m_frame);
    m_frame->AddImages(Strings({gif, png}));
    ASSERT_TRUE(m_frame->IsLoading());
    EXPECT_FALSE(m_frame->IsEnabled());
    ASSERT_TRUE(WaitForLoad(m_frame));

    ASSERT_EQ(ItemNames(m_frame),
              (std::vector<std::string>{"anim.gif_0", "anim.gif_1", "anim.gif_2", "b.png"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Item(i)->GetFrameIndex(), i);
    EXPECT_EQ(Item(3)->GetFrameIndex(), 0);
    ASSERT_EQ(recorder.Progress(), (std::vector<int>{0, 0, 0, 100}));
    EXPECT_EQ(recorder.Events()[0].path, gif);
    EXPECT_EQ(recorder.Events()[3].path, png);

    // The end of the load sized the output, showed frame 0 and gave the
    // window back.
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 64);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 48);
    EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(0), "Untitled.gif (64 * 48)px");
    EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(1), "anim.gif_0 Width:40px,Height:30 px");
    EXPECT_TRUE(m_frame->IsEnabled());
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
}

TEST_F(MainWindowLoading, ProgressMovesOncePerFile)
{
    LoadRecorder recorder(m_frame);
    m_frame->AddImages(Strings({WritePng(m_dir, "a.png", 8, 8), WriteGif(m_dir, "anim.gif", 3)}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(recorder.Progress(), (std::vector<int>{50, 50, 50, 100}));

    LoadRecorder stills(m_frame);
    m_frame->AddImages(Strings({WritePng(m_dir, "1.png", 8, 8), WritePng(m_dir, "2.png", 8, 8),
                              WritePng(m_dir, "3.png", 8, 8), WritePng(m_dir, "4.png", 8, 8)}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(stills.Progress(), (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(MainWindowLoading, ItemsTakeTheCurrentDelay)
{
    Spin("m_spinctrl_delay")->SetValue(25);
    m_frame->AddImages(Strings({WritePng(m_dir, "a.png", 10, 10)}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(m_frame->GetThumbnailCtrl()->GetItem(0)->GetDelay(), 25);
}

TEST_F(MainWindowLoading, MissingFileInTheMiddleIsSkipped)
{
    LoadRecorder recorder(m_frame);
    m_frame->AddImages(Strings({WritePng(m_dir, "a.png", 10, 10), m_dir.File("missing.png"),
                              WritePng(m_dir, "c.png", 10, 10)}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"a.png", "c.png"}));
    EXPECT_EQ(recorder.Progress(), (std::vector<int>{33, 100}));
}

TEST_F(MainWindowLoading, UpperCaseGifIsOnePicture)
{
    const wxString gif = WriteGif(m_dir, "ANIM.GIF", 3);
    m_frame->AddImages(Strings({gif}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"ANIM.GIF"}));
}

TEST_F(MainWindowLoading, ProjectEntryLoadsOneFrame)
{
    const wxString gif = WriteGif(m_dir, "anim.gif", 3);
    LoadRecorder recorder(m_frame);
    m_frame->AddImages(Strings({gif + "_2"}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    ASSERT_EQ(ItemNames(m_frame), (std::vector<std::string>{"anim.gif_2"}));
    EXPECT_EQ(Item(0)->GetFrameIndex(), 2);
    ASSERT_EQ(recorder.Events().size(), 1u);
    EXPECT_EQ(recorder.Events()[0].path, gif);
    EXPECT_EQ(recorder.Events()[0].progress, 100);
}

TEST_F(MainWindowLoading, LoadWhoseLastEntryIsBrokenStillEnds)
{
    LoadRecorder recorder(m_frame);
    m_frame->AddImages(
        Strings({WritePng(m_dir, "a.png", 20, 10), WriteFileText(m_dir.File("broken.png"), "not a picture")}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"a.png"}));
    ASSERT_EQ(recorder.Progress(), (std::vector<int>{50, 100}));
    EXPECT_FALSE(recorder.Events()[1].hasPicture);
    EXPECT_TRUE(m_frame->IsEnabled());
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 20);
    EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(1), "a.png Width:20px,Height:10 px");
}

TEST_F(MainWindowLoading, LoadThatYieldsNothingEndsWithCommandsOff)
{
    m_frame->AddImages(Strings({WriteFileText(m_dir.File("broken.gif"), "GIF89a broken"),
                              m_dir.File("missing.png")}));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(m_frame->GetThumbnailCtrl()->GetCount(), 0);
    EXPECT_TRUE(m_frame->IsEnabled());
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_RUN_ANIMATION)->IsEnabled());
}

TEST_F(MainWindowLoading, AddImageAsksForFilesAndLoadsThem)
{
    const wxString png = WritePng(m_dir, "b.png", 30, 20);
    wxTEST_DIALOG(Choose(ID_MENU_ADD_IMAGE), ExpectFileChoice("Add Image Files", png));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"b.png"}));
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_CLEAR_ALL)->IsEnabled());
}

TEST_F(MainWindowLoading, CancelledAddImageChangesNothing)
{
    wxTEST_DIALOG(Choose(ID_MENU_ADD_IMAGE),
                  ExpectFileChoice("Add Image Files", wxString(), wxID_CANCEL));
    EXPECT_FALSE(m_frame->IsLoading());
    EXPECT_EQ(m_frame->GetThumbnailCtrl()->GetCount(), 0);
    EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ID_MENU_DELETE)->IsEnabled());
}

// Every file of the shared corpus in one load, valid, odd and broken alike,
// followed by one good picture: the load ends and the good picture arrives last.
TEST_F(MainWindowLoading, WholeCorpusLoadsWithoutHarm)
{
    if (!wxDirExists(CorpusDir()))
        GTEST_SKIP() << "the shared image corpus is not beside the checkout";
    wxArrayString paths;
    wxDir::GetAllFiles(CorpusDir(), &paths);
    ASSERT_GT(paths.size(), 100u);
    paths.Sort();
    paths.Add(WritePng(m_dir, "last.png", 12, 12));
    m_frame->AddImages(paths);
    ASSERT_TRUE(WaitForLoad(m_frame, 300000));
    const std::vector<std::string> names = ItemNames(m_frame);
    ASSERT_GT(names.size(), 100u);
    EXPECT_EQ(names.back(), "last.png");
    for (int i = 0; i < m_frame->GetThumbnailCtrl()->GetCount(); ++i)
        EXPECT_TRUE(Item(i)->GetFullSize().x > 0) << names[i];
    EXPECT_TRUE(m_frame->IsEnabled());
}

TEST_F(MainWindowLoading, CancelledLoadKeepsTheFramesThatArrived)
{
    // Pictures of noise, slow enough to decode that Cancel comes first.
    constexpr int kFiles = 40;
    wxArrayString paths;
    std::vector<std::string> names;
    unsigned seed = 1;
    for (int i = 0; i < kFiles; ++i) {
        wxImage picture(480, 360);
        unsigned char* data = picture.GetData();
        for (int b = 0; b < 480 * 360 * 3; ++b) {
            seed = seed * 1103515245u + 12345u;
            data[b] = static_cast<unsigned char>(seed >> 16);
        }
        names.push_back(wxString::Format("p%03d.png", i).ToStdString());
        paths.Add(m_dir.File(names.back()));
        ASSERT_TRUE(picture.SaveFile(paths.Last(), wxBITMAP_TYPE_PNG));
    }
    m_frame->AddImages(paths);
    ASSERT_TRUE(PressProgressCancel());
    ASSERT_TRUE(WaitForLoad(m_frame));
    const std::vector<std::string> kept = ItemNames(m_frame);
    ASSERT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), static_cast<size_t>(kFiles)) << "the load ran on after Cancel";
    EXPECT_EQ(kept, std::vector<std::string>(names.begin(), names.begin() + static_cast<long>(kept.size())));
    // The window is usable again: the kept frames show and save.
    EXPECT_FALSE(m_frame->IsLoading());
    EXPECT_NE(Status(kFrameStatusField).find("p000.png"), wxString::npos);
}
