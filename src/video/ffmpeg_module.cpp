#include "ffmpeg_module.h"

#include "video/video_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace {

struct FfmpegModule {
    decltype(&GifmakerOpenFfmpegClip) open = nullptr;
    wxString error;
};

// lib/ beside the folder of the real executable, as in the build tree and
// the installation; nothing when the executable's path is unknown, so that
// no library is ever looked for relative to the working folder.
std::filesystem::path ModulePath()
{
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed || !program.is_absolute())
        return {};
    return program.parent_path().parent_path() / "lib" / "gifmaker-ffmpeg.so";
}

// Loaded once and kept for the life of the process: readers made by the
// module may live until it exits.
const FfmpegModule& Module()
{
    static const FfmpegModule module = [] {
        FfmpegModule loaded;
        const std::filesystem::path path = ModulePath();
        if (path.empty()) {
            loaded.error = "the video decoder cannot be found: the program's folder is unknown";
            return loaded;
        }
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle)
            loaded.open = reinterpret_cast<decltype(&GifmakerOpenFfmpegClip)>(dlsym(handle, "GifmakerOpenFfmpegClip"));
        if (!loaded.open) {
            const char* reason = dlerror();
            loaded.error = "the video decoder cannot be loaded: " + wxString::FromUTF8(reason ? reason : path.c_str());
        }
        return loaded;
    }();
    return module;
}

} // namespace

bool LoadVideoDecoder(wxString* why)
{
    const FfmpegModule& module = Module();
    if (!module.open && why)
        *why = module.error;
    return module.open != nullptr;
}

std::unique_ptr<ClipReader> OpenFfmpegClip(const std::string& file, wxString* why, long long endMs)
{
    if (!LoadVideoDecoder(why))
        return nullptr;
    return std::unique_ptr<ClipReader>(Module().open(file.c_str(), why, endMs));
}
