#include "decode/bmp_decode.h"

#include "decode/bmp_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kRgbBytes = 3;
constexpr uint8_t kOpaque = 255;

// RLE escape codes (second byte after a zero count).
constexpr uint8_t kRleEndOfLine = 0;
constexpr uint8_t kRleEndOfBitmap = 1;
constexpr uint8_t kRleDelta = 2;

// One colour channel of a bit-field pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0; // the largest value after shifting

    explicit Channel(uint32_t m = 0)
        : mask(m)
    {
        if (!mask)
            return;
        while (!((mask >> shift) & 1))
            ++shift;
        max = mask >> shift;
    }
    uint8_t Read(uint32_t pixel) const
    {
        if (!max)
            return 0;
        const uint64_t value = (pixel & mask) >> shift;
        return static_cast<uint8_t>((value * 255 + max / 2) / max);
    }
};

bool IsContiguous(uint32_t mask)
{
    if (!mask)
        return true;
    while (!(mask & 1))
        mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

// The picture being built: RGB rows top to bottom, alpha only on request.
class BmpPicture {
public:
    BmpPicture(const BmpHeader& header)
        : m_header(header)
        , m_width(static_cast<int>(header.width))
        , m_height(static_cast<int>(header.height))
    {
        const size_t count = static_cast<size_t>(m_width) * m_height;
        m_rgb = static_cast<unsigned char*>(std::calloc(count, kRgbBytes));
        if (header.hasAlpha)
            m_alpha = static_cast<unsigned char*>(std::malloc(count));
        if (m_alpha)
            std::memset(m_alpha, kOpaque, count);
    }
    ~BmpPicture()
    {
        std::free(m_rgb);
        std::free(m_alpha);
    }
    BmpPicture(const BmpPicture&) = delete;
    BmpPicture& operator=(const BmpPicture&) = delete;

    bool IsOk() const { return m_rgb && (!m_header.hasAlpha || m_alpha); }

    // Row `fileRow` in the order the file stores rows.
    size_t Offset(int fileRow, int x) const
    {
        const int y = m_header.topDown ? fileRow : m_height - 1 - fileRow;
        return static_cast<size_t>(y) * m_width + x;
    }

    void SetIndex(int fileRow, int x, unsigned index)
    {
        uint8_t* rgb = m_rgb + Offset(fileRow, x) * kRgbBytes;
        if (index < m_header.palette.size()) {
            const BmpColour& c = m_header.palette[index];
            rgb[0] = c.red;
            rgb[1] = c.green;
            rgb[2] = c.blue;
        } else {
            rgb[0] = rgb[1] = rgb[2] = 0; // past the palette: black
        }
    }

    void SetColour(int fileRow, int x, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
    {
        const size_t at = Offset(fileRow, x);
        m_rgb[at * kRgbBytes] = r;
        m_rgb[at * kRgbBytes + 1] = g;
        m_rgb[at * kRgbBytes + 2] = b;
        if (m_alpha)
            m_alpha[at] = a;
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    wxImage Release()
    {
        wxImage picture(m_width, m_height, m_rgb);
        m_rgb = nullptr;
        if (m_alpha) {
            const size_t count = static_cast<size_t>(m_width) * m_height;
            // Files that fill the alpha field with zeros mean no alpha at all.
            if (std::any_of(m_alpha, m_alpha + count, [](uint8_t a) { return a != 0; }))
                picture.SetAlpha(m_alpha);
            else
                std::free(m_alpha);
            m_alpha = nullptr;
        }
        return picture;
    }

private:
    const BmpHeader& m_header;
    int m_width;
    int m_height;
    unsigned char* m_rgb = nullptr;
    unsigned char* m_alpha = nullptr;
};

bool DecodeUncompressed(const unsigned char* data, size_t size, const BmpHeader& h, BmpPicture& picture)
{
    const uint64_t stride = ((static_cast<uint64_t>(h.width) * h.bitsPerPixel + 31) / 32) * 4;
    if (h.pixelOffset > size || stride * h.height > size - h.pixelOffset)
        return false; // cut short
    const Channel red(h.redMask), green(h.greenMask), blue(h.blueMask), alpha(h.alphaMask);
    const int bpp = h.bitsPerPixel;
    for (int row = 0; row < picture.Height(); ++row) {
        const unsigned char* p = data + h.pixelOffset + stride * row;
        for (int x = 0; x < picture.Width(); ++x) {
            if (bpp <= 8) {
                const int perByte = 8 / bpp;
                const int shift = 8 - bpp * (x % perByte + 1);
                picture.SetIndex(row, x, (p[x / perByte] >> shift) & ((1u << bpp) - 1));
                continue;
            }
            uint32_t pixel = 0;
            if (bpp == 16)
                pixel = p[x * 2] | (p[x * 2 + 1] << 8);
            else if (bpp == 24)
                pixel = p[x * 3] | (p[x * 3 + 1] << 8) | (uint32_t(p[x * 3 + 2]) << 16);
            else
                pixel = p[x * 4] | (p[x * 4 + 1] << 8) | (uint32_t(p[x * 4 + 2]) << 16) | (uint32_t(p[x * 4 + 3]) << 24);
            picture.SetColour(row, x, red.Read(pixel), green.Read(pixel), blue.Read(pixel),
                              h.alphaMask ? alpha.Read(pixel) : kOpaque);
        }
    }
    return true;
}

// RLE8 and RLE4: every write is checked against the picture; codes that
// would leave it are dropped, pixels the stream skips or never reaches stay black.
bool DecodeRle(const unsigned char* data, size_t size, const BmpHeader& h, BmpPicture& picture)
{
    if (h.pixelOffset >= size)
        return false;
    const bool four = h.compression == kBmpRle4;
    const unsigned char* p = data + h.pixelOffset;
    const unsigned char* end = data + size;
    int x = 0;
    int row = 0;
    auto put = [&](unsigned index) {
        if (x < picture.Width() && row < picture.Height())
            picture.SetIndex(row, x, index);
        ++x;
    };
    while (end - p >= 2 && row < picture.Height()) {
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < picture.Width(); ++i)
                put(four ? ((i % 2) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == kRleEndOfLine) {
            x = 0;
            ++row;
        } else if (value == kRleEndOfBitmap) {
            break;
        } else if (value == kRleDelta) {
            if (end - p < 2)
                break;
            x += p[0];
            row += p[1];
            p += 2;
        } else {
            // Absolute run of `value` pixels, padded to a 16-bit boundary.
            const size_t bytes = four ? (value + 1) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (static_cast<size_t>(end - p) < bytes)
                break;
            for (unsigned i = 0; i < value; ++i)
                put(four ? ((i % 2) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            p += std::min(padded, static_cast<size_t>(end - p));
        }
    }
    return true;
}

} // namespace

int DecodeBmpPicture(const unsigned char* data, size_t size, const PictureSink& sink)
{
    BmpHeader header;
    if (!ReadBmpHeader(data, size, header))
        return 0;
    if (!IsContiguous(header.redMask) || !IsContiguous(header.greenMask) || !IsContiguous(header.blueMask)
        || !IsContiguous(header.alphaMask))
        return 0;
    BmpPicture picture(header);
    if (!picture.IsOk())
        return 0;
    const bool decoded = header.compression == kBmpRle4 || header.compression == kBmpRle8
        ? DecodeRle(data, size, header, picture)
        : DecodeUncompressed(data, size, header, picture);
    if (!decoded)
        return 0;
    wxImage result = picture.Release();
    if (!result.IsOk())
        return 0;
    sink(std::move(result), 0);
    return 1;
}
