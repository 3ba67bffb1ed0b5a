// A skin picture by resource name at a display scale, for the popups that
// load their pictures by name (the menu's check mark and pictures, the
// message dialog's strip): the picture as the resources hold it when it is
// already as large as the scale wants, else enlarged pixel by pixel, so that
// its key colour stays exact and no blended fringe appears around it.
#pragma once

#include <string>

#include "core/DisplayScale.h"
#include "imaging/GdiHandles.h"

// designedFrameWidth: the width of one of the picture's frames at the
// design scale; a strip of frames is wanted frames times
// scale.Length(designedFrameWidth) wide, its height in proportion.
TGdiObject LoadSkinBitmapForScale(const std::string& name, int designedFrameWidth, const TDisplayScale& scale,
                                  int frames = 1);
