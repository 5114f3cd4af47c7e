#include "video/video_loader.h"

#include "video/video_clip.h"
#include "video/video_selection.h"

#include <wx/filefn.h>

int LoadClipFrames(const ClipName& clip, const ThumbnailSizeRule& thumbnailSize, const LoadedFrameSink& sink)
{
    const VideoClipPtr open = VideoClip::Open(clip.file);
    if (!open)
        return 0;
    std::vector<long long> times;
    if (clip.fps > 0)
        times = ClipFrameTimes(clip.fromMs, clip.toMs, clip.fps, open->Info().endMs);
    else if (clip.fromMs < open->Info().endMs)
        times.push_back(clip.fromMs);
    open->ExpectFrames(times);

    // A range's frames play at the clip's speed.
    const std::vector<int> delays = clip.fps > 0 ? ClipFrameDelays(times.size(), clip.fps) : std::vector<int>();
    int delivered = 0;
    const wxSize size = open->Info().size;
    const wxSize thumbnail = thumbnailSize ? thumbnailSize(size) : wxSize(0, 0);
    for (long long ms : times) {
        LoadedFrame frame;
        frame.frameIndex = static_cast<int>(ms);
        frame.size = size;
        if (!delays.empty())
            frame.delayCs = delays[static_cast<std::size_t>(delivered)];
        if (thumbnail.x > 0 && thumbnail.y > 0) {
            const wxImage picture = open->FrameAt(ms, thumbnail);
            if (!picture.IsOk())
                break;
            frame.thumbnail = picture.GetSize() == thumbnail
                                  ? picture
                                  : picture.Scale(thumbnail.x, thumbnail.y, wxIMAGE_QUALITY_NORMAL);
        }
        frame.source = MakeClipFrameSource(open, ms);
        ++delivered;
        if (!sink(std::move(frame)))
            break;
    }
    return delivered;
}

int LoadMediaFrames(const wxString& path, const ThumbnailSizeRule& thumbnailSize, const LoadedFrameSink& sink)
{
    ClipName clip;
    // A file whose own name looks like a clip name is still that file.
    if (ParseClipName(path, clip) && !wxFileExists(path))
        return LoadClipFrames(clip, thumbnailSize, sink);
    return LoadFrames(path, thumbnailSize, sink);
}
