// Adding many pictures through the main window: the time from the command to
// the last thumbnail, and the memory the frames take. Needs an X display
// (run under xvfb-run), like the GUI tests.
//
// With GIFMAKER_BENCH_PHOTOS=<folder> it also adds every JPEG in that folder
// and saves them at 800x600; with GIFMAKER_BENCH_GIF=<file> it adds that
// (long) GIF and times the strip scrolling to a frame and selecting it.
// bench/big-jobs.sh makes both and runs them.
#include "gifapp.h"
#include "gifframe.h"
#include "window/thumbnailctrl.h"
#include "io/trace.h"

#include <wx/dir.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/testing.h>

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {
constexpr int kPictureCount = 500;
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        return true;
    }
};

// Resident memory now, in MiB, from /proc.
double ResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

double PeakResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Photo-like pictures: smooth gradients with some grain, so that the PNG
// decoder has real work.
wxArrayString WritePictures(const wxString& folder)
{
    wxArrayString paths;
    wxImage image(kPictureWidth, kPictureHeight);
    unsigned char* data = image.GetData();
    for (int n = 0; n < kPictureCount; ++n) {
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) {
                unsigned char* pixel = data + 3 * (y * kPictureWidth + x);
                const int grain = (x * 7 + y * 13 + n * 31) % 17;
                pixel[0] = static_cast<unsigned char>((x + n) % 256);
                pixel[1] = static_cast<unsigned char>((y * 2 + grain) % 256);
                pixel[2] = static_cast<unsigned char>((x + y + n * 3) % 256);
            }
        const wxString path = wxString::Format("%s/picture%03d.png", folder, n);
        image.SaveFile(path, wxBITMAP_TYPE_PNG);
        paths.Add(path);
    }
    return paths;
}

using Clock = std::chrono::steady_clock;

// Answers a file dialog with a path; GTK's chooser takes the path a moment
// after it is set, so the answer waits for it.
class AnswerFileDialog : public wxExpectModal<wxFileDialog> {
public:
    using wxExpectModal<wxFileDialog>::wxExpectModal;

protected:
    int OnInvoked(wxFileDialog* dialog) const override
    {
        dialog->SetPath(m_path);
        for (int wait = 0; wait < 5000 && dialog->GetPath() != m_path; ++wait) {
            wxYield();
            wxMilliSleep(1);
        }
        return m_id;
    }
};

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs the event loop while `busy` holds; the highest resident memory seen
// meanwhile, in MiB.
double PumpWhile(const std::function<bool()>& busy)
{
    double peak = ResidentMiB();
    while (busy()) {
        wxYield();
        wxMilliSleep(1);
        peak = std::max(peak, ResidentMiB());
    }
    return peak;
}

GifFrame* OpenWindow()
{
    GifFrame* frame = CreateMainWindow();
    frame->Show(true);
    wxYield();
    return frame;
}

void CloseWindow(GifFrame* frame)
{
    frame->Destroy();
    wxTheApp->ProcessIdle();
}

wxString g_folder;
wxArrayString g_paths;
wxString g_photoFolder;
wxString g_longGif;

// Adds every photo, then saves them at 800x600 through Save As.
void BM_AddPhotosAndSave(benchmark::State& state)
{
    wxArrayString photos;
    wxDir::GetAllFiles(g_photoFolder, &photos, "*.jpg", wxDIR_FILES);
    photos.Sort();
    for (auto _ : state) {
        GifFrame* frame = OpenWindow();
        const double before = ResidentMiB();
        const auto start = Clock::now();
        frame->AddImages(photos);
        const double loadPeak = PumpWhile([frame] { return frame->IsLoading(); });
        const double loadSeconds = SecondsSince(start);
        state.SetIterationTime(loadSeconds);
        state.counters["frames"] = frame->GetThumbnailCtrl()->GetCount();
        state.counters["photos_per_s"] = frame->GetThumbnailCtrl()->GetCount() / loadSeconds;
        state.counters["rss_before_MiB"] = before;
        state.counters["rss_loaded_MiB"] = ResidentMiB();
        state.counters["peak_rss_load_MiB"] = loadPeak;

        wxCommandEvent typed(wxEVT_TEXT);
        XRCCTRL(*frame, "m_spinctrl_width", wxSpinCtrl)->SetValue(800);
        frame->OnSetWidth(typed);
        XRCCTRL(*frame, "m_spinctrl_height", wxSpinCtrl)->SetValue(600);
        frame->OnSetHeight(typed);
        const wxString gif = g_folder + "/photos.gif";
        const auto saveStart = Clock::now();
        // Straight to the menu, as a click does: the frame's own ProcessCommand
        // skips items whose enabled state has not caught up yet.
        wxMenuItem* saveAs = frame->GetMenuBar()->FindItem(ID_MENU_SAVE_AS);
        wxTEST_DIALOG(saveAs->GetMenu()->SendEvent(ID_MENU_SAVE_AS), AnswerFileDialog(gif));
        state.counters["peak_rss_save_MiB"] = PumpWhile([frame] { return frame->IsSaving(); });
        state.counters["save_s"] = SecondsSince(saveStart);
        state.counters["gif_MB"] = wxFileName::GetSize(gif).ToDouble() / 1e6;
        CloseWindow(frame);
    }
}

// Adds a long GIF, then times scrolling the strip to frames all over it and
// selecting them.
void BM_AddLongGif(benchmark::State& state)
{
    for (auto _ : state) {
        GifFrame* frame = OpenWindow();
        const double before = ResidentMiB();
        const auto start = Clock::now();
        frame->AddImages(wxArrayString(1, &g_longGif));
        state.counters["peak_rss_load_MiB"] = PumpWhile([frame] { return frame->IsLoading(); });
        state.SetIterationTime(SecondsSince(start));
        wxThumbnailCtrl* strip = frame->GetThumbnailCtrl();
        const int count = strip->GetCount();
        state.counters["frames"] = count;
        state.counters["rss_before_MiB"] = before;
        state.counters["rss_loaded_MiB"] = ResidentMiB();

        // Jumps all over the list, so that every step paints rows not seen before.
        constexpr int kSteps = 50;
        int unitX = 0;
        int unitY = 0;
        strip->GetScrollPixelsPerUnit(&unitX, &unitY);
        const auto browse = Clock::now();
        for (int step = 0; step < kSteps && count > 0; ++step) {
            const int index = static_cast<int>((step * 9973LL + count - 1) % count);
            wxRect cell;
            strip->GetItemRect(index, cell, false);
            strip->Scroll(-1, unitY > 0 ? cell.y / unitY : 0);
            strip->Select(index);
            strip->SetFocusItem(index);
            strip->Update();
        }
        state.counters["select_scroll_ms"] = SecondsSince(browse) * 1000 / kSteps;
        CloseWindow(frame);
    }
}

void BM_AddImages(benchmark::State& state)
{
    for (auto _ : state) {
        GifFrame* frame = OpenWindow();
        const double before = ResidentMiB();

        const auto start = std::chrono::steady_clock::now();
        frame->AddImages(g_paths);
        while (frame->IsLoading()) {
            wxYield();
            wxMilliSleep(1);
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());

        state.counters["frames"] = frame->GetThumbnailCtrl()->GetCount();
        state.counters["rss_growth_MiB"] = ResidentMiB() - before;
        state.counters["peak_rss_MiB"] = PeakResidentMiB();
        CloseWindow(frame);
    }
}
BENCHMARK(BM_AddImages)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    char home[] = "/tmp/gifmaker-bench-XXXXXX";
    char pictures[] = "/tmp/gifmaker-pictures-XXXXXX";
    if (!mkdtemp(home) || !mkdtemp(pictures))
        return 2;
    setenv("HOME", home, 1);
    SetTraceOutput(nullptr);
    wxApp::SetInstance(new BenchApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    {
        wxLogNull noLog;
        LoadLayoutResources(GIFMAKER_BINARY_DIR "/Themes");
    }
    g_folder = pictures;
    g_paths = WritePictures(g_folder);
    if (const char* photos = std::getenv("GIFMAKER_BENCH_PHOTOS")) {
        g_photoFolder = photos;
        benchmark::RegisterBenchmark("BM_AddPhotosAndSave", BM_AddPhotosAndSave)
            ->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
    }
    if (const char* gif = std::getenv("GIFMAKER_BENCH_GIF")) {
        g_longGif = gif;
        benchmark::RegisterBenchmark("BM_AddLongGif", BM_AddLongGif)
            ->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    wxFileName::Rmdir(home, wxPATH_RMDIR_RECURSIVE);
    wxFileName::Rmdir(pictures, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
