#include "decode/picture_scale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct Span {
    int from, to; // source pixels [from, to)
};

// Each new pixel's run of source pixels along one side: the runs cover the
// source without overlap, and none is empty when enlarging.
std::vector<Span> Spans(int source, int scaled)
{
    std::vector<Span> spans(static_cast<size_t>(scaled));
    for (int i = 0; i < scaled; ++i) {
        const int from = static_cast<int>(static_cast<int64_t>(i) * source / scaled);
        const int to = static_cast<int>(static_cast<int64_t>(i + 1) * source / scaled);
        spans[static_cast<size_t>(i)] = {from, std::max(from + 1, to)};
    }
    return spans;
}

} // namespace

wxImage ScaleByAveraging(const wxImage& picture, int width, int height)
{
    if (!picture.IsOk() || width < 1 || height < 1)
        return wxImage();
    const int sourceWidth = picture.GetWidth();
    const bool hasAlpha = picture.HasAlpha();
    wxImage scaled(width, height, false);
    if (hasAlpha)
        scaled.SetAlpha();
    const unsigned char* rgb = picture.GetData();
    const unsigned char* alpha = picture.GetAlpha();
    unsigned char* outRgb = scaled.GetData();
    unsigned char* outAlpha = scaled.GetAlpha();

    const std::vector<Span> columns = Spans(sourceWidth, width);
    const std::vector<Span> rows = Spans(picture.GetHeight(), height);
    std::vector<uint64_t> sums(static_cast<size_t>(width) * 4);
    for (const Span& row : rows) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int y = row.from; y < row.to; ++y) {
            const size_t line = static_cast<size_t>(y) * sourceWidth;
            for (int x = 0; x < width; ++x) {
                uint64_t* sum = &sums[static_cast<size_t>(x) * 4];
                for (int i = columns[x].from; i < columns[x].to; ++i) {
                    const unsigned char* pixel = rgb + 3 * (line + i);
                    sum[0] += pixel[0];
                    sum[1] += pixel[1];
                    sum[2] += pixel[2];
                    if (hasAlpha)
                        sum[3] += alpha[line + i];
                }
            }
        }
        for (int x = 0; x < width; ++x) {
            const uint64_t count = static_cast<uint64_t>(columns[x].to - columns[x].from) * (row.to - row.from);
            const uint64_t* sum = &sums[static_cast<size_t>(x) * 4];
            for (int c = 0; c < 3; ++c)
                *outRgb++ = static_cast<unsigned char>((sum[c] + count / 2) / count);
            if (hasAlpha)
                *outAlpha++ = static_cast<unsigned char>((sum[3] + count / 2) / count);
        }
    }
    return scaled;
}
