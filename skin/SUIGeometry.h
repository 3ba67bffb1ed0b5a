// Arithmetic of the skin that needs no window system: how strips are cut
// into frames and how popup-menu items are measured.
#pragma once

#include "core/DisplayScale.h"

// The columns of frame index (counted from 1) of a strip cut into
// frameCount equal frames: frame width = width div frameCount.
struct TsuiFrameColumns {
    int left;
    int width;
};
TsuiFrameColumns FrameColumns(int stripWidth, int frameCount, int frameIndex);

// The size of a popup-menu item.
struct TsuiMenuMetrics {
    int itemHeight;      // MenuItemHeight
    int separatorHeight; // SeparatorHeight
    int barWidth;        // BarWidth
};
struct TsuiItemSize {
    int width;
    int height;
};
TsuiItemSize MeasureMenuItem(const TsuiMenuMetrics& metrics, bool separator, int captionWidth, int shortCutWidth);

// Rectangles: left, top, right, bottom; right and bottom exclusive.
struct TsuiRect {
    int left;
    int top;
    int right;
    int bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const TsuiRect&) const = default;
};
// A rectangle at a display scale, edge by edge.
TsuiRect ScaleRect(const TDisplayScale& scale, const TsuiRect& designed);

// One unscaled corner of a push-button face: the source columns and rows of
// the face frame and where they go on the button. Empty pieces have a zero
// width or height.
struct TsuiFacePiece {
    TsuiRect source;
    int x;
    int y;
};
enum TsuiCorner { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };
// The four corners of a face frame sW x sH fitted to a button dW x dH; a
// piece cut to the smaller of source and target keeps the face's outer
// edge and sits against the button's outer corner.
void ButtonCornerPieces(int sW, int sH, int dW, int dH, TsuiFacePiece pieces[4]);

enum TsuiButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };
struct TsuiPoint {
    int x;
    int y;
    bool operator==(const TsuiPoint&) const = default;
};
struct TsuiGlyphPlace {
    TsuiPoint glyph;
    TsuiPoint text;
};
// Where glyph and caption go on a W x H button. A glyph twice as wide as
// high holds two frames and counts as square.
TsuiGlyphPlace PlaceGlyphAndText(TsuiButtonLayout layout, int W, int H, int glyphW, int glyphH, int textW,
                                 int textH, int spacing);

// The track bar's values and places (horizontal; vertical swaps the axes).
struct TsuiTrackRange {
    int min = 0;
    int max = 10;
    int position = 0;
    int pageSize = 2;
    int lineSize = 1;
    // The setters' rules: the position is kept in range, Max below Min
    // becomes Min and Min above Max becomes Max (the position follows), and
    // page and line sizes outside 0..Max are ignored.
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
    void SetPageSize(int value);
    void SetLineSize(int value);
};
int SliderLeft(const TsuiTrackRange& range, int controlWidth, int sliderWidth);
int SliderTop(int controlHeight, int sliderHeight);
// The value under the pointer at x, halves rounded to even, kept in range.
int PositionAtPoint(const TsuiTrackRange& range, int x, int controlWidth, int sliderWidth);

// A band of a push-button face stretched over what the corner pieces leave
// uncovered: the four edge strips between the corners and the centre. The
// edges take the face's middle row (or column) band over the corners' own
// columns (or rows); the centre takes the middle of both. Empty bands or
// targets have a zero width or height.
struct TsuiFaceStretch {
    TsuiRect source;
    TsuiRect target;
};
enum TsuiFaceEdge { EdgeTop = 0, EdgeBottom = 1, EdgeLeft = 2, EdgeRight = 3, EdgeCentre = 4 };
void ButtonEdgePieces(int sW, int sH, int dW, int dH, TsuiFaceStretch strips[5]);
