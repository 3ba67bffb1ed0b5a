// Where everything of the own balloon window goes: the two labels, the two
// pictures, the window itself and its region, at a display scale (the
// designed places multiplied by the one scaling rule). Pure arithmetic, so
// that it is the same on every platform and can be checked without a
// screen.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/DisplayScale.h"

struct TBalloonSize {
    int width = 0;
    int height = 0;
};

struct TBalloonRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct TBalloonPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TBalloonPoint&) const = default;
};

// The corner of the balloon that points at a control: a control in the lower
// left of the screen gets a balloon above it with the pointer in its lower
// left corner, and so on.
enum class TBalloonCorner { None, LowerLeft, LowerRight, UpperLeft, UpperRight };

struct TBalloonLayoutInput {
    TBalloonSize title;      // the bold one-line title, auto-sized
    // The word-wrapped text's size (widest line, height of all lines) when
    // wrapped at the given width.
    std::function<TBalloonSize(int wrapWidth)> measureText;
    int closeWidth = 16;     // width of the close picture
    bool hasIcon = true;     // false for a balloon without picture
    // Anchor: the notification area (tray) or a control's window rectangle
    // on a screen of the given size.
    bool trayAnchor = true;
    TBalloonRect control;
    int screenWidth = 0;
    int screenHeight = 0;
    TBalloonRect workArea;   // used for the tray anchor
    // The designed places and distances are scaled by it; the sizes above
    // are pixels at that scale already.
    TDisplayScale scale;
};

struct TBalloonLayout {
    int titleLeft = 0, titleTop = 0;
    int textLeft = 10, textTop = 0, textWidth = 0, textHeight = 0;
    int iconLeft = 10, iconTop = 0;
    int closeLeft = 0, closeTop = 0;
    int width = 0, height = 0, left = 0, top = 0;
    TBalloonCorner corner = TBalloonCorner::None;
    TBalloonRect body;                     // rounded rectangle, 7 x 7 corners
    int cornerEllipse = 7;                 // at the scale
    std::array<TBalloonPoint, 3> pointer;  // only with a corner
};

const int kBalloonCornerEllipse = 7;
const int kBalloonMinTextWidth = 350;

TBalloonLayout LayoutBalloon(const TBalloonLayoutInput& input);

// The title as shown: leading and trailing blanks and control characters
// removed.
std::string BalloonTitleText(const std::string& title);
