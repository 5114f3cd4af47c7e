#pragma once

// Picture files written for the tests, returning their paths.

#include "test_paths.h"

#include <wx/string.h>

// A picture of one flat colour.
wxString WritePng(const TempDir& dir, const wxString& name, int width, int height,
                  unsigned char shade = 128);
// An animated GIF of `frames` frames of width x height, each of its own
// colour, written by the toolkit's GIF writer.
wxString WriteGif(const TempDir& dir, const wxString& name, int frames, int width = 40,
                  int height = 30);
