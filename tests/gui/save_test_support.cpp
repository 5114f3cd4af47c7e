#include "save_test_support.h"

#include "gifframe.h"
#include "main_window.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "window/worksaveasgifthread.h"

#include <gif_lib.h>
#include <wx/app.h>
#include <wx/ffile.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/spinctrl.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
// Generous for a loaded machine; saving or loading a few small frames takes
// milliseconds.
const long kWorkTimeoutMs = 60000;
const int kPollMs = 5;
} // namespace

Bytes ReadBytes(const wxString& path)
{
    Bytes bytes;
    wxFFile file(path, "rb");
    if (!file.IsOpened())
        return bytes;
    bytes.resize(static_cast<std::size_t>(file.Length()));
    if (!bytes.empty() && file.Read(bytes.data(), bytes.size()) != bytes.size())
        bytes.clear();
    return bytes;
}

void WriteBytes(const wxString& path, const Bytes& bytes)
{
    wxFFile file(path, "wb");
    ASSERT_TRUE(file.IsOpened());
    ASSERT_EQ(file.Write(bytes.data(), bytes.size()), bytes.size());
}

DecodedGif DecodeGif(const wxString& path)
{
    DecodedGif decoded;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.fn_str(), &error);
    if (!gif)
        return decoded;
    if (DGifSlurp(gif) == GIF_OK) {
        decoded.ok = true;
        decoded.width = gif->SWidth;
        decoded.height = gif->SHeight;
        decoded.frames = gif->ImageCount;
        for (int i = 0; i < gif->ImageCount; ++i) {
            GraphicsControlBlock control;
            decoded.delays.push_back(DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK ? control.DelayTime : -1);
        }
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

void MainWindowTest::SetUp()
{
    m_frame = CreateMainWindowForTest();
    ASSERT_TRUE(m_frame);
    m_frame->Bind(
        EVT_THREAD_UPDATE,
        [this](wxCommandEvent& event) {
            if (event.GetExtraLong() == SAVE_EVENT_FINISHED)
                ++m_finishedEvents;
            else
                m_progress.push_back(event.GetInt());
            event.Skip();
        },
        ID_SAVE_GIF_THREAD);
}

void MainWindowTest::TearDown()
{
    DestroyMainWindowForTest(m_frame);
}

void MainWindowTest::AddFrames(int count, int width, int height)
{
    for (int i = 0; i < count; ++i) {
        wxImage picture(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.SetRGB(x, y, (x * 255) / width, (y * 255) / height, (i * 80) % 256);
        const wxString path = m_dir.File(wxString::Format("frame%d.png", m_frame->m_thumbnail_ctrl->GetCount()));
        ASSERT_TRUE(picture.SaveFile(path, wxBITMAP_TYPE_PNG));
        m_frame->m_thumbnail_ctrl->Append(new wxImageThumbnailItem(new wxImage(picture), 0, path),
                                          m_frame->m_spinctrl_delay->GetValue());
    }
    m_frame->EnableCommands();
}

void MainWindowTest::AddPicture(const wxString& path, int frameIndex)
{
    wxLogNull noLog;
    auto* picture = new wxImage(path, wxBITMAP_TYPE_ANY, frameIndex);
    ASSERT_TRUE(picture->IsOk()) << path;
    m_frame->m_thumbnail_ctrl->Append(new wxImageThumbnailItem(picture, frameIndex, path),
                                      m_frame->m_spinctrl_delay->GetValue());
    m_frame->EnableCommands();
}

void MainWindowTest::SetOutput(int delay, int width, int height)
{
    m_frame->m_spinctrl_delay->SetValue(delay);
    // Typing in the control sends a text event; setting it sends none.
    wxCommandEvent typed(wxEVT_TEXT, m_frame->m_spinctrl_delay->GetId());
    m_frame->OnSetDelay(typed);
    m_frame->m_spinctrl_width->SetValue(width);
    m_frame->m_spinctrl_height->SetValue(height);
    m_frame->m_outputWidth = m_frame->m_aspectWidth = width;
    m_frame->m_outputHeight = m_frame->m_aspectHeight = height;
}

void MainWindowTest::Save()
{
    wxCommandEvent event;
    m_frame->OnSaveAnimator(event);
    WaitForSave();
}

void MainWindowTest::SaveAs()
{
    wxCommandEvent event;
    m_frame->OnSaveAs(event);
    WaitForSave();
}

namespace {
void WaitUntilClosed(wxProgressDialog* const& dialog, const char* what)
{
    wxStopWatch watch;
    while (dialog && watch.Time() < kWorkTimeoutMs) {
        wxYield();
        wxMilliSleep(kPollMs);
    }
    EXPECT_FALSE(dialog) << what << " did not end";
    // Lets the toolkit delete the closed progress dialog.
    wxTheApp->ProcessIdle();
}
} // namespace

void MainWindowTest::WaitForSave()
{
    WaitUntilClosed(m_frame->m_saveProgress, "the save");
}

void MainWindowTest::WaitForLoad()
{
    WaitUntilClosed(m_frame->m_loadProgress, "the load");
}
