// A made-up screen shot for the writer benchmarks: wallpaper, windows with
// lines of text, a photo in a viewer window and a taskbar, drawn in code so
// that every run encodes the same pixels.
#pragma once

#include "imaging/Bitmap.h"

// Gives bitmap a 32-bit memory store of width x height holding the picture.
// The layout is drawn for 1920x1080 and scaled by width / 1920.
void MakeDesktopImage(TBitmap& bitmap, int width, int height);
