// Draws the marks of a region's mark-up into 32-bit pixels, smooth: every
// stroke, curve and filled shape gives each pixel the share of it that the
// pixel holds (anti-aliasing), so edges look as the system's own smooth
// drawing does, on Windows and under Wine alike. Plain arithmetic on pixel
// memory: the window side hands in the bits of its own bitmap.
//
// Shapes: a rectangle's outline lies inside the dragged pixels (so a
// rectangle on whole pixels has hard edges of exactly its colour); an
// ellipse is the one inscribed in them; lines, arrows and pen strokes run
// between pixel centres with round ends; an arrow's head is a filled
// triangle at the release end. The marker is a translucent band that
// darkens like ink on paper (each channel multiplied by the colour's), so
// the text under it stays readable; where its stroke crosses itself it is no
// darker. A pixelated rectangle is filled with its blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "app/MarkupMarks.h"

// Pixels 0x00RRGGBB, row by row from the top, stride = width; the pixel at
// index 0 is the screen pixel (left, top).
struct TPixelSpan {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    TScreenRect Area() const { return {left, top, left + width, top + height}; }
};

// Draws the mark into target, touching only the pixels inside clip (and the
// target).
void DrawMark(TPixelSpan& target, const TMark& mark, const TScreenRect& clip);

// The pixels the mark may change, smooth edges and an arrow's head
// included: what must be drawn again when it appears, changes or goes.
TScreenRect MarkBounds(const TMark& mark);

// Blends ink of the given colour into target within clip.
void DrawCoverage(TPixelSpan& target, const TCoverage& ink, uint32_t colour, const TScreenRect& clip);

// The three corners of an arrow's head for a stroke of `width` pixels from
// `from` to `to` (pixel centres): the tip at to's centre, and the two back
// corners. Its length grows with the width and is at most half the arrow.
struct TArrowHead {
    double tipX, tipY, leftX, leftY, rightX, rightY;
};
TArrowHead ArrowHead(TScreenPoint from, TScreenPoint to, int width);

// The pen's stroke smoothed: the points as drawn, with the corners between
// them rounded off (what the pen draws, and what MarkBounds takes in).
struct TPathPoint {
    double x, y;
};
std::vector<TPathPoint> SmoothedStroke(const std::vector<TScreenPoint>& points);

// The rectangle a pixelate drag covers: the pixels from press to release,
// both included, grown to at least blockSize on each side and kept on the
// screen.
TScreenRect PixelateArea(TScreenPoint press, TScreenPoint release, int blockSize, const TScreenRect& screen);

// The blocks of a pixelated area: as many columns and rows as whole blocks
// fit (at least one), the pixels shared out so that every block is at least
// blockSize wide and high (when the area is). Edges of column i: left +
// i * width / columns.
int BlockCount(int length, int blockSize);
TScreenRect BlockRect(const TScreenRect& area, int blockSize, int column, int row);

// The average colour of every block of area, from source (which must hold
// area), row by row; each block is the mean of all its source pixels, so no
// pixel of the original survives inside a block of more than one pixel.
std::vector<uint32_t> BlockAverages(const TPixelSpan& source, const TScreenRect& area, int blockSize);
