#include "videoimportdialog.h"

#include "decode/video_frame_name.h"
#include "video/video_selection.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

VideoImportSetting g_videoImportSetting;

namespace {
constexpr int ID_FROM = 1;
constexpr int ID_TO = 2;
constexpr int ID_FPS = 3;

// The first frame is shown within this box.
const wxSize kPreviewBox(320, 240);
// Times to the millisecond, rates to the hundredth.
constexpr int kTimeDigits = 3;
constexpr int kFpsDigits = 2;

double Seconds(long long ms)
{
    return ms / 1000.0;
}

long long Milliseconds(double seconds)
{
    return std::llround(seconds * 1000);
}
} // namespace

wxBEGIN_EVENT_TABLE(VideoImportDialog, wxDialog)
    EVT_SPINCTRLDOUBLE(ID_FROM, VideoImportDialog::OnChange)
    EVT_SPINCTRLDOUBLE(ID_TO, VideoImportDialog::OnChange)
    EVT_SPINCTRLDOUBLE(ID_FPS, VideoImportDialog::OnChange)
    EVT_BUTTON(wxID_OK, VideoImportDialog::OnOk)
wxEND_EVENT_TABLE()

VideoImportDialog::VideoImportDialog(wxWindow* parent, const VideoClipPtr& clip, int delayCs)
    : wxDialog(parent, wxID_ANY, _("Add Video Clip")), m_clip(clip)
{
    CreateControls(delayCs);
    ShowCount();
}

void VideoImportDialog::CreateControls(int delayCs)
{
    const ClipInfo& info = m_clip->Info();
    const double length = Seconds(info.endMs);
    auto* top = new wxBoxSizer(wxVERTICAL);

    wxImage first = m_clip->FrameAt(0, kPreviewBox);
    if (first.IsOk()) {
        const double scale = std::min({1.0, double(kPreviewBox.x) / first.GetWidth(),
                                       double(kPreviewBox.y) / first.GetHeight()});
        first.Rescale(std::max(1, int(first.GetWidth() * scale)), std::max(1, int(first.GetHeight() * scale)),
                      wxIMAGE_QUALITY_HIGH);
        m_firstFrame = new wxStaticBitmap(this, wxID_ANY, wxBitmap(first));
        top->Add(m_firstFrame, wxSizerFlags().Center().Border());
    }
    // TRANSLATORS: below the clip's first frame: its file name, its size in
    // pixels and its length in seconds.
    top->Add(new wxStaticText(this, wxID_ANY,
                              wxString::Format(_("%s, %d x %d, %.3f seconds"),
                                               wxFileName(m_clip->Path()).GetFullName(), info.size.x,
                                               info.size.y, length)),
             wxSizerFlags().Center().Border(wxLEFT | wxRIGHT));

    const VideoImportSetting& last = g_videoImportSetting;
    const long long fromMs = last.fromMs < info.endMs ? last.fromMs : 0;
    const long long toMs = last.toMs < 0 || last.toMs > info.endMs || last.toMs <= fromMs ? info.endMs : last.toMs;
    const double fps = last.fps > 0 ? last.fps : ClipFpsForDelay(delayCs);
    const double step = 0.1;
    m_from = new wxSpinCtrlDouble(this, ID_FROM, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                  0, length, Seconds(fromMs), step);
    m_to = new wxSpinCtrlDouble(this, ID_TO, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0,
                                length, Seconds(toMs), step);
    m_fps = new wxSpinCtrlDouble(this, ID_FPS, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                 kMinClipFps, kMaxClipFps, fps, 1);
    m_from->SetDigits(kTimeDigits);
    m_to->SetDigits(kTimeDigits);
    m_fps->SetDigits(kFpsDigits);

    auto* grid = new wxFlexGridSizer(2, wxSize(8, 4));
    const wxSizerFlags label = wxSizerFlags().CenterVertical();
    // TRANSLATORS: where the frames taken from a video clip begin, in seconds.
    grid->Add(new wxStaticText(this, wxID_ANY, _("Start (seconds):")), label);
    grid->Add(m_from);
    // TRANSLATORS: where the frames taken from a video clip end, in seconds.
    grid->Add(new wxStaticText(this, wxID_ANY, _("End (seconds):")), label);
    grid->Add(m_to);
    // TRANSLATORS: how many frames are taken from each second of a video clip.
    grid->Add(new wxStaticText(this, wxID_ANY, _("Frames per second:")), label);
    grid->Add(m_fps);
    top->Add(grid, wxSizerFlags().Center().Border());
    m_count = new wxStaticText(this, wxID_ANY, wxEmptyString);
    top->Add(m_count, wxSizerFlags().Center().Border(wxLEFT | wxRIGHT));
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), wxSizerFlags().Expand().Border());
    SetSizerAndFit(top);
}

long long VideoImportDialog::FromMs() const
{
    return Milliseconds(m_from->GetValue());
}

long long VideoImportDialog::ToMs() const
{
    return Milliseconds(m_to->GetValue());
}

double VideoImportDialog::Fps() const
{
    return m_fps->GetValue();
}

int VideoImportDialog::FrameCount() const
{
    return static_cast<int>(ClipFrameTimes(FromMs(), ToMs(), Fps(), m_clip->Info().endMs).size());
}

wxString VideoImportDialog::RangeName() const
{
    return ClipRangeName(m_clip->Path(), FromMs(), ToMs(), Fps());
}

void VideoImportDialog::ShowCount()
{
    const int count = FrameCount();
    // TRANSLATORS: how many frames the chosen part of a video clip and rate make.
    m_count->SetLabel(wxString::Format(wxPLURAL("%d frame", "%d frames", count), count));
    if (wxWindow* ok = FindWindow(wxID_OK))
        ok->Enable(count > 0);
    Layout();
}

void VideoImportDialog::OnChange(wxSpinDoubleEvent&)
{
    ShowCount();
}

void VideoImportDialog::OnOk(wxCommandEvent& event)
{
    if (FrameCount() == 0)
        return;
    g_videoImportSetting.fromMs = FromMs();
    g_videoImportSetting.toMs = ToMs() >= m_clip->Info().endMs ? -1 : ToMs();
    g_videoImportSetting.fps = Fps();
    event.Skip();
}
