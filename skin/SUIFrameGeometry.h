// Arithmetic of the skinned form frame and its title bar: what the frame
// paint fills, where the title pictures' strips go, the window region, where
// the title-bar buttons sit and how a caption is shortened to its room.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "skin/SUIGeometry.h"

// The rectangles of the frame paint of a W x H window with border width B
// and title bar height T (window coordinates, right and bottom exclusive).
struct TsuiFrameFills {
    std::vector<TsuiRect> border;  // in BorderColor
    std::vector<TsuiRect> face;    // in Color (only when B < 4)
    std::vector<TsuiRect> menuBar; // in the menu bar's colour
};
// F: the frame's thickness beside the client area (3 at the design scale).
TsuiFrameFills FrameFills(int W, int H, int B, int T, int menuBarHeight /* 0: none */, int F = 3);

// One part of a title picture copied into the frame: source columns of the
// picture into a target rectangle (stretched when the sizes differ).
struct TsuiBlit {
    TsuiRect source;
    TsuiRect target;
};
// The left, right and top strips the title pictures give the frame (B < 4,
// three sections with pictures): L and R are wL and wR wide, all three are
// hL, hR, hC high; C is cW wide.
std::vector<TsuiBlit> TitleStrips(int W, int B, int wL, int hL, int wR, int hR, int wC, int hC, int F = 3);

// The window region: a rectangle rounded at the top corners with ellipses
// R x R, square at the bottom. With R = 0 the plain rectangle.
struct TsuiRegionShape {
    TsuiRect roundRect; // drawn with corner ellipses of radius R
    int ellipse;        // R
    TsuiRect bottomLeft;
    TsuiRect bottomRight;
};
TsuiRegionShape WindowRegionShape(int W, int H, int R);

// Where the title bar's buttons go. Buttons are given in collection order;
// hidden ones are neither placed nor hit.
struct TsuiTitleButtonShape {
    bool visible;
    bool controlBox;
    int width;
    int height;
};
struct TsuiTitleLayout {
    std::vector<TsuiRect> buttons; // per button; empty rectangle when not placed
    int captionLeft;               // x2 after the left part
    int captionRoom;               // from captionLeft to the leftmost right-hand button
};
TsuiTitleLayout LayoutTitleBar(int barWidth, int buttonTop, int leftOffset, int rightOffset, int interval,
                               bool drawAppIcon, const std::vector<TsuiTitleButtonShape>& buttons,
                               const TDisplayScale& scale = {});

// The caption as drawn in room pixels: itself when it fits, else the longest
// beginning that fits followed by "..." ("..." alone when none does).
std::string ShortenCaption(const std::string& caption, int room, const std::function<int(const std::string&)>& width);
