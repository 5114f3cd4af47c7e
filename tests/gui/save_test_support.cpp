#include "save_test_support.h"

#include "gifframe.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "window/worker_events.h"
#include "window/worksaveasgifthread.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/spinctrl.h>

void SaveWindowTest::SetUp()
{
    MainWindowTest::SetUp();
    ASSERT_NE(m_frame, nullptr);
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

void SaveWindowTest::AddFrames(int count, int width, int height)
{
    wxThumbnailCtrl* strip = m_frame->GetThumbnailCtrl();
    for (int i = 0; i < count; ++i) {
        wxImage picture(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.SetRGB(x, y, (x * 255) / width, (y * 255) / height, (i * 80) % 256);
        const wxString path = m_dir.File(wxString::Format("frame%d.png", strip->GetCount()));
        ASSERT_TRUE(picture.SaveFile(path, wxBITMAP_TYPE_PNG));
        strip->Append(new wxImageThumbnailItem(new wxImage(picture), 0, path),
                      Spin("m_spinctrl_delay")->GetValue());
    }
    m_frame->EnableCommands();
}

void SaveWindowTest::AddPicture(const wxString& path, int frameIndex)
{
    wxLogNull noLog;
    auto* picture = new wxImage(path, wxBITMAP_TYPE_ANY, frameIndex);
    ASSERT_TRUE(picture->IsOk()) << path;
    m_frame->GetThumbnailCtrl()->Append(new wxImageThumbnailItem(picture, frameIndex, path),
                                        Spin("m_spinctrl_delay")->GetValue());
    m_frame->EnableCommands();
}

void SaveWindowTest::SetOutput(int delay, int width, int height)
{
    wxCommandEvent typed(wxEVT_TEXT);
    Spin("m_spinctrl_delay")->SetValue(delay);
    m_frame->OnSetDelay(typed);
    // Frames appended here give the window no reference size, so each side
    // keeps the other as typed.
    Spin("m_spinctrl_width")->SetValue(width);
    m_frame->OnSetWidth(typed);
    Spin("m_spinctrl_height")->SetValue(height);
    m_frame->OnSetHeight(typed);
}

void SaveWindowTest::Save()
{
    Choose(ID_MENU_SAVE);
    EXPECT_TRUE(WaitForSave(m_frame)) << "the save did not end";
}

void SaveWindowTest::SaveAs()
{
    Choose(ID_MENU_SAVE_AS);
    EXPECT_TRUE(WaitForSave(m_frame)) << "the save did not end";
}

wxString SaveWindowTest::SaveFirstAs(const char* name)
{
    const wxString path = m_dir.File(name);
    wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), path));
    return path;
}
