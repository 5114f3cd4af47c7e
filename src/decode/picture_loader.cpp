#include "decode/picture_loader.h"

#include "decode/bmp_decode.h"
#include "decode/gif_decode.h"
#include "decode/gif_frame_name.h"
#include "decode/jpeg_reduced.h"
#include "decode/picture_format.h"
#include "decode/webp_decode.h"

#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/imagjpeg.h>
#include <wx/imagpng.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <new>
#include <vector>

namespace {

// JPEG decoders keep every coefficient of the picture in memory when it comes
// in several scans (always for progressive files, and for baseline files
// whose components come in separate scans, which the header does not tell).
constexpr long long kMaxJpegCoefficientBytes = 512LL * 1024 * 1024;

// Only regular files: opening a FIFO or a device could block or never end.
bool IsRegularFile(const wxString& path)
{
    wxStructStat info;
    return wxStat(path, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

bool ReadPictureFile(const wxString& path, std::vector<unsigned char>& bytes)
{
    wxFile file;
    if (!IsRegularFile(path) || !file.Open(path, wxFile::read))
        return false;
    const wxFileOffset length = file.Length();
    if (length <= 0 || length > kMaxPictureFileBytes)
        return false;
    bytes.resize(static_cast<size_t>(length));
    return file.Read(bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

namespace {

bool IsAcceptable(PictureFormat format, const unsigned char* data, size_t size)
{
    DeclaredSize declared;
    switch (format) {
    case PictureFormat::Png:
        return ReadPngSize(data, size, declared) && IsAcceptablePictureSize(declared)
            && PngChunksFitFile(data, size);
    case PictureFormat::Jpeg: {
        JpegFrameInfo frame;
        return ReadJpegFrame(data, size, frame) && IsAcceptablePictureSize(frame.size)
            && frame.coefficientBytes <= kMaxJpegCoefficientBytes;
    }
    default:
        return false;
    }
}

// Decodes with a handler object of our own rather than through the toolkit's
// global handler list, which picks a decoder by content from all it knows.
int LoadWithHandler(wxImageHandler& handler, const unsigned char* data, size_t size, const PictureSink& sink)
{
    wxLogNull quiet;
    wxMemoryInputStream stream(data, size);
    wxImage picture;
    if (!handler.LoadFile(&picture, stream, false) || !picture.IsOk())
        return 0;
    sink(std::move(picture), 0);
    return 1;
}

int LoadStillPicture(const unsigned char* data, size_t size, const PictureSink& sink)
{
    const PictureFormat format = SniffPictureFormat(data, size);
    switch (format) {
    case PictureFormat::Gif:
        return DecodeGifPictures(data, size, 0, sink);
    case PictureFormat::Bmp:
        return DecodeBmpPicture(data, size, sink);
    case PictureFormat::WebP:
        return DecodeWebPPicture(data, size, sink);
    case PictureFormat::Png: {
        if (!IsAcceptable(format, data, size))
            return 0;
        wxPNGHandler png;
        return LoadWithHandler(png, data, size, sink);
    }
    case PictureFormat::Jpeg: {
        if (!IsAcceptable(format, data, size))
            return 0;
        wxJPEGHandler jpeg;
        return LoadWithHandler(jpeg, data, size, sink);
    }
    case PictureFormat::Unknown:
        break;
    }
    return 0;
}

} // namespace

const char kPictureDelayOption[] = "GifMakerDelayCs";

int PictureDelayCs(const wxImage& picture)
{
    return picture.IsOk() && picture.HasOption(kPictureDelayOption) ? picture.GetOptionInt(kPictureDelayOption)
                                                                     : -1;
}

int LoadPicturesFromMemory(const unsigned char* data, size_t size, PictureRead read, int frameIndex,
                           const PictureSink& sink)
{
    if (!data || size == 0)
        return 0;
    int delivered = 0;
    const PictureSink counting = [&](wxImage&& picture, int index) {
        ++delivered;
        return sink(std::move(picture), index);
    };
    try {
        switch (read) {
        case PictureRead::AllGifFrames:
            DecodeGifPictures(data, size, -1, counting);
            break;
        case PictureRead::OneGifFrame:
            if (frameIndex >= 0)
                DecodeGifPictures(data, size, frameIndex, counting);
            break;
        case PictureRead::StillPicture:
            LoadStillPicture(data, size, counting);
            break;
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: what was delivered stands, the rest is dropped.
    }
    return delivered;
}

wxImage DecodeStillPicture(const unsigned char* data, size_t size, const wxSize& atLeast)
{
    wxImage result;
    const PictureSink keep = [&](wxImage&& picture, int) {
        result = std::move(picture);
        return false;
    };
    try {
        if (atLeast.x > 0 && atLeast.y > 0 && SniffPictureFormat(data, size) == PictureFormat::Jpeg
            && IsAcceptable(PictureFormat::Jpeg, data, size)) {
            result = DecodeJpegReduced(data, size, atLeast);
            if (result.IsOk())
                return result;
        }
        LoadStillPicture(data, size, keep);
    } catch (const std::bad_alloc&) {
        return wxImage();
    }
    return result;
}

PicturePath ResolvePicturePath(const wxString& path)
{
    PicturePath resolved;
    resolved.frame = GifFrameNumberFromName(path);
    resolved.file = GifFrameSourcePath(path);
    // A file whose own name merely looks like a frame name ("a.gif_files/b.png")
    // is that file, not a frame of a GIF that does not exist.
    if (resolved.frame >= 0 && !wxFileExists(resolved.file) && wxFileExists(path)) {
        resolved.frame = -1;
        resolved.file = path;
    }
    if (resolved.frame >= 0)
        resolved.read = PictureRead::OneGifFrame;
    else if (HasGifExtension(resolved.file))
        resolved.read = PictureRead::AllGifFrames;
    return resolved;
}

int LoadPictures(const wxString& path, const PictureSink& sink)
{
    const PicturePath resolved = ResolvePicturePath(path);
    std::vector<unsigned char> bytes;
    try {
        wxLogNull quiet;
        if (!ReadPictureFile(resolved.file, bytes))
            return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return LoadPicturesFromMemory(bytes.data(), bytes.size(), resolved.read, resolved.frame, sink);
}

wxImage* TakePicture(wxImage& picture)
{
    auto* taken = new wxImage(picture);
    picture = wxImage();
    return taken;
}
