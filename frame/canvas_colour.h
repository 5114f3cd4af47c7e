#pragma once

#include <wx/colour.h>

// The canvas colour as the eye sees it: a translucent system colour (GTK
// themes give the tooltip colour an alpha) blended over the colour beneath.
// Clearing with the translucent colour would darken the canvas with every
// frame and leave it a different shade from what the toolkit paints.
wxColour OpaqueColour(const wxColour& colour, const wxColour& beneath);
