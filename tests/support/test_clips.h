#pragma once

#include <wx/image.h>
#include <wx/string.h>

#include <string>
#include <vector>

// Clips made for a test by the ffmpeg program, and frames it extracts from
// them as references.

// Runs ffmpeg with `arguments` (after -y and the quiet options) writing
// `output`; true when it succeeded.
bool RunFfmpeg(const std::vector<std::string>& arguments, const wxString& output);

// A test pattern (the testsrc source, which draws a frame counter) of the
// given size, rate and length, encoded with `codec` (e.g. "libx264") into
// `output`, whose ending picks the container. `extra` goes before the output.
bool MakePatternClip(const wxString& output, const std::string& size, const std::string& rate, double seconds,
                     const std::string& codec, const std::vector<std::string>& extra = {});

// An animated WebP of ffmpeg's test pattern at `size`, one frame per entry of
// `durationsMs` shown that long, encoded losslessly with libwebp (ffmpeg's
// own encoder leaves every frame whole, libwebp's stores the changed part);
// `frames` gets the pictures encoded. `work` is a folder for ffmpeg's pictures.
bool MakePatternWebP(const wxString& output, const std::string& size, const std::vector<int>& durationsMs,
                     const wxString& work, std::vector<wxImage>& frames);

// Writes into the first track header of an MP4 or QuickTime clip the display
// matrix of a phone held upright (frames shown a quarter turn clockwise),
// which the ffmpeg program of Debian 12 cannot write itself.
bool TurnClipQuarterClockwise(const wxString& clip);

// Every frame of the clip as ffmpeg decodes and shows it (rotation applied),
// none dropped or repeated; `work` is a folder for its pictures.
std::vector<wxImage> FfmpegFrames(const wxString& clip, const wxString& work);

// The mean absolute difference of two pictures' colour channels; a large
// number when their sizes differ.
double MeanAbsoluteDifference(const wxImage& a, const wxImage& b);
