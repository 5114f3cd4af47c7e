#include "canvas_colour.h"

wxColour OpaqueColour(const wxColour& colour, const wxColour& beneath)
{
    const int alpha = colour.Alpha();
    auto blend = [alpha](int top, int bottom) {
        return static_cast<unsigned char>((top * alpha + bottom * (wxALPHA_OPAQUE - alpha) +
                                           wxALPHA_OPAQUE / 2) /
                                          wxALPHA_OPAQUE);
    };
    return wxColour(blend(colour.Red(), beneath.Red()), blend(colour.Green(), beneath.Green()),
                    blend(colour.Blue(), beneath.Blue()));
}
