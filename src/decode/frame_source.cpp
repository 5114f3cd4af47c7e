#include "decode/frame_source.h"

#include "decode/picture_loader.h"

#include <wx/filefn.h>
#include <wx/mstream.h>
#include <wx/zstream.h>

#include <cstring>
#include <vector>

FrameSource::~FrameSource() = default;

std::uint64_t HashBytes(const unsigned char* data, size_t size)
{
    // FNV-1a, 64 bits, taken eight bytes at a time (a byte at a time it cost
    // 2% of encoding large photos, every file being hashed when added and
    // again when read to encode), the high bits folded down after each word
    // so that every bit reaches the whole hash: a changed file is told from
    // the one added with certainty for any practical purpose.
    constexpr std::uint64_t kOffsetBasis = 14695981039346656037ull;
    constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t hash = kOffsetBasis;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        hash ^= word;
        hash *= kPrime;
        hash ^= hash >> 29;
    }
    for (; i < size; ++i) {
        hash ^= data[i];
        hash *= kPrime;
    }
    return hash;
}

bool StatFile(const wxString& path, FileFingerprint& fingerprint)
{
    wxStructStat info;
    if (wxStat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    fingerprint.size = static_cast<long long>(info.st_size);
    fingerprint.modified = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return true;
}

namespace {

class FileFrameSource : public FrameSource {
public:
    FileFrameSource(const wxString& path, const wxSize& size, const FileFingerprint& fingerprint)
        // A copy of its own, so that no string storage is shared between threads.
        : m_path(path.wc_str()), m_size(size), m_fingerprint(fingerprint)
    {
    }

    wxSize GetSize() const override { return m_size; }

    wxImage Decode(const wxSize& atLeast) const override
    {
        std::vector<unsigned char> bytes;
        if (!ReadPictureFile(m_path, bytes) || static_cast<long long>(bytes.size()) != m_fingerprint.size
            || HashBytes(bytes.data(), bytes.size()) != m_fingerprint.contentHash)
            return wxImage();
        wxImage picture = DecodeStillPicture(bytes.data(), bytes.size(), atLeast);
        if (picture.IsOk() && atLeast == wxSize(0, 0) && picture.GetSize() != m_size)
            return wxImage();
        return picture;
    }

    bool IsIntact() const override
    {
        FileFingerprint now;
        return StatFile(m_path, now) && now.size == m_fingerprint.size && now.modified == m_fingerprint.modified;
    }

private:
    const wxString m_path;
    const wxSize m_size;
    const FileFingerprint m_fingerprint;
};

// Fast compression: a GIF's frames are mostly flat colour, which any level
// shrinks well, and adding frames should not wait for the compressor.
constexpr int kHeldCompressionLevel = 1;

class HeldFrameSource : public FrameSource {
public:
    explicit HeldFrameSource(const wxImage& picture)
        : m_size(picture.GetSize()), m_hasAlpha(picture.HasAlpha()), m_hasMask(picture.HasMask())
    {
        if (m_hasMask) {
            m_mask[0] = picture.GetMaskRed();
            m_mask[1] = picture.GetMaskGreen();
            m_mask[2] = picture.GetMaskBlue();
        }
        const size_t pixels = static_cast<size_t>(m_size.x) * m_size.y;
        wxMemoryOutputStream memory;
        {
            wxZlibOutputStream zlib(memory, kHeldCompressionLevel, wxZLIB_NO_HEADER);
            zlib.Write(picture.GetData(), pixels * 3);
            if (m_hasAlpha)
                zlib.Write(picture.GetAlpha(), pixels);
        }
        m_compressed.resize(memory.GetSize());
        memory.CopyTo(m_compressed.data(), m_compressed.size());
    }

    wxSize GetSize() const override { return m_size; }

    wxImage Decode(const wxSize&) const override
    {
        const size_t pixels = static_cast<size_t>(m_size.x) * m_size.y;
        wxImage picture(m_size, false);
        if (!picture.IsOk())
            return wxImage();
        wxMemoryInputStream memory(m_compressed.data(), m_compressed.size());
        wxZlibInputStream zlib(memory, wxZLIB_NO_HEADER);
        if (!zlib.ReadAll(picture.GetData(), pixels * 3))
            return wxImage();
        if (m_hasAlpha) {
            picture.SetAlpha();
            if (!zlib.ReadAll(picture.GetAlpha(), pixels))
                return wxImage();
        }
        if (m_hasMask)
            picture.SetMaskColour(m_mask[0], m_mask[1], m_mask[2]);
        return picture;
    }

    bool IsIntact() const override { return true; }

private:
    const wxSize m_size;
    const bool m_hasAlpha;
    const bool m_hasMask;
    unsigned char m_mask[3] = {0, 0, 0};
    std::vector<unsigned char> m_compressed;
};

} // namespace

FrameSourcePtr MakeFileFrameSource(const wxString& path, const wxSize& size, const FileFingerprint& fingerprint)
{
    return std::make_shared<FileFrameSource>(path, size, fingerprint);
}

FrameSourcePtr MakeHeldFrameSource(const wxImage& picture)
{
    if (!picture.IsOk())
        return nullptr;
    return std::make_shared<HeldFrameSource>(picture);
}
