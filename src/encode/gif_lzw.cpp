#include "encode/gif_lzw.h"

#include <algorithm>
#include <array>

namespace {

// Codes of a GIF file are at most 12 bits wide; like giflib the table is
// cleared once code 4095 would be given out.
constexpr int kMaxCodeBits = 12;
constexpr int kLastCode = (1 << kMaxCodeBits) - 1;
constexpr std::size_t kMaxSubBlock = 255;
constexpr std::uint8_t kBlockTerminator = 0x00;

// The codes given out since the last clear code, keyed by (prefix code,
// next index). Open addressing in twice the codes' number of slots keeps
// probe chains short.
class CodeTable {
public:
    CodeTable() { Clear(); }

    void Clear() { m_keys.fill(kFree); }

    // The code for `key`, or -1; `slot` is where `key` goes when missing.
    int Find(std::uint32_t key, std::size_t& slot) const
    {
        slot = (key * 2654435761u) >> (32 - kSlotBits);
        while (m_keys[slot] != kFree) {
            if (m_keys[slot] == key)
                return m_codes[slot];
            slot = (slot + 1) & (kSlots - 1);
        }
        return -1;
    }

    void Insert(std::size_t slot, std::uint32_t key, int code)
    {
        m_keys[slot] = key;
        m_codes[slot] = static_cast<std::uint16_t>(code);
    }

private:
    static constexpr int kSlotBits = kMaxCodeBits + 1;
    static constexpr std::size_t kSlots = std::size_t(1) << kSlotBits;
    static constexpr std::uint32_t kFree = 0xFFFFFFFFu;
    std::array<std::uint32_t, kSlots> m_keys;
    std::array<std::uint16_t, kSlots> m_codes;
};

// Packs codes least significant bit first into data sub-blocks of at most
// 255 bytes, each after its length byte.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    void Put(int code, int bits)
    {
        m_bits |= std::uint32_t(code) << m_bitCount;
        m_bitCount += bits;
        while (m_bitCount >= 8) {
            Byte(static_cast<std::uint8_t>(m_bits));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    void Finish()
    {
        if (m_bitCount > 0)
            Byte(static_cast<std::uint8_t>(m_bits));
        m_out.push_back(kBlockTerminator);
    }

private:
    void Byte(std::uint8_t value)
    {
        if (m_inBlock == 0 || m_inBlock == kMaxSubBlock) {
            m_lengthAt = m_out.size();
            m_out.push_back(0);
            m_inBlock = 0;
        }
        m_out.push_back(value);
        m_out[m_lengthAt] = static_cast<std::uint8_t>(++m_inBlock);
    }

    std::vector<std::uint8_t>& m_out;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
    std::size_t m_lengthAt = 0;
    std::size_t m_inBlock = 0;
};

} // namespace

int GifLzwMinimumCodeSize(int count)
{
    int bits = 2;
    while ((1 << bits) < count && bits < 8)
        ++bits;
    return bits;
}

void GifLzwCompress(const std::uint8_t* indices, std::size_t count, int minimumCodeSize,
                    std::vector<std::uint8_t>& out)
{
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    out.push_back(static_cast<std::uint8_t>(minimumCodeSize));
    // Noise compresses to about its own size; reserving that saves regrowing.
    out.reserve(out.size() + count + count / 4 + 16);
    CodeWriter writer(out);
    CodeTable table;
    int bits = minimumCodeSize + 1;
    int nextCode = endCode + 1;
    writer.Put(clearCode, bits);
    if (count == 0) {
        writer.Put(endCode, bits);
        writer.Finish();
        return;
    }

    int prefix = indices[0];
    for (std::size_t i = 1; i < count; ++i) {
        const std::uint32_t key = (std::uint32_t(prefix) << 8) | indices[i];
        std::size_t slot = 0;
        const int code = table.Find(key, slot);
        if (code >= 0) {
            prefix = code;
            continue;
        }
        writer.Put(prefix, bits);
        // The decoder widens its codes once the next code it will add no
        // longer fits.
        if (nextCode >= (1 << bits) && bits < kMaxCodeBits)
            ++bits;
        if (nextCode >= kLastCode) {
            writer.Put(clearCode, bits);
            table.Clear();
            bits = minimumCodeSize + 1;
            nextCode = endCode + 1;
        } else {
            table.Insert(slot, key, nextCode++);
        }
        prefix = indices[i];
    }
    writer.Put(prefix, bits);
    if (nextCode >= (1 << bits) && bits < kMaxCodeBits)
        ++bits;
    writer.Put(endCode, bits);
    writer.Finish();
}
