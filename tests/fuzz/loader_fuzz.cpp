// libFuzzer target for the picture loader: every input is read as a still
// picture (its kind told by its contents) and, when it looks like a GIF, as a
// whole animation and as one named frame.
#include "decode/picture_loader.h"

#include <wx/init.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Reads every delivered pixel, so that a picture with bad storage shows up.
bool TouchPicture(wxImage&& picture, int)
{
    const size_t pixels = static_cast<size_t>(picture.GetWidth()) * picture.GetHeight();
    volatile unsigned sum = 0;
    const unsigned char* rgb = picture.GetData();
    for (size_t i = 0; i < pixels * 3; i += 4093) // a sample of every page
        sum = sum + rgb[i];
    if (picture.HasAlpha())
        sum = sum + picture.GetAlpha()[pixels - 1];
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static wxInitializer toolkit;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadPicturesFromMemory(data, size, PictureRead::StillPicture, -1, TouchPicture);
    if (size >= 3 && std::memcmp(data, "GIF", 3) == 0) {
        LoadPicturesFromMemory(data, size, PictureRead::AllGifFrames, -1, TouchPicture);
        LoadPicturesFromMemory(data, size, PictureRead::OneGifFrame, data[size - 1] % 4, TouchPicture);
    }
    return 0;
}
