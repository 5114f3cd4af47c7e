#pragma once

#include <wx/gdicmn.h>

#include <vector>

// The output size of an animation made of frames of these sizes, in list
// order: a frame larger than the size so far in either direction replaces it
// as a whole, so the result is the size of one of the frames (300x100 then
// 200x200 gives 200x200). (0, 0) for no frames.
wxSize LargestFrameSize(const std::vector<wxSize>& frames);

// Width and height stay in the proportion of the reference size (the size
// the frames gave). Both rules always start from the reference, so rounding
// does not pile up over several edits. A reference without extent gives no
// proportion: the other side then keeps its current value.
int CoupledHeight(int width, const wxSize& reference, int currentHeight);
int CoupledWidth(int height, const wxSize& reference, int currentWidth);
