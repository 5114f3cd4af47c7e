#include "test_pictures.h"

#include <gtest/gtest.h>
#include <wx/anidecod.h>
#include <wx/image.h>
#include <wx/imaggif.h>
#include <wx/palette.h>
#include <wx/quantize.h>
#include <wx/wfstream.h>

wxString WritePng(const TempDir& dir, const wxString& name, int width, int height,
                  unsigned char shade)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), shade, 255 - shade, shade / 2);
    const wxString path = dir.File(name);
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
    return path;
}

wxString WriteGif(const TempDir& dir, const wxString& name, int frames, int width, int height)
{
    wxImageArray images;
    for (int i = 0; i < frames; ++i) {
        wxImage image(width, height);
        const unsigned char shade = static_cast<unsigned char>(40 * (i + 1));
        image.SetRGB(wxRect(0, 0, width, height), shade, 0, 255 - shade);
        // The toolkit's GIF writer takes paletted pictures only.
        wxImage paletted;
        wxPalette* palette = nullptr;
        wxQuantize::Quantize(image, paletted, &palette, 256, nullptr,
                             wxQUANTIZE_FILL_DESTINATION_IMAGE);
        paletted.SetPalette(*palette);
        delete palette;
        images.Add(paletted);
    }
    const wxString path = dir.File(name);
    wxFileOutputStream stream(path);
    wxGIFHandler handler;
    const int delayMs = 100;
    EXPECT_TRUE(handler.SaveAnimation(images, &stream, false, delayMs));
    return path;
}
