// High contrast: while Windows' high-contrast setting is on, the skinned
// components draw with the system's colours instead of their style's, and
// leave out the pictures that text sits on (button faces, title bar
// pictures, background tiles). This is the one place that says whether the
// setting is on and which system colour takes the place of a style colour;
// each component asks here where it draws. The top-level windows restyle
// their components when the setting or the system colours change.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/Bounds.h"

// What a colour is for, and so which system colour it becomes.
enum class TsuiColorRole {
    Window,        // the face of fields and lists (COLOR_WINDOW)
    WindowText,    // text and lines on it (COLOR_WINDOWTEXT)
    Highlight,     // a selected item, an active title (COLOR_HIGHLIGHT)
    HighlightText, // text on it (COLOR_HIGHLIGHTTEXT)
    ButtonFace,    // the face of forms and buttons (COLOR_BTNFACE)
    ButtonText,    // text and lines on it (COLOR_BTNTEXT)
};

// Whether Windows' high contrast is on (SPI_GETHIGHCONTRAST).
bool HighContrastOn();
// Makes HighContrastOn answer on (true) or off (false) for this program
// whatever Windows says; nullopt asks Windows again. For tests, on systems
// that cannot switch the setting.
void OverrideHighContrast(std::optional<bool> on);

// The system colour of a role.
COLORREF SystemColor(TsuiColorRole role);
// The colour to draw: the designed one (0x00BBGGRR or a system colour
// reference), or in high contrast the system colour of its role.
COLORREF DrawnColor(uint32_t designed, TsuiColorRole role);
// The same as a skin colour: the designed one, or in high contrast the
// reference to the system colour of its role (for what takes skin colours).
uint32_t DrawnSkinColor(uint32_t designed, TsuiColorRole role);

// The looks that take the place of pictures: a button's face in the
// system's button colour framed in its text colour (line pixels wide), and
// the system's own check box, square, in the middle of place.
void DrawSystemButtonFace(HDC dc, const RECT& client, int line);
void DrawSystemCheckBox(HDC dc, const TBounds& place, bool checked, bool enabled);

// True for the messages after which the skin draws differently: the
// system colours changed, or the high-contrast setting did.
bool HighContrastMessage(UINT message, WPARAM wParam);
