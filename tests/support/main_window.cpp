#include "main_window.h"

#include "gifapp.h"
#include "gifframe.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "window/worker_events.h"

#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
constexpr int kPollMs = 1;

template <class Busy>
bool WaitWhile(Busy busy, long timeoutMs)
{
    wxStopWatch watch;
    while (busy() && watch.Time() < timeoutMs) {
        wxYield();
        wxMilliSleep(kPollMs);
    }
    // The destroyed progress dialog goes at idle time and gives the window back.
    wxTheApp->ProcessIdle();
    return !busy();
}
} // namespace

GifFrame* CreateMainWindowForTest(bool show)
{
    wxLogNull noLog;
    static const bool loaded = LoadLayoutResources(BinaryDir() + "/Themes");
    if (!loaded)
        return nullptr;
    GifFrame* frame = CreateMainWindow();
    if (frame && show)
        frame->Show(true);
    return frame;
}

void DestroyMainWindowForTest(GifFrame* frame)
{
    if (!frame)
        return;
    frame->Destroy();
    wxTheApp->ProcessIdle();
    // Lets the toolkit tell the display that the window is gone.
    wxTheApp->Yield(true);
}

void ChooseMenuItemForTest(GifFrame& frame, int id)
{
    if (wxMenuItem* item = frame.GetMenuBar()->FindItem(id)) {
        ASSERT_TRUE(item->GetMenu()->SendEvent(id, item->IsCheckable() ? 1 : -1));
    } else {
        // A popup menu's command goes to the window that showed it.
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(&frame);
        ASSERT_TRUE(frame.ProcessWindowEvent(command)) << "no handler for menu item " << id;
    }
    wxTheApp->ProcessIdle();
}

wxWindow* LayoutWindow(const GifFrame& frame, const char* name)
{
    wxWindow* window = frame.FindWindow(name);
    EXPECT_NE(window, nullptr) << "no window " << name;
    return window;
}

wxSpinCtrl* LayoutSpin(const GifFrame& frame, const char* name)
{
    auto* spin = dynamic_cast<wxSpinCtrl*>(LayoutWindow(frame, name));
    EXPECT_NE(spin, nullptr) << name << " is no spin control";
    return spin;
}

wxStaticText* LayoutText(const GifFrame& frame, const char* name)
{
    auto* text = dynamic_cast<wxStaticText*>(LayoutWindow(frame, name));
    EXPECT_NE(text, nullptr) << name << " is no static text";
    return text;
}

bool WaitForLoad(GifFrame* frame, long timeoutMs)
{
    return WaitWhile([frame] { return frame->IsLoading(); }, timeoutMs);
}

bool WaitForSave(GifFrame* frame, long timeoutMs)
{
    return WaitWhile([frame] { return frame->IsSaving(); }, timeoutMs);
}

std::vector<std::string> ItemNames(const GifFrame* frame)
{
    std::vector<std::string> names;
    const wxThumbnailCtrl* strip = frame->GetThumbnailCtrl();
    for (int i = 0; i < strip->GetCount(); ++i)
        names.push_back(wxFileNameFromPath(strip->GetItem(i)->GetFileName()).utf8_string());
    return names;
}

LoadRecorder::LoadRecorder(GifFrame* frame) : m_frame(frame)
{
    m_frame->Bind(EVT_THREAD_UPDATE, &LoadRecorder::OnEvent, this, ID_IMAGE_LOAD_THREAD);
}

LoadRecorder::~LoadRecorder()
{
    m_frame->Unbind(EVT_THREAD_UPDATE, &LoadRecorder::OnEvent, this, ID_IMAGE_LOAD_THREAD);
}

void LoadRecorder::OnEvent(wxCommandEvent& event)
{
    m_events.push_back(
        {event.GetInt(), event.GetExtraLong(), event.GetString(), event.GetClientData() != nullptr});
    event.Skip();
}

std::vector<int> LoadRecorder::Progress() const
{
    std::vector<int> progress;
    for (const LoadEvent& event : m_events)
        progress.push_back(event.progress);
    return progress;
}

void MainWindowTest::SetUp()
{
    m_frame = CreateMainWindowForTest(m_show);
    ASSERT_NE(m_frame, nullptr);
    m_window = m_frame;
}

void MainWindowTest::TearDown()
{
    if (Closed()) {
        wxTheApp->ProcessIdle();
        return;
    }
    WaitForLoad(m_frame);
    WaitForSave(m_frame);
    DestroyMainWindowForTest(m_frame);
}

void MainWindowTest::Fill(const std::vector<wxSize>& sizes)
{
    wxArrayString paths;
    for (size_t i = 0; i < sizes.size(); ++i) {
        wxImage image(sizes[i]);
        image.SetRGB(wxRect(sizes[i]), 128, 127, 64);
        paths.Add(m_dir.File(wxString::Format("f%zu.png", i)));
        ASSERT_TRUE(image.SaveFile(paths.Last(), wxBITMAP_TYPE_PNG));
    }
    m_frame->AddImages(paths);
    ASSERT_TRUE(WaitForLoad(m_frame));
}

int MainWindowTest::Count() const
{
    return m_frame->GetThumbnailCtrl()->GetCount();
}

void MainWindowTest::Select(std::initializer_list<int> indices)
{
    for (int index : indices)
        m_frame->GetThumbnailCtrl()->Select(index);
}

wxString MainWindowTest::Status(int field) const
{
    return m_frame->GetStatusBar()->GetStatusText(field);
}

bool MainWindowTest::Closed() const
{
    return !m_window || wxTheApp->IsScheduledForDestruction(m_frame);
}

void MainWindowTest::Restart()
{
    if (Closed())
        wxTheApp->ProcessIdle();
    else
        DestroyMainWindowForTest(m_frame);
    m_frame = CreateMainWindowForTest(m_show);
    ASSERT_NE(m_frame, nullptr);
    m_window = m_frame;
}

bool PressProgressCancel()
{
    for (wxWindow* top : wxTopLevelWindows) {
        // dynamic_cast: the toolkit's cast macro casts before it checks.
        if (!dynamic_cast<wxGenericProgressDialog*>(top) || !top->IsShown())
            continue;
        wxWindow* button = top->FindWindow(wxID_CANCEL);
        if (!button)
            return false;
        wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
        click.SetEventObject(button);
        return button->GetEventHandler()->ProcessEvent(click);
    }
    return false;
}
