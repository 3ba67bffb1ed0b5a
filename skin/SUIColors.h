// Colours and fonts as the skinned components keep them: a colour is either
// 0x00BBGGRR or a reference to a system colour (top byte 0xFF, the colour's
// index below it), resolved only when drawing, so that a component follows
// the system's colours when the user changes them; a font is kept as what
// it is made of and made into a GDI font where it is drawn with.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/DisplayScale.h"
#include "imaging/GdiHandles.h"

// A colour given as a system colour reference (top byte 0xFF) as RGB.
COLORREF ColorToRGB(uint32_t color);
constexpr uint32_t clBtnFace = 0xFF00000F;
constexpr uint32_t clHighlight = 0xFF00000D;
constexpr uint32_t clFuchsia = 0x00FF00FF;

// A font as the skinned components keep it: what it is made of (height in
// pixels, negative for the character height as usual) and its colour.
struct TsuiFont {
    std::string name = "Tahoma";
    int height = -11;
    bool bold = false;
    uint32_t color = 0;
    bool operator==(const TsuiFont&) const = default;
};
// The system font made from it; empty when it cannot be made.
TGdiObject MakeFont(const TsuiFont& font);
// The font made for a display scale: its height scaled.
TGdiObject MakeFont(const TsuiFont& font, const TDisplayScale& scale);
