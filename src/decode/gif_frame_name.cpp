#include "decode/gif_frame_name.h"

#include "io/wtoi.h"

namespace {
const wxString kFrameMarker = ".gif_";

bool IsFrameName(const wxString& name)
{
    const int pos = name.Find(kFrameMarker);
    return pos != wxNOT_FOUND && pos > 0;
}
} // namespace

int GifFrameNumberFromName(const wxString& name)
{
    if (!IsFrameName(name))
        return -1;
    wxString tail = name.Right(3);
    if (tail.Contains("_")) {
        tail = name.Right(2);
        if (tail.StartsWith("_"))
            tail = name.Right(1);
    }
    return WToI(tail);
}

wxString GifFrameSourcePath(const wxString& name)
{
    if (!IsFrameName(name))
        return name;
    wxString candidate = name.Left(name.length() - 2);
    if (candidate.Contains(kFrameMarker)) {
        candidate = name.Left(name.length() - 3);
        if (candidate.Contains(kFrameMarker))
            candidate = name.Left(name.length() - 4);
    }
    return candidate;
}

wxString GifFrameName(const wxString& path, int index)
{
    return wxString::Format("%s_%d", path, index);
}

bool HasGifExtension(const wxString& path)
{
    return path.EndsWith(".gif");
}
