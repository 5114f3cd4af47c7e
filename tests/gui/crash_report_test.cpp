// A fatal signal in the running program leaves a compressed report in a kept
// folder, tells the user where it is and shows that folder.
#include "child_process.h"
#include "file_bytes.h"
#include "home_override.h"
#include "program_paths.h"
#include "test_paths.h"
#include "x11_windows.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/regex.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace {
// The single folder that the report made under `parent`, or empty.
wxString ReportFolderIn(const wxString& parent)
{
    wxDir dir(parent);
    wxString name;
    wxString found;
    int count = 0;
    for (bool more = dir.GetFirst(&name, "*dbgrpt*", wxDIR_DIRS); more; more = dir.GetNext(&name)) {
        found = parent + "/" + name;
        ++count;
    }
    return count == 1 ? found : wxString();
}

std::set<wxString> ZipEntries(const wxString& path)
{
    std::set<wxString> names;
    wxFFileInputStream file(path);
    wxZipInputStream zip(file);
    while (std::unique_ptr<wxZipEntry> entry{zip.GetNextEntry()})
        names.insert(entry->GetName());
    return names;
}

bool WaitForFile(const wxString& path)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProgramTimeoutMs);
    while (!wxFileExists(path) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return wxFileExists(path);
}

// Stands in for the desktop's file manager: records what it was asked to show.
void WriteFakeOpener(const wxString& folder, const wxString& record)
{
    const wxString script = folder + "/xdg-open";
    WriteFileText(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + Utf8(record) + "'\n");
    chmod(script.utf8_str(), 0755);
}
} // namespace

TEST(CrashReport, FatalSignalLeavesTheReportAndShowsItsFolder)
{
    TempDir home;
    TempDir temp;
    TempDir tools;
    TempDir output;
    const wxString opened = output.File("opened.txt");
    WriteFakeOpener(tools.Path(), opened);
    const char* path = std::getenv("PATH");

    ChildProcess program;
    ASSERT_TRUE(program.Start({BuiltProgram()},
                              {"HOME=" + Utf8(home.Path()), "TMPDIR=" + Utf8(temp.Path()),
                               "PATH=" + Utf8(tools.Path()) + ":" + (path ? path : "")},
                              Utf8(output.File("output.txt"))));
    ASSERT_NE(WaitForProcessWindow(program.Pid(), kMainWindowTitle, kProgramTimeoutMs), 0u);

    // The report is written from inside the signal handler; a signal that
    // lands inside the allocator would deadlock it, so pick a quiet moment.
    ASSERT_TRUE(program.WaitUntilIdle(kProgramTimeoutMs));
    const std::set<X11Window> before = ProcessWindows(program.Pid());
    program.Signal(SIGSEGV);
    const X11Window box = WaitForNewProcessWindow(program.Pid(), before, kProgramTimeoutMs);
    ASSERT_NE(box, 0u) << ReadFileText(output.File("output.txt"));

    // While the message is shown the report is complete.
    const wxString folder = ReportFolderIn(temp.Path());
    ASSERT_FALSE(folder.empty());
    const wxString stamp = ReadFileText(folder + "/timestamp.my");
    EXPECT_TRUE(wxRegEx("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$").Matches(stamp))
        << stamp;
    const wxString zip = folder + "/" + wxFileName(folder).GetFullName() + ".zip";
    ASSERT_TRUE(wxFileExists(zip));
    EXPECT_EQ(ZipEntries(zip).count("timestamp.my"), 1u);

    ASSERT_TRUE(RequestWindowClose(box));
    ASSERT_TRUE(program.WaitForExit(kProgramTimeoutMs));
    EXPECT_FALSE(program.Exited() && program.ExitCode() == 0);

    EXPECT_TRUE(wxFileExists(folder + "/timestamp.my"));
    EXPECT_TRUE(wxFileExists(zip));
    // The file manager is started without waiting for it and may still be on
    // its way when the program has ended.
    EXPECT_TRUE(WaitForFile(opened));
    EXPECT_EQ(wxString(ReadFileText(opened)), folder);
}
