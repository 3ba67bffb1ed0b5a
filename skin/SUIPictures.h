// The skin's pictures and how they are drawn: loading a style's bitmaps from
// the program's resources (drawn for the display scale) or a theme file's
// BMP data, cutting frames out of picture strips, and the ways a picture is
// put on a device context (as it is, with its key colour left out,
// stretched, tiled, in three slices or turned a quarter).
//
// Every picture set is a resource type (SKIN100, SKIN150, ...) whose
// resources are packed pictures (core/PackedPicture.h); at 100 per cent a
// picture comes exactly as drawn. A scale with a set of its own takes it;
// any other takes the nearest larger set (else the largest) resampled with
// the key colour kept exact. Tiles (the pinstripe form backgrounds) grow
// from the 100 per cent tile by the whole pattern factor.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/DisplayScale.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIStyleTable.h"

// A picture of the program at 100 per cent, as a device-independent bitmap
// of the depth it was drawn at; empty when there is none of that name.
TGdiObject LoadSkinBitmap(const std::string& resourceName);
// The program's picture of that name drawn for the scale; empty when there
// is none of that name. Each frame is scale.Length of its designed size.
TGdiObject LoadSkinPicture(const std::string& resourceName, const TDisplayScale& scale);
// A picture of frameCount frames made at 100 per cent (a theme file's),
// brought to the scale: each frame resampled on its own with the magenta
// key kept exact, or a tile grown by whole pixels.
TGdiObject ScalePicture(HGDIOBJ bitmap, const TDisplayScale& scale, int frameCount, bool tile = false);
// A BMP file held in memory (a theme file's picture); empty when it is not
// one.
TGdiObject BitmapFromBmpFile(const uint8_t* data, size_t size);
SIZE BitmapSize(HGDIOBJ bitmap);

// The built-in image of a key at the scale: loads it into bitmap when the
// key is an Image key; otherwise bitmap is left as it was. With
// frameCount > 0 only frame frameIndex (from 1) of the strip.
void GetStyleImage(TsuiUIStyle style, int key, TGdiObject& bitmap, const TDisplayScale& scale = {});
void GetStyleImageFrame(TsuiUIStyle style, int key, TGdiObject& bitmap, int frameCount, int frameIndex,
                        const TDisplayScale& scale = {});

// The frame of a strip cut into frameCount equal columns.
TGdiObject CutFrame(HGDIOBJ source, int frameCount, int frameIndex);
// Draws a three-part horizontal image stretched to rect: ends as they are
// with the key colour transparent, the middle stretched.
void DrawThreeSlice(HGDIOBJ bitmap, HDC dc, const RECT& rect, bool keyFromCorner);
// Draws picture repeatedly from the canvas origin until rect is covered.
void TileGraphic(HDC dc, HGDIOBJ picture, const RECT& rect);
// The quarter turn of a bitmap: (x, y) lands at (y, W - 1 - x).
TGdiObject RotateBitmap(HGDIOBJ bitmap);
// Draws bitmap at (x, y); with transparent, pixels of keyColor are left out.
void DrawBitmap(HDC dc, HGDIOBJ bitmap, int x, int y, bool transparent = false, COLORREF keyColor = 0xFF00FF);
// Stretches bitmap's rows [0, rows) over rect (rows 0: all).
void StretchBitmap(HDC dc, HGDIOBJ bitmap, const RECT& rect, int rows = 0);
// Frames the control's whole window with line pixels of outer (and, with
// drawInner, as many inside them of inner).
void FrameWindowBorder(HWND control, uint32_t outer, uint32_t inner, bool drawInner, int line = 1);
