#include "decode/frame_loader.h"

#include "decode/jpeg_reduced.h"
#include "decode/picture_format.h"
#include "decode/picture_loader.h"

#include <new>
#include <vector>

namespace {

wxImage ScaleTo(const wxImage& picture, const wxSize& size)
{
    if (!picture.IsOk() || size.x <= 0 || size.y <= 0)
        return wxImage();
    if (picture.GetSize() == size)
        return picture;
    return picture.Scale(size.x, size.y, wxIMAGE_QUALITY_NORMAL);
}

wxSize ThumbnailSizeFor(const ThumbnailSizeRule& rule, const wxSize& full)
{
    return rule ? rule(full) : wxSize(0, 0);
}

// The size a PNG or JPEG header declares, when the picture would be accepted.
bool ReadHeaderSize(const unsigned char* data, size_t size, wxSize& out)
{
    DeclaredSize declared;
    switch (SniffPictureFormat(data, size)) {
    case PictureFormat::Png:
        if (!ReadPngSize(data, size, declared) || !PngChunksFitFile(data, size))
            return false;
        break;
    case PictureFormat::Jpeg: {
        JpegFrameInfo frame;
        if (!ReadJpegFrame(data, size, frame))
            return false;
        declared = frame.size;
        break;
    }
    default:
        return false;
    }
    if (!IsAcceptablePictureSize(declared))
        return false;
    out = wxSize(static_cast<int>(declared.width), static_cast<int>(declared.height));
    return true;
}

int LoadStill(const wxString& file, const std::vector<unsigned char>& bytes, const ThumbnailSizeRule& rule,
              const LoadedFrameSink& sink)
{
    FileFingerprint fingerprint;
    if (!StatFile(file, fingerprint))
        return 0;
    fingerprint.size = static_cast<long long>(bytes.size());
    fingerprint.contentHash = HashBytes(bytes.data(), bytes.size());

    LoadedFrame frame;
    wxSize declared;
    const bool fromHeader = ReadHeaderSize(bytes.data(), bytes.size(), declared);
    if (fromHeader && !rule) {
        frame.size = declared;
    } else {
        // A JPEG's thumbnail needs only a reduced decode; anything else, and a
        // JPEG the reduced decoder refuses, is decoded whole once.
        wxImage picture;
        if (fromHeader) {
            const wxSize wanted = ThumbnailSizeFor(rule, declared);
            if (wanted.x > 0 && wanted.y > 0)
                picture = DecodeStillPicture(bytes.data(), bytes.size(), wanted);
        }
        if (!picture.IsOk())
            picture = DecodeStillPicture(bytes.data(), bytes.size());
        if (!picture.IsOk())
            return 0;
        frame.size = fromHeader ? declared : picture.GetSize();
        frame.thumbnail = ScaleTo(picture, ThumbnailSizeFor(rule, frame.size));
    }
    frame.source = MakeFileFrameSource(file, frame.size, fingerprint);
    sink(std::move(frame));
    return 1;
}

} // namespace

int LoadFrames(const wxString& path, const ThumbnailSizeRule& thumbnailSize, const LoadedFrameSink& sink)
{
    const PicturePath resolved = ResolvePicturePath(path);
    std::vector<unsigned char> bytes;
    try {
        if (!ReadPictureFile(resolved.file, bytes))
            return 0;
        if (resolved.read == PictureRead::StillPicture)
            return LoadStill(resolved.file, bytes, thumbnailSize, sink);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return LoadPicturesFromMemory(bytes.data(), bytes.size(), resolved.read, resolved.frame,
                                  [&](wxImage&& picture, int index) {
                                      LoadedFrame frame;
                                      frame.frameIndex = index;
                                      frame.delayCs = PictureDelayCs(picture);
                                      frame.size = picture.GetSize();
                                      frame.thumbnail = ScaleTo(picture, ThumbnailSizeFor(thumbnailSize, frame.size));
                                      frame.source = MakeHeldFrameSource(picture);
                                      return sink(std::move(frame));
                                  });
}
