#include "giflib_read.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {
// The NETSCAPE2.0 application extension carries the loop count.
constexpr int kAppIdentifierBytes = 11;
constexpr int kLoopBlockBytes = 3;

struct Reader {
    const Bytes* bytes;
    std::size_t offset;
};

int ReadFromBytes(GifFileType* gif, GifByteType* out, int size)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(size, reader->bytes->size() - reader->offset);
    if (n > 0) // an empty file has no data pointer to copy from
        std::memcpy(out, reader->bytes->data() + reader->offset, n);
    reader->offset += n;
    return int(n);
}
} // namespace

std::vector<int> GiflibFile::Delays() const
{
    std::vector<int> delays;
    for (const GiflibFrame& frame : frames)
        delays.push_back(frame.delayCs);
    return delays;
}

GiflibFile DecodeWithGiflib(const Bytes& bytes)
{
    Reader reader{&bytes, 0};
    GiflibFile file;
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromBytes, &error);
    if (gif == nullptr)
        return file;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return file;
    }
    file.ok = true;
    file.screenWidth = gif->SWidth;
    file.screenHeight = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        GiflibFrame frame;
        frame.left = saved.ImageDesc.Left;
        frame.top = saved.ImageDesc.Top;
        frame.width = saved.ImageDesc.Width;
        frame.height = saved.ImageDesc.Height;
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
            frame.delayCs = gcb.DelayTime;
            frame.transparentIndex = gcb.TransparentColor;
            frame.disposal = gcb.DisposalMode;
        }
        for (int e = 0; e + 1 < saved.ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = saved.ExtensionBlocks[e];
            const ExtensionBlock& data = saved.ExtensionBlocks[e + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == kAppIdentifierBytes &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", kAppIdentifierBytes) == 0 &&
                data.ByteCount == kLoopBlockBytes)
                file.loopCount = data.Bytes[1] | (data.Bytes[2] << 8);
        }
        frame.localTable = saved.ImageDesc.ColorMap != nullptr;
        const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        const int pixels = frame.width * frame.height;
        frame.indices.assign(saved.RasterBits, saved.RasterBits + pixels);
        for (int p = 0; p < pixels; ++p) {
            const GifColorType& c = map->Colors[saved.RasterBits[p]];
            frame.rgb.insert(frame.rgb.end(), {c.Red, c.Green, c.Blue});
        }
        file.frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return file;
}

GiflibFile DecodeGifFile(const wxString& path)
{
    return DecodeWithGiflib(ReadFileBytes(path));
}

std::vector<Bytes> ComposeGiflibFrames(const GiflibFile& file)
{
    std::vector<Bytes> shown;
    Bytes screen(std::size_t(file.screenWidth) * file.screenHeight * 3, 0);
    for (const GiflibFrame& frame : file.frames) {
        if (frame.disposal > DISPOSE_DO_NOT || frame.left + frame.width > file.screenWidth ||
            frame.top + frame.height > file.screenHeight)
            return {};
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const std::size_t from = std::size_t(y) * frame.width + x;
                if (frame.indices[from] == frame.transparentIndex)
                    continue;
                const std::size_t to = (std::size_t(frame.top + y) * file.screenWidth + frame.left + x) * 3;
                std::memcpy(&screen[to], &frame.rgb[from * 3], 3);
            }
        shown.push_back(screen);
    }
    return shown;
}
