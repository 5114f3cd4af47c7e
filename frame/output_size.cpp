#include "output_size.h"

wxSize LargestFrameSize(const std::vector<wxSize>& frames)
{
    wxSize largest(0, 0);
    for (const wxSize& frame : frames)
        if (largest.x < frame.x || largest.y < frame.y)
            largest = frame;
    return largest;
}

namespace {
bool HasExtent(const wxSize& reference)
{
    return reference.x > 0 && reference.y > 0;
}
} // namespace

int CoupledHeight(int width, const wxSize& reference, int currentHeight)
{
    if (!HasExtent(reference))
        return currentHeight;
    return static_cast<int>(static_cast<long long>(width) * reference.y / reference.x);
}

int CoupledWidth(int height, const wxSize& reference, int currentWidth)
{
    if (!HasExtent(reference))
        return currentWidth;
    return static_cast<int>(static_cast<double>(height) * reference.x / reference.y);
}
