// Frame strip under load: painting, scrolling, clicking and keys with a short
// and a long list. Runs under an X display (xvfb-run). Paint figures are the
// time spent inside the paint event, measured around the window's whole
// handler chain, so that the toolkit's frame clock does not blur them.
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "io/trace.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/time.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace {
// Six columns and between two and three visible rows: even 20 frames
// scroll.
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 300;
constexpr int kScrollStepUnits = 10;
constexpr int kPictureSide = 64;
constexpr int kPaintTimeoutMs = 2000;

// Times every paint event that passes through the window.
class PaintTimer : public wxEvtHandler {
public:
    bool ProcessEvent(wxEvent& event) override
    {
        if (event.GetEventType() != wxEVT_PAINT)
            return wxEvtHandler::ProcessEvent(event);
        const auto start = std::chrono::steady_clock::now();
        const bool processed = wxEvtHandler::ProcessEvent(event);
        m_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++m_paints;
        return processed;
    }

    int m_paints = 0;
    double m_seconds = 0;
};

// Counts the cells each repaint draws.
class CountingCtrl : public wxThumbnailCtrl {
public:
    explicit CountingCtrl(wxWindow* parent) : wxThumbnailCtrl(parent) {}
    int m_cellsDrawn = 0;

protected:
    bool DrawItemCell(int index, wxDC& dc, const wxRect& cellRect, const wxRect& imageRect,
                      int flags) override
    {
        ++m_cellsDrawn;
        return wxThumbnailCtrl::DrawItemCell(index, dc, cellRect, imageRect, flags);
    }
};

class Strip {
public:
    explicit Strip(int count)
    {
        m_file = wxFileName::CreateTempFileName("thumbbench");
        wxFFile(m_file, "wb").Write("x", 1);
        m_frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxDefaultSize);
        m_ctrl = new CountingCtrl(m_frame);
        m_frame->SetClientSize(kClientWidth, kClientHeight);
        m_ctrl->PushEventHandler(&m_timer);
        m_ctrl->FreezeLayout();
        for (int i = 0; i < count; ++i) {
            auto* image = new wxImage(kPictureSide, kPictureSide);
            image->SetRGB(wxRect(0, 0, kPictureSide, kPictureSide), i % 256, 90, 160);
            m_ctrl->Append(new wxImageThumbnailItem(image, 0, m_file), 10);
        }
        m_ctrl->ThawLayout();
        m_frame->Show();
        Settle();
    }

    ~Strip()
    {
        m_ctrl->PopEventHandler();
        delete m_frame;
        wxRemoveFile(m_file);
    }

    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            wxTheApp->Yield(true);
    }

    int Paints() const { return m_timer.m_paints; }

    // Waits for the pending repaint and returns the seconds it took, or a
    // negative number when none came.
    double WaitForPaint(int paintsBefore)
    {
        const wxLongLong deadline = wxGetLocalTimeMillis() + kPaintTimeoutMs;
        while (m_timer.m_paints == paintsBefore && wxGetLocalTimeMillis() < deadline) {
            wxTheApp->Yield(true);
            wxMilliSleep(1);
        }
        return m_timer.m_paints == paintsBefore ? -1 : m_timer.m_seconds;
    }

    double RepaintAll()
    {
        const int before = m_timer.m_paints;
        m_ctrl->Refresh(false);
        m_ctrl->Update();
        return WaitForPaint(before);
    }

    // Scrolls to `units` and returns the time of the scroll and its repaint.
    double ScrollTo(int units)
    {
        const int before = m_timer.m_paints;
        const auto start = std::chrono::steady_clock::now();
        m_ctrl->Scroll(0, units);
        const double scroll =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m_ctrl->Update();
        return scroll + WaitForPaint(before);
    }

    // The highest scroll position, in units.
    int MaxScroll() const
    {
        return std::max(0, m_ctrl->GetScrollLines(wxVERTICAL) - m_ctrl->GetClientSize().y / 10);
    }

    void ScrollToMiddle()
    {
        m_ctrl->Scroll(0, MaxScroll() / 2);
        Settle();
    }

    void ClickAt(const wxPoint& point, bool ctrl = false)
    {
        wxMouseEvent event(wxEVT_LEFT_DOWN);
        event.SetPosition(point);
        event.SetControlDown(ctrl);
        event.SetEventObject(m_ctrl);
        m_ctrl->ProcessWindowEvent(event);
    }

    void PressKey(int keyCode)
    {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = keyCode;
        event.SetEventObject(m_ctrl);
        m_ctrl->ProcessWindowEvent(event);
    }

    CountingCtrl* Ctrl() { return m_ctrl; }

private:
    wxString m_file;
    wxFrame* m_frame = nullptr;
    CountingCtrl* m_ctrl = nullptr;
    PaintTimer m_timer;
};

// Reports a missing repaint instead of timing nothing for ever.
bool Record(benchmark::State& state, double seconds)
{
    if (seconds < 0) {
        state.SkipWithError("no repaint arrived");
        return false;
    }
    state.SetIterationTime(seconds);
    return true;
}

void BM_RepaintWholeStrip(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    strip.ScrollToMiddle();
    strip.Ctrl()->m_cellsDrawn = 0;
    for (auto _ : state) {
        if (!Record(state, strip.RepaintAll()))
            break;
    }
    state.counters["cells"] = benchmark::Counter(strip.Ctrl()->m_cellsDrawn,
                                                 benchmark::Counter::kAvgIterations);
}

void BM_ScrollBy100Pixels(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    const int from = std::max(0, strip.MaxScroll() / 2 - kScrollStepUnits / 2);
    const int to = from + kScrollStepUnits;
    if (to > strip.MaxScroll()) {
        state.SkipWithError("too few frames to scroll");
        return;
    }
    strip.ScrollTo(from);
    bool down = true;
    for (auto _ : state) {
        if (!Record(state, strip.ScrollTo(down ? to : from)))
            break;
        down = !down;
    }
}

void BM_ClickAndRepaint(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    strip.ScrollToMiddle();
    const wxPoint first(40, 150);
    const wxPoint second(140, 150);
    bool toggle = false;
    for (auto _ : state) {
        const int paints = strip.Paints();
        const auto start = std::chrono::steady_clock::now();
        strip.ClickAt(toggle ? first : second);
        const double click =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        strip.Ctrl()->Update();
        const double paint = strip.WaitForPaint(paints);
        if (!Record(state, paint < 0 ? paint : click + paint))
            break;
        toggle = !toggle;
    }
}

void BM_ArrowKey(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    strip.ScrollToMiddle();
    strip.ClickAt(wxPoint(40, 150));
    bool right = true;
    for (auto _ : state) {
        strip.PressKey(right ? WXK_RIGHT : WXK_LEFT);
        right = !right;
    }
}

void BM_SelectAll(benchmark::State& state)
{
    Strip strip(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        strip.Ctrl()->SelectAll();
        state.PauseTiming();
        strip.ClickAt(wxPoint(40, 40));
        state.ResumeTiming();
    }
}

BENCHMARK(BM_RepaintWholeStrip)->Arg(20)->Arg(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollBy100Pixels)->Arg(20)->Arg(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickAndRepaint)->Arg(20)->Arg(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ArrowKey)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectAll)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        wxInitAllImageHandlers();
        return true;
    }
};
} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // The strip traces every item it adds; the report stays readable without.
    SetTraceOutput(nullptr);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit())
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
