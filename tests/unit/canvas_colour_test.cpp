#include "canvas_colour.h"

#include <gtest/gtest.h>
#include <wx/gdicmn.h>

TEST(PreviewCanvasColour, TranslucentThemeColourIsBlendedOverWhatIsBeneath)
{
    // GTK's tooltip colour: black at 80 percent over a white window.
    const wxColour canvas = OpaqueColour(wxColour(0, 0, 0, 204), *wxWHITE);
    EXPECT_EQ(canvas, wxColour(51, 51, 51));
    EXPECT_EQ(canvas.Alpha(), wxALPHA_OPAQUE);
}

TEST(PreviewCanvasColour, OpaqueColourStaysAsItIs)
{
    EXPECT_EQ(OpaqueColour(wxColour(255, 255, 225), *wxBLACK), wxColour(255, 255, 225));
}
