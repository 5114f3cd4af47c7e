#pragma once

#include <wx/gdicmn.h>

// Width and height stay in the proportion of the reference size (the size
// the frames gave). Both rules always start from the reference, so rounding
// does not pile up over several edits. A reference without extent gives no
// proportion: the other side then keeps its current value.
int CoupledHeight(int width, const wxSize& reference, int currentHeight);
int CoupledWidth(int height, const wxSize& reference, int currentWidth);
