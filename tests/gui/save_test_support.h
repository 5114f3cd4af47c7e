#pragma once

// A real main window holding frames made from pictures written to a temporary
// folder, with helpers that run a save to its end and read GIF files back
// with giflib.

#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/string.h>

#include <memory>
#include <string>
#include <vector>

class GifFrame;
class wxCommandEvent;

using Bytes = std::vector<unsigned char>;

Bytes ReadBytes(const wxString& path);
void WriteBytes(const wxString& path, const Bytes& bytes);

// What giflib reads from a GIF file.
struct DecodedGif {
    bool ok = false;
    int width = 0;
    int height = 0;
    int frames = 0;
    std::vector<int> delays; // hundredths of a second, per frame
};
DecodedGif DecodeGif(const wxString& path);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `count` pictures of width x height with distinct colours and
    // appends them to the strip.
    void AddFrames(int count, int width, int height);
    // Appends frame `frameIndex` of the picture file `path`.
    void AddPicture(const wxString& path, int frameIndex = 0);
    // Sets the delay and output size as the user would see them.
    void SetOutput(int delay, int width, int height);

    // Run a command and wait until its save (if it started one) has ended.
    void Save();
    void SaveAs();
    void WaitForSave();
    // Waits until a load of pictures has ended.
    void WaitForLoad();

    GifFrame* m_frame = nullptr;
    TempDir m_dir;
    std::vector<int> m_progress;
    int m_finishedEvents = 0;
};

using SaveWindowTest = MainWindowTest;
using ProjectWindowTest = MainWindowTest;
