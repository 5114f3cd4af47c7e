// libFuzzer target for the video path: every input is written to a file and
// opened as a clip (FFmpeg reads files by name); when it opens, its frames are
// taken at 10 a second with thumbnails, and a few are decoded at full size
// out of order, so that seeks back and forth run too.
#include "video/video_clip.h"
#include "video/video_loader.h"

#include <wx/init.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Enough frames to walk through a small clip and past its end.
constexpr int kFramesTaken = 24;

std::string InputPath()
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder ? folder : "/tmp") + "/video_fuzz-" + std::to_string(getpid()) + ".clip";
}

void Touch(const wxImage& picture)
{
    if (!picture.IsOk())
        return;
    const size_t bytes = static_cast<size_t>(picture.GetWidth()) * picture.GetHeight() * 3;
    volatile unsigned sum = picture.GetData()[0] + picture.GetData()[bytes - 1];
    (void)sum;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static wxInitializer toolkit;
    // Loaded before the first input, so that the decoder's coverage counts
    // from the start.
    wxString why;
    if (!LoadVideoDecoder(&why)) {
        std::fprintf(stderr, "%s\n", static_cast<const char*>(why.utf8_str()));
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = InputPath();
    LooksLikeVideoClip(data, size);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    ClipName clip;
    clip.file = path;
    clip.fps = 10;
    std::vector<LoadedFrame> frames;
    LoadClipFrames(clip, [](const wxSize& full) { return wxSize((full.x + 3) / 4, (full.y + 3) / 4); },
                   [&](LoadedFrame&& frame) {
                       Touch(frame.thumbnail);
                       frames.push_back(std::move(frame));
                       return frames.size() < kFramesTaken;
                   });
    if (!frames.empty()) {
        for (size_t i : {frames.size() - 1, size_t(0), frames.size() / 2})
            Touch(frames[i].source->Decode());
    }
    std::remove(path.c_str());
    return 0;
}
