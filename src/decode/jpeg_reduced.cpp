#include "decode/jpeg_reduced.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->jump, 1);
}

// Warnings (damaged data that the decoder works around) are not reported.
void OutputMessage(j_common_ptr) {}

// The reductions libjpeg performs while decoding.
constexpr unsigned kDenominators[] = {8, 4, 2};

unsigned ChooseDenominator(unsigned width, unsigned height, const wxSize& atLeast)
{
    for (unsigned denominator : kDenominators) {
        const unsigned w = (width + denominator - 1) / denominator;
        const unsigned h = (height + denominator - 1) / denominator;
        if (w >= static_cast<unsigned>(atLeast.x) && h >= static_cast<unsigned>(atLeast.y))
            return denominator;
    }
    return 1;
}

// Kept free of objects with destructors: a longjmp out of libjpeg skips them.
bool Decode(jpeg_decompress_struct& info, JumpingErrorManager& errors, const unsigned char* data,
            size_t size, const wxSize& atLeast, wxImage& picture)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return false;
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = ChooseDenominator(info.image_width, info.image_height, atLeast);
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
        return false;
    picture.Create(static_cast<int>(info.output_width), static_cast<int>(info.output_height), false);
    if (!picture.IsOk())
        return false;
    unsigned char* pixels = picture.GetData();
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

wxImage DecodeJpegReduced(const unsigned char* data, size_t size, const wxSize& atLeast)
{
    jpeg_decompress_struct info;
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = OutputMessage;
    jpeg_create_decompress(&info);
    wxImage picture;
    const bool decoded = Decode(info, errors, data, size, atLeast, picture);
    jpeg_destroy_decompress(&info);
    return decoded ? picture : wxImage();
}
