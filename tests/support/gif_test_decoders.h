#pragma once

// The engine's GIF bytes captured and read back through the toolkit's decoder
// (giflib's is in giflib_read.h), and palette images built, for the engine's
// tests.

#include "encode/gif_blocks.h"
#include "file_bytes.h"
#include "giflib_read.h"

#include <wx/anidecod.h>
#include <wx/gifdecod.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

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
