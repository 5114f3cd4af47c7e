#include "decode/picture_loader.h"

#include "test_paths.h"

#include <wx/dir.h>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define LOADER_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOADER_TEST_UNDER_ASAN 1
#endif
#endif

namespace {

// Each file is loaded in a child process within these bounds, so that a crash,
// a hang or a huge allocation fails that file alone.
constexpr rlim_t kChildAddressSpace = 1536ul * 1024 * 1024;
constexpr unsigned kChildSeconds = 20;

enum ChildExit { kLoaded = 0, kBadPicture = 3 };

[[noreturn]] void LoadInChild(const wxString& path)
{
#ifndef LOADER_TEST_UNDER_ASAN // the sanitizer reserves terabytes of address space
    const rlimit limit{kChildAddressSpace, kChildAddressSpace};
    setrlimit(RLIMIT_AS, &limit);
#endif
    alarm(kChildSeconds);
    int lastFrame = -1;
    bool good = true;
    LoadPictures(path, [&](wxImage&& picture, int frame) {
        const long long pixels = static_cast<long long>(picture.GetWidth()) * picture.GetHeight();
        good = good && picture.IsOk() && pixels > 0 && pixels <= kMaxPicturePixels;
        // Frames of a whole GIF come in order; other files give frame 0.
        good = good && frame > lastFrame;
        lastFrame = frame;
        return true;
    });
    _exit(good ? kLoaded : kBadPicture);
}

wxString Describe(int status)
{
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? wxString("took too long") : wxString::Format("killed by signal %d", WTERMSIG(status));
    if (WIFEXITED(status) && WEXITSTATUS(status) == kBadPicture)
        return "delivered an invalid picture";
    return wxString::Format("exit status %d", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

} // namespace

TEST(LoaderCorpus, EveryFileLoadsOrIsRefusedWithinBounds)
{
    if (!wxDirExists(CorpusDir()))
        GTEST_SKIP() << "corpus not found";
    wxArrayString files;
    wxDir::GetAllFiles(CorpusDir(), &files);
    files.Sort();
    int tried = 0;
    for (const wxString& file : files) {
        if (file.EndsWith(".md"))
            continue;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            LoadInChild(file);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kLoaded) << file << ": " << Describe(status);
        ++tried;
    }
    EXPECT_GT(tried, 300);
}
