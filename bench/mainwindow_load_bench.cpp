// Adding many pictures through the main window: the time from the command to
// the last thumbnail, and the memory the frames take. Needs an X display
// (run under xvfb-run), like the GUI tests.
#include "gifapp.h"
#include "gifframe.h"
#include "window/thumbnailctrl.h"
#include "io/trace.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
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

wxString g_folder;
wxArrayString g_paths;

void BM_AddImages(benchmark::State& state)
{
    for (auto _ : state) {
        GifFrame* frame = CreateMainWindow();
        frame->Show(true);
        wxYield();
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
        frame->Destroy();
        wxTheApp->ProcessIdle();
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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    wxFileName::Rmdir(home, wxPATH_RMDIR_RECURSIVE);
    wxFileName::Rmdir(pictures, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
