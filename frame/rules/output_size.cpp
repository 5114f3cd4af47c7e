#include "rules/output_size.h"

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
