#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

#include <cstdint>
#include <memory>

// Where a frame's full-size pixels come back from when they are needed (the
// preview, a save): a list of frames keeps only thumbnails and these. Sources
// are immutable, so frames that share one (a duplicated frame, an undo step)
// share it by pointer, and any thread may decode from it.
class FrameSource {
public:
    virtual ~FrameSource();

    // The frame's size, known without decoding.
    virtual wxSize GetSize() const = 0;
    // The frame's pixels, decoded anew; invalid when the source can no longer
    // give the picture that was seen when the frame was added. A picture no
    // smaller than `atLeast` may stand in for the full size where that is
    // cheaper (the preview shows frames scaled down); (0, 0) asks for the
    // full size.
    virtual wxImage Decode(const wxSize& atLeast = wxSize(0, 0)) const = 0;
    // A cheap check that the source still holds what was added (for a file:
    // its size and time); Decode checks the content itself.
    virtual bool IsIntact() const = 0;
};

using FrameSourcePtr = std::shared_ptr<const FrameSource>;

// What a still picture's file was when it was added.
struct FileFingerprint {
    long long size = -1;
    long long modified = 0;
    std::uint64_t contentHash = 0;
};

// A still picture decoded again from its file, which must still have the
// fingerprint taken when it was added.
FrameSourcePtr MakeFileFrameSource(const wxString& path, const wxSize& size, const FileFingerprint& fingerprint);

// A picture with no file that can give it back (a GIF's composited frame, an
// edited picture), held losslessly compressed: colours, alpha and mask colour.
FrameSourcePtr MakeHeldFrameSource(const wxImage& picture);

// The content hash kept in a fingerprint.
std::uint64_t HashBytes(const unsigned char* data, size_t size);
// The file's size and modification time; false when it cannot be read.
bool StatFile(const wxString& path, FileFingerprint& fingerprint);
