#pragma once

// Reading GIF bytes back with two independent decoders, and building palette
// images, for the engine's tests.

#include "encode/gif_blocks.h"

#include <gif_lib.h>
#include <wx/anidecod.h>
#include <wx/gifdecod.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Collects what the GIF writer sends to CurrentGifStream while it lives.
class CapturedGifStream {
public:
    CapturedGifStream() { CurrentGifStream = &m_stream; }
    ~CapturedGifStream() { CurrentGifStream = nullptr; }
    Bytes Data() const
    {
        Bytes bytes(m_stream.GetLength());
        if (!bytes.empty())
            m_stream.CopyTo(bytes.data(), bytes.size());
        return bytes;
    }

private:
    wxMemoryOutputStream m_stream;
};

// Accepts `limit` bytes, then takes nothing more and counts the attempts.
class FailingOutputStream : public wxOutputStream {
public:
    explicit FailingOutputStream(std::size_t limit) : m_limit(limit) {}
    std::size_t Written() const { return m_written; }
    int WritesAfterFailure() const { return m_writesAfterFailure; }

protected:
    size_t OnSysWrite(const void*, size_t size) override
    {
        if (m_failed) {
            ++m_writesAfterFailure;
            return 0;
        }
        const std::size_t taken = std::min(size, m_limit - m_written);
        m_written += taken;
        if (taken < size) {
            m_failed = true;
            m_lasterror = wxSTREAM_WRITE_ERROR;
        }
        return taken;
    }

private:
    std::size_t m_limit;
    std::size_t m_written = 0;
    bool m_failed = false;
    int m_writesAfterFailure = 0;
};

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline Bytes Text(const char* text)
{
    return Bytes(text, text + std::strlen(text));
}

// An RGB image whose palette lists `colours` and whose pixels are
// colours[pixelIndices[i]], row by row.
inline wxImage PaletteImage(int width, int height, const std::vector<GifRgb>& colours,
                            const std::vector<int>& pixelIndices)
{
    wxImage image(width, height, false);
    unsigned char* rgb = image.GetData();
    for (int i = 0; i < width * height; ++i) {
        const GifRgb& c = colours[pixelIndices[i % pixelIndices.size()]];
        rgb[i * 3] = c.red;
        rgb[i * 3 + 1] = c.green;
        rgb[i * 3 + 2] = c.blue;
    }
    std::vector<unsigned char> r, g, b;
    for (const GifRgb& c : colours) {
        r.push_back(c.red);
        g.push_back(c.green);
        b.push_back(c.blue);
    }
    image.SetPalette(wxPalette(int(colours.size()), r.data(), g.data(), b.data()));
    return image;
}

// `count` distinct colours.
inline std::vector<GifRgb> DistinctColours(int count)
{
    std::vector<GifRgb> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                           static_cast<unsigned char>(i * 7)});
    return colours;
}

inline bool SamePixels(const wxImage& a, const wxImage& b)
{
    return a.GetSize() == b.GetSize() &&
           std::memcmp(a.GetData(), b.GetData(), std::size_t(a.GetWidth()) * a.GetHeight() * 3) == 0;
}

// One frame as giflib reads it: its size, delay and the RGB of every pixel.
struct GiflibFrame {
    int left = 0, top = 0, width = 0, height = 0;
    int delayCs = -1;
    int transparentIndex = -1;
    std::vector<std::uint8_t> rgb;
};

struct GiflibFile {
    bool ok = false;
    int screenWidth = 0, screenHeight = 0;
    int loopCount = -1; // -1 when there is no NETSCAPE2.0 extension
    std::vector<GiflibFrame> frames;
};

inline GiflibFile DecodeWithGiflib(const Bytes& bytes)
{
    struct Reader {
        const Bytes* bytes;
        std::size_t offset;
    } reader{&bytes, 0};
    auto read = [](GifFileType* gif, GifByteType* out, int size) -> int {
        auto* r = static_cast<Reader*>(gif->UserData);
        const std::size_t n = std::min<std::size_t>(size, r->bytes->size() - r->offset);
        std::memcpy(out, r->bytes->data() + r->offset, n);
        r->offset += n;
        return int(n);
    };
    GiflibFile file;
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
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
        }
        for (int e = 0; e + 1 < saved.ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = saved.ExtensionBlocks[e];
            const ExtensionBlock& data = saved.ExtensionBlocks[e + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3)
                file.loopCount = data.Bytes[1] | (data.Bytes[2] << 8);
        }
        const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        const int pixels = frame.width * frame.height;
        for (int p = 0; p < pixels; ++p) {
            const GifColorType& c = map->Colors[saved.RasterBits[p]];
            frame.rgb.insert(frame.rgb.end(), {c.Red, c.Green, c.Blue});
        }
        file.frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return file;
}

inline bool SameRgb(const GiflibFrame& frame, const wxImage& image)
{
    return frame.width == image.GetWidth() && frame.height == image.GetHeight() &&
           std::memcmp(frame.rgb.data(), image.GetData(), frame.rgb.size()) == 0;
}

// Every frame through the toolkit's own GIF decoder.
struct WxDecodedGif {
    bool ok = false;
    std::vector<wxImage> frames;
    std::vector<long> delaysMs;
};

inline WxDecodedGif DecodeWithWx(const Bytes& bytes)
{
    WxDecodedGif result;
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxGIFDecoder decoder;
    if (decoder.LoadGIF(in) != wxGIF_OK)
        return result;
    result.ok = true;
    for (unsigned int i = 0; i < decoder.GetFrameCount(); ++i) {
        wxImage frame;
        decoder.ConvertToImage(i, &frame);
        result.frames.push_back(frame);
        result.delaysMs.push_back(decoder.GetDelay(i));
    }
    return result;
}
