// Where the parts of a skinned popup-menu item go at a display scale: the
// item's size, the side bar, the caption, the shortcut text, the separator
// line, the check mark and the frame around a checked item's image. The
// places are those of the design (caption 4 pixels right of the bar and 4
// below the top, the mark at (4, 3), the line 2 below the top) multiplied by
// the one scaling rule; lines and frames stay whole pixels. At 96 dots per
// inch every number is the designed one.
#pragma once

#include "core/DisplayScale.h"
#include "skin/SUIGeometry.h"

// The designed size of the check mark and of item images.
constexpr int kMenuMarkSize = 16;

// The item's size at a scale: the designed heights scaled, the text widths
// (measured with the scaled font) plus the bar and 40 pixels scaled.
TsuiItemSize MeasureMenuItem(const TsuiMenuMetrics& metrics, const TDisplayScale& scale, bool separator,
                             int captionWidth, int shortCutWidth);

// Places within an item whose rectangle is (0, 0, width, height).
struct TsuiMenuItemPlaces {
    TsuiRect bar;           // the side bar
    TsuiRect rest;          // right of the bar
    TsuiPoint caption;      // top left of the caption
    int shortCutRight = 0;  // the shortcut text ends here
    TsuiRect separatorLine; // the separator's line, whole pixels high
    TsuiRect mark;          // the check mark or item image
    TsuiRect radioDot;      // the dot of a checked radio item
    TsuiRect imageFrame;    // the frame around a checked item's image
    // The arrow of an item with a sub-menu, pointing right from the middle
    // of its left edge's height (drawn by the menu where the system's own
    // would not fit the scale).
    TsuiRect subMenuArrow;
    int line = 1;           // the thickness of lines and frames
};
TsuiMenuItemPlaces MenuItemPlaces(const TsuiMenuMetrics& metrics, const TDisplayScale& scale, int width,
                                  int height);
