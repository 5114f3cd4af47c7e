#pragma once

// The main window holding frames made from pictures written to the test's
// folder, with the save thread's progress recorded, for the tests of Save,
// Save As and the project files.

#include "file_bytes.h"
#include "giflib_read.h"
#include "main_window.h"
#include "modal_hooks.h"

#include <vector>

class SaveWindowTest : public MainWindowTest {
protected:
    void SetUp() override;

    // Writes `count` pictures of width x height with distinct colours and
    // appends them to the strip.
    void AddFrames(int count, int width, int height);
    // Appends frame `frameIndex` of the picture file `path`.
    void AddPicture(const wxString& path, int frameIndex = 0);
    // Types the delay, the output width and height into their controls.
    void SetOutput(int delay, int width, int height);

    // Run a command and wait until its save (if it started one) has ended.
    void Save();
    void SaveAs();
    // Save answered with the test folder's file `name`; returns its path.
    wxString SaveFirstAs(const char* name);

    std::vector<int> m_progress;
    int m_finishedEvents = 0;
};

using ProjectWindowTest = SaveWindowTest;
