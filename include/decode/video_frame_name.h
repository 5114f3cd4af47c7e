#pragma once

#include <wx/string.h>

// Frames taken from a video clip are named after the clip followed by a
// temporal fragment in the form of W3C Media Fragments, "clip.mp4#t=12.345"
// (seconds, to the millisecond). A project stores these names; readers that
// predate clips find no file of that name and pass the entry over.
//
// The same form with a range and a rate, "clip.mp4#t=1.5,4&fps=10", asks a
// loader for every frame from 1.5 s up to (not including) 4 s at 10 frames per
// second; without an end, "clip.mp4#t=1.5&fps=10", up to the clip's end.
struct ClipName {
    wxString file;
    long long fromMs = 0;
    long long toMs = -1; // -1: the end of the clip
    double fps = 0;      // 0: one frame, at fromMs
};

// Reads a clip frame or range name; false for any other name.
bool ParseClipName(const wxString& name, ClipName& out);

// The name of the clip's frame at `ms`.
wxString ClipFrameName(const wxString& file, long long ms);

// The name that asks for the frames of a range.
wxString ClipRangeName(const wxString& file, long long fromMs, long long toMs, double fps);

// A time written as seconds ("12.5"), minutes and seconds ("1:02.5") or
// hours, minutes and seconds ("1:00:02"), to the millisecond; false for
// anything else.
bool ParseClipTime(const wxString& text, long long& ms);

// A time as the names write it: seconds with up to three decimals.
wxString FormatClipTime(long long ms);
