// A PNG chunk's declared length is checked against the file before the PNG
// library sees it: the library allocates that length before reading.
#include "decode/picture_loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A 1x1 RGB picture: signature, IHDR, IDAT, IEND.
const Bytes kTinyPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xde, 0x00, 0x00, 0x00,
    0x0c, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x60, 0x60, 0x60, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0xf6,
    0x17, 0x38, 0x55, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
constexpr size_t kAfterIhdr = 33;
constexpr size_t kIdatLength = 33;

void PutLength(Bytes& bytes, size_t at, std::uint32_t length)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(length >> (24 - 8 * i));
}

// The tiny picture with a text chunk of three bytes inserted after IHDR that
// declares `declared` bytes (its CRC is not checked before the length).
Bytes WithTextChunk(std::uint32_t declared)
{
    Bytes bytes(kTinyPng.begin(), kTinyPng.begin() + kAfterIhdr);
    const Bytes chunk = {0, 0, 0, 0, 't', 'E', 'X', 't', 'a', 0, 'b', 0, 0, 0, 0};
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    PutLength(bytes, kAfterIhdr, declared);
    bytes.insert(bytes.end(), kTinyPng.begin() + kAfterIhdr, kTinyPng.end());
    return bytes;
}

Bytes WithIdatLength(std::uint32_t declared)
{
    Bytes bytes = kTinyPng;
    PutLength(bytes, kIdatLength, declared);
    return bytes;
}

struct ChunkCase {
    const char* name;
    Bytes bytes;
    int pictures;
};

class PngChunkLength : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(PngChunkLength, ChunksLongerThanTheFileAreRefused)
{
    const Bytes& bytes = GetParam().bytes;
    const int count = LoadPicturesFromMemory(bytes.data(), bytes.size(), PictureRead::StillPicture, 0,
                                             [](wxImage&&, int) { return true; });
    EXPECT_EQ(count, GetParam().pictures);
}

INSTANTIATE_TEST_SUITE_P(
    Loader, PngChunkLength,
    ::testing::Values(ChunkCase{"Plain", kTinyPng, 1}, ChunkCase{"TextThatFits", WithTextChunk(3), 1},
                      ChunkCase{"TextClaiming2GB", WithTextChunk(2000000000u), 0},
                      ChunkCase{"TextClaiming60MB", WithTextChunk(60000000u), 0},
                      ChunkCase{"TextClaimingTheMaximum", WithTextChunk(0xFFFFFFFFu), 0},
                      ChunkCase{"IdatClaimingMoreThanRemains", WithIdatLength(1000), 0}),
    [](const ::testing::TestParamInfo<ChunkCase>& info) { return info.param.name; });

} // namespace
