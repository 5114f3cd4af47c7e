#include "encode/gif_output_size.h"

wxSize GifDefaultOutputSize(const std::vector<wxSize>& frameSizes)
{
    wxSize size(0, 0);
    for (const wxSize& frame : frameSizes)
        if (size.GetWidth() < frame.GetWidth() || size.GetHeight() < frame.GetHeight())
            size = frame;
    return size;
}
