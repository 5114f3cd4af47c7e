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
    explicit CodeWriter(std::vector<std::uint8_t>& out, std::size_t partBytes = 0, const GifLzwSink* sink = nullptr)
        : m_out(out), m_partBytes(partBytes), m_sink(sink)
    {
    }

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
        if (m_sink)
            (*m_sink)(m_out);
    }

private:
    void Byte(std::uint8_t value)
    {
        if (m_inBlock == 0 || m_inBlock == kMaxSubBlock) {
            // Between sub-blocks: the bytes so far are final.
            if (m_sink && m_out.size() >= m_partBytes) {
                (*m_sink)(m_out);
                m_out.clear();
            }
            m_lengthAt = m_out.size();
            m_out.push_back(0);
            m_inBlock = 0;
        }
        m_out.push_back(value);
        m_out[m_lengthAt] = static_cast<std::uint8_t>(++m_inBlock);
    }

    std::vector<std::uint8_t>& m_out;
    const std::size_t m_partBytes;
    const GifLzwSink* m_sink;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
    std::size_t m_lengthAt = 0;
    std::size_t m_inBlock = 0;
};

int SquaredDistance(const GifRgb& a, const std::uint8_t* b)
{
    const int dr = a.red - b[0], dg = a.green - b[1], db = a.blue - b[2];
    return dr * dr + dg * dg + db * db;
}

// The error lossy choices made along the pixels so far, per channel: near
// colours are chosen for the colour plus this, so that runs of substitutes
// keep the mean colour (a one-dimensional error diffusion), and it fades.
struct Carry {
    int error[3] = {0, 0, 0};

    void Fade()
    {
        for (int& e : error)
            e = e * 3 / 4;
    }
};

// The code continuing `prefix` with an index the lossy choices allow for
// pixel `at` instead of `index`, or -1; `index` becomes the one taken.
int FindAlternative(const CodeTable& table, int prefix, std::uint8_t& index, std::size_t at,
                    const GifLzwLossy& lossy, Carry& carry)
{
    std::size_t slot = 0;
    const GifRgb& colour = lossy.table[index];
    const std::uint8_t* under = lossy.under ? lossy.under + at * 3 : nullptr;
    const bool canMask = lossy.mask >= 0 && index != lossy.mask;
    if (index == lossy.mask) {
        // What shows through, written as its own colour.
        const int same = lossy.exact->Find(under[0], under[1], under[2]);
        if (same < 0 || same == lossy.mask)
            return -1;
        const int code = table.Find((std::uint32_t(prefix) << 8) | std::uint32_t(same), slot);
        if (code >= 0)
            index = static_cast<std::uint8_t>(same);
        return code;
    }
    if (lossy.loose && !(lossy.loose[at] & 1)) {
        if (!canMask || SquaredDistance(colour, under) != 0)
            return -1;
        const int code = table.Find((std::uint32_t(prefix) << 8) | std::uint32_t(lossy.mask), slot);
        if (code >= 0)
            index = static_cast<std::uint8_t>(lossy.mask);
        return code;
    }
    const std::uint8_t target[3] = {
        static_cast<std::uint8_t>(std::clamp(colour.red + carry.error[0], 0, 255)),
        static_cast<std::uint8_t>(std::clamp(colour.green + carry.error[1], 0, 255)),
        static_cast<std::uint8_t>(std::clamp(colour.blue + carry.error[2], 0, 255))};
    for (std::uint8_t other : lossy.near[index]) {
        const GifRgb& near = lossy.table[other];
        if (SquaredDistance(near, target) > lossy.maxSquaredDistance)
            continue;
        const int code = table.Find((std::uint32_t(prefix) << 8) | other, slot);
        if (code >= 0) {
            index = other;
            carry.error[0] = target[0] - near.red;
            carry.error[1] = target[1] - near.green;
            carry.error[2] = target[2] - near.blue;
            return code;
        }
    }
    if (canMask && SquaredDistance(colour, under) <= lossy.maxSquaredDistance) {
        const int code = table.Find((std::uint32_t(prefix) << 8) | std::uint32_t(lossy.mask), slot);
        if (code >= 0)
            index = static_cast<std::uint8_t>(lossy.mask);
        return code;
    }
    return -1;
}

} // namespace

GifLzwLossy GifLzwLossyFor(const std::vector<GifRgb>& table, int mask, double maxDistance)
{
    // Longer lists seldom find a string the nearer colours did not.
    constexpr std::size_t kMaxNear = 12;
    GifLzwLossy lossy;
    lossy.table = table;
    lossy.exact.emplace(table.data(), int(table.size()));
    lossy.mask = mask;
    lossy.maxSquaredDistance = int(maxDistance * maxDistance);
    lossy.near.resize(table.size());
    std::vector<std::pair<int, std::uint8_t>> byDistance;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (int(i) == mask)
            continue;
        byDistance.clear();
        const std::uint8_t rgb[3] = {table[i].red, table[i].green, table[i].blue};
        for (std::size_t j = 0; j < table.size(); ++j) {
            const int distance = SquaredDistance(table[j], rgb);
            if (j != i && int(j) != mask && distance <= lossy.maxSquaredDistance)
                byDistance.emplace_back(distance, static_cast<std::uint8_t>(j));
        }
        const std::size_t kept = std::min(kMaxNear, byDistance.size());
        std::partial_sort(byDistance.begin(), byDistance.begin() + kept, byDistance.end());
        for (std::size_t k = 0; k < kept; ++k)
            lossy.near[i].push_back(byDistance[k].second);
    }
    return lossy;
}

namespace {

// Runs of one index at least this long are worth weighing a clear code for;
// shorter ones lose more with the table's strings than narrower codes save.
constexpr std::size_t kWeighedRun = 1024;

// The bits of codes a run of `length` pixels of one index costs from the
// table's state: each code covers the longest string of that index known,
// which is one longer than the one before. A full table is cleared.
std::uint64_t RunBits(std::size_t length, std::size_t known, int nextCode, int bits, int minimumCodeSize)
{
    std::uint64_t cost = 0;
    std::size_t covered = 0;
    while (covered < length) {
        covered += known;
        cost += std::uint64_t(bits);
        if (nextCode >= (1 << bits) && bits < kMaxCodeBits)
            ++bits;
        if (nextCode >= kLastCode) {
            cost += std::uint64_t(bits);
            bits = minimumCodeSize + 1;
            nextCode = (1 << minimumCodeSize) + 2;
            known = 1;
        } else {
            ++nextCode;
            ++known;
        }
    }
    return cost;
}

// The length of the longest string of `index` alone that `table` holds.
std::size_t KnownRun(const CodeTable& table, std::uint8_t index)
{
    std::size_t known = 1;
    int code = index;
    std::size_t slot = 0;
    while ((code = table.Find((std::uint32_t(code) << 8) | index, slot)) >= 0)
        ++known;
    return known;
}

} // namespace

int GifLzwMinimumCodeSize(int count)
{
    int bits = 2;
    while ((1 << bits) < count && bits < 8)
        ++bits;
    return bits;
}

namespace {

// Exact compression reads `indices`; lossy compression also writes the
// indices it changed to `written`.
void Compress(const std::uint8_t* indices, std::size_t count, int minimumCodeSize, std::vector<std::uint8_t>& out,
              const GifLzwLossy* lossy, std::uint8_t* written, std::size_t partBytes = 0,
              const GifLzwSink* sink = nullptr)
{
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    out.push_back(static_cast<std::uint8_t>(minimumCodeSize));
    // Noise compresses to about its own size; reserving that saves regrowing.
    out.reserve(out.size() + std::min(count + count / 4, sink ? partBytes : count + count / 4) + 16);
    CodeWriter writer(out, partBytes, sink);
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
    // Where the run of one index last weighed ends: no second look inside it.
    std::size_t weighedTo = 0;
    Carry carry;
    const bool carries = lossy && lossy->maxSquaredDistance > 0;
    for (std::size_t i = 1; i < count; ++i) {
        if (carries)
            carry.Fade();
        const std::uint32_t key = (std::uint32_t(prefix) << 8) | indices[i];
        std::size_t slot = 0;
        const int code = table.Find(key, slot);
        if (code >= 0) {
            prefix = code;
            continue;
        }
        if (lossy) {
            std::uint8_t index = indices[i];
            const int other = FindAlternative(table, prefix, index, i, *lossy, carry);
            if (other >= 0) {
                written[i] = index;
                prefix = other;
                continue;
            }
        }
        writer.Put(prefix, bits);
        // The decoder widens its codes once the next code it will add no
        // longer fits.
        if (nextCode >= (1 << bits) && bits < kMaxCodeBits)
            ++bits;
        // A long run of one index (a still area, a flat colour) costs about
        // as many codes as the square root of twice its length: after a clear
        // code those codes are narrower, which outweighs the strings lost
        // when the table is wide and knows no long string of that index.
        bool clear = nextCode >= kLastCode;
        if (!clear && i >= weighedTo && bits > minimumCodeSize + 2) {
            std::size_t end = i + 1;
            while (end < count && indices[end] == indices[i])
                ++end;
            weighedTo = end;
            if (end - i >= kWeighedRun)
                clear = std::uint64_t(bits) + RunBits(end - i, 1, endCode + 1, minimumCodeSize + 1, minimumCodeSize) <
                        RunBits(end - i, KnownRun(table, indices[i]), nextCode, bits, minimumCodeSize);
        }
        if (clear) {
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

} // namespace

void GifLzwCompress(const std::uint8_t* indices, std::size_t count, int minimumCodeSize,
                    std::vector<std::uint8_t>& out)
{
    Compress(indices, count, minimumCodeSize, out, nullptr, nullptr);
}

void GifLzwCompressLossy(std::uint8_t* indices, std::size_t count, int minimumCodeSize, const GifLzwLossy& lossy,
                         std::vector<std::uint8_t>& out)
{
    Compress(indices, count, minimumCodeSize, out, &lossy, indices);
}

void GifLzwCompressLossyInParts(std::uint8_t* indices, std::size_t count, int minimumCodeSize,
                                const GifLzwLossy& lossy, std::size_t partBytes, const GifLzwSink& sink)
{
    std::vector<std::uint8_t> out;
    Compress(indices, count, minimumCodeSize, out, &lossy, indices, partBytes, &sink);
}
