#include "test_paths.h"

#include "io/atomic_file.h"

#include <wx/dir.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <csignal>
#include <cerrno>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteText(wxOutputStream& out, const char* text)
{
    out.Write(text, std::strlen(text));
    return out.LastWrite() == std::strlen(text);
}

// Reads to the end, also the files of /proc whose size reads as 0.
std::string ReadAll(const wxString& path)
{
    std::ifstream file(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

wxArrayString FilesIn(const wxString& folder)
{
    wxArrayString files;
    wxDir::GetAllFiles(folder, &files, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
    return files;
}

} // namespace

TEST(AtomicFile, ReplacesTheTargetOnSuccess)
{
    TempDir dir;
    const wxString path = dir.File("out.gif");
    ASSERT_TRUE(WriteFileAtomically(path, [](wxOutputStream& out) { return WriteText(out, "old"); }));
    ASSERT_TRUE(WriteFileAtomically(path, [](wxOutputStream& out) { return WriteText(out, "new data"); }));
    EXPECT_EQ(ReadAll(path), "new data");
    EXPECT_EQ(FilesIn(dir.Path()).size(), 1u);
    struct stat info;
    ASSERT_EQ(::stat(path.fn_str(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST(AtomicFile, FailingWriterLeavesTheOldFile)
{
    TempDir dir;
    const wxString path = dir.File("out.gif");
    ASSERT_TRUE(WriteFileAtomically(path, [](wxOutputStream& out) { return WriteText(out, "old"); }));
    wxString error;
    EXPECT_FALSE(WriteFileAtomically(
        path, [](wxOutputStream& out) { return WriteText(out, "half") && false; }, &error));
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(FilesIn(dir.Path()).size(), 1u) << "the temporary file is removed";
    EXPECT_FALSE(error.empty());
}

TEST(AtomicFile, MissingFolderIsNamedWithTheReason)
{
    TempDir dir;
    wxString error;
    bool called = false;
    EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/out.gif"),
                                     [&](wxOutputStream&) { return called = true; }, &error));
    EXPECT_FALSE(called);
    EXPECT_NE(error.Find("No such file or directory"), wxNOT_FOUND) << error;
    EXPECT_NE(error.Find(dir.File("no/such")), wxNOT_FOUND) << error;
}

TEST(AtomicFile, UnwritableFolderLeavesTheOldFile)
{
    // No one, root included, may create files in /proc.
    const std::string before = ReadAll("/proc/version");
    ASSERT_FALSE(before.empty());
    wxString error;
    EXPECT_FALSE(WriteFileAtomically("/proc/version", [](wxOutputStream& out) { return WriteText(out, "x"); },
                                     &error));
    EXPECT_EQ(ReadAll("/proc/version"), before);
    EXPECT_FALSE(error.empty());

    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind root";
    TempDir dir;
    const wxString path = dir.File("out.gif");
    ASSERT_TRUE(WriteFileAtomically(path, [](wxOutputStream& out) { return WriteText(out, "old"); }));
    ::chmod(dir.Path().fn_str(), 0555);
    EXPECT_FALSE(WriteFileAtomically(path, [](wxOutputStream& out) { return WriteText(out, "new"); }, &error));
    ::chmod(dir.Path().fn_str(), 0755);
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_NE(error.Find("Permission denied"), wxNOT_FOUND) << error;
}

TEST(AtomicFile, StreamErrorCountsEvenWhenTheWriterSaysTrue)
{
    TempDir dir;
    const wxString path = dir.File("out.gif");
    wxString error;
    EXPECT_FALSE(WriteFileAtomically(
        path,
        [](wxOutputStream& out) {
            out.Write("data", 4);
            out.Reset(wxSTREAM_WRITE_ERROR);
            return true;
        },
        &error));
    EXPECT_FALSE(wxFileExists(path));
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

// A file size limit fails writes the way a full disk does, without needing
// one; the reason reaches the user and nothing half-written stays.
TEST(AtomicFile, FailingWriteNamesTheSystemReasonAndLeavesNoPartialFile)
{
    TempDir dir;
    const wxString path = dir.File("out.gif");
    ASSERT_TRUE(WriteFileAtomically(path, [](wxOutputStream& out) { return WriteText(out, "old"); }));
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::string block(4096, 'x');
    wxString error;
    bool writerSawTheFailure = false;
    const bool ok = WriteFileAtomically(
        path,
        [&](wxOutputStream& out) {
            for (int i = 0; i < 100; ++i)
                if (!WriteText(out, block.c_str()))
                    return !(writerSawTheFailure = true);
            return true;
        },
        &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(writerSawTheFailure);
    EXPECT_NE(error.Find(wxString(std::strerror(EFBIG))), wxNOT_FOUND) << error;
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(FilesIn(dir.Path()).size(), 1u);
}

TEST(AtomicFile, SpecialFileIsNotReplaced)
{
    // A pipe stands for /dev/null, /dev/full and the like, which root could
    // otherwise turn into plain files.
    TempDir dir;
    const wxString path = dir.File("pipe.gif");
    ASSERT_EQ(::mkfifo(path.fn_str(), 0600), 0);
    wxString error;
    bool called = false;
    EXPECT_FALSE(WriteFileAtomically(path, [&](wxOutputStream&) { return called = true; }, &error));
    EXPECT_FALSE(called);
    struct stat info;
    ASSERT_EQ(::stat(path.fn_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_NE(error.Find("not a regular file"), wxNOT_FOUND) << error;
    EXPECT_EQ(FilesIn(dir.Path()).size(), 1u);
}
