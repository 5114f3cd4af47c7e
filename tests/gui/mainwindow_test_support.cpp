#include "mainwindow_test_support.h"

#include "gifframe.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "window/worker_events.h"

#include <wx/anidecod.h>
#include <wx/app.h>
#include <wx/imaggif.h>
#include <wx/quantize.h>
#include <wx/filefn.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/wfstream.h>

namespace {
constexpr long kFileChoiceTimeoutMs = 5000;

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "toolkit assertion in " << func << ": " << cond << " " << msg;
}
} // namespace

AssertsFailTests::AssertsFailTests() : m_previous(wxSetAssertHandler(FailOnAssert)) {}

AssertsFailTests::~AssertsFailTests()
{
    wxSetAssertHandler(m_previous);
}

int ExpectFileChoice::OnInvoked(wxFileDialog* dialog) const
{
    EXPECT_EQ(dialog->GetMessage(), m_message);
    if (m_id != wxID_OK)
        return m_id;
    dialog->SetPath(m_path);
    const bool multiple = dialog->HasFlag(wxFD_MULTIPLE);
    wxStopWatch watch;
    while (watch.Time() < kFileChoiceTimeoutMs) {
        wxArrayString chosen;
        if (multiple)
            dialog->GetPaths(chosen);
        else
            chosen.Add(dialog->GetPath());
        if (chosen.size() == 1 && chosen[0] == m_path)
            break;
        wxYield();
        wxMilliSleep(1);
    }
    return m_id;
}

wxString WritePng(const TempDir& dir, const wxString& name, int width, int height,
                  unsigned char shade)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), shade, 255 - shade, shade / 2);
    const wxString path = dir.File(name);
    image.SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

wxString WriteGif(const TempDir& dir, const wxString& name, int frames, int width, int height)
{
    wxImageArray images;
    for (int i = 0; i < frames; ++i) {
        wxImage image(width, height);
        const unsigned char shade = static_cast<unsigned char>(40 * (i + 1));
        image.SetRGB(wxRect(0, 0, width, height), shade, 0, 255 - shade);
        // The toolkit's GIF writer takes paletted pictures only.
        wxImage paletted;
        wxPalette* palette = nullptr;
        wxQuantize::Quantize(image, paletted, &palette, 256, nullptr,
                             wxQUANTIZE_FILL_DESTINATION_IMAGE);
        paletted.SetPalette(*palette);
        delete palette;
        images.Add(paletted);
    }
    const wxString path = dir.File(name);
    wxFileOutputStream stream(path);
    wxGIFHandler handler;
    const int delayMs = 100;
    EXPECT_TRUE(handler.SaveAnimation(images, &stream, false, delayMs));
    return path;
}

wxString WriteBytes(const TempDir& dir, const wxString& name, const std::string& bytes)
{
    const wxString path = dir.File(name);
    wxFileOutputStream stream(path);
    stream.Write(bytes.data(), bytes.size());
    return path;
}

bool WaitForLoad(GifFrame* frame, long timeoutMs)
{
    wxStopWatch watch;
    while (frame->m_loadProgress && watch.Time() < timeoutMs) {
        wxYield();
        wxMilliSleep(1);
    }
    // The destroyed dialog goes at idle time and gives the window back.
    wxTheApp->ProcessIdle();
    return frame->m_loadProgress == nullptr;
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

std::vector<std::string> ItemNames(GifFrame* frame)
{
    std::vector<std::string> names;
    wxThumbnailCtrl* strip = frame->m_thumbnail_ctrl;
    for (int i = 0; i < strip->GetCount(); ++i)
        names.push_back(wxFileNameFromPath(strip->GetItem(i)->GetFileName()).utf8_string());
    return names;
}
