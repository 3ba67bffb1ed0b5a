#include "skin/SUIGeometry.h"

#include <algorithm>
#include <cstdint>

TsuiFrameColumns FrameColumns(int stripWidth, int frameCount, int frameIndex)
{
    if (frameCount <= 0)
        return {0, stripWidth};
    const int width = stripWidth / frameCount;
    return {(frameIndex - 1) * width, width};
}

TsuiItemSize MeasureMenuItem(const TsuiMenuMetrics& metrics, bool separator, int captionWidth, int shortCutWidth)
{
    return {captionWidth + shortCutWidth + metrics.barWidth + 40,
            separator ? metrics.separatorHeight : metrics.itemHeight};
}


void ButtonCornerPieces(int sW, int sH, int dW, int dH, TsuiFacePiece pieces[4])
{
    // The corners' source and target rectangles, as the face is cut in
    // halves rounded down.
    const TsuiRect sources[4] = {{0, 0, sW / 2, sH / 2},
                                 {sW - sW / 2 + 1, 0, sW, sH / 2},
                                 {0, sH - sH / 2 + 1, sW / 2, sH},
                                 {sW - sW / 2 + 1, sH - sH / 2 + 1, sW, sH}};
    const TsuiRect targets[4] = {{0, 0, dW / 2, dH / 2},
                                 {dW - dW / 2 + 1, 0, dW, dH / 2},
                                 {0, dH - dH / 2 + 1, dW / 2, dH},
                                 {dW - dW / 2 + 1, dH - dH / 2 + 1, dW, dH}};
    for (int i = 0; i < 4; ++i) {
        const bool right = i == TopRight || i == BottomRight;
        const bool bottom = i == BottomLeft || i == BottomRight;
        const int w = std::max(0, std::min(sources[i].Width(), targets[i].Width()));
        const int h = std::max(0, std::min(sources[i].Height(), targets[i].Height()));
        TsuiRect s = sources[i];
        if (right)
            s.left = s.right - w;
        else
            s.right = s.left + w;
        if (bottom)
            s.top = s.bottom - h;
        else
            s.bottom = s.top + h;
        pieces[i] = {s, right ? targets[i].right - w : targets[i].left, bottom ? targets[i].bottom - h : targets[i].top};
    }
}

TsuiGlyphPlace PlaceGlyphAndText(TsuiButtonLayout layout, int W, int H, int gw, int gh, int tw, int th, int S)
{
    if (gw == 2 * gh)
        gw = gh; // two frames side by side
    TsuiGlyphPlace place{};
    switch (layout) {
    case blGlyphLeft:
        place.glyph = {(W - (tw + gw + S)) / 2, (H - gh) / 2};
        place.text = {place.glyph.x + gw + S, (H - th) / 2};
        break;
    case blGlyphRight:
        place.glyph = {(W + tw + S - gw) / 2, (H - gh) / 2};
        place.text = {place.glyph.x - tw - S, (H - th) / 2};
        break;
    case blGlyphTop:
        place.glyph = {(W - gw) / 2, (H - (th + gh + S)) / 2};
        place.text = {(W - tw) / 2, place.glyph.y + gh + S};
        break;
    case blGlyphBottom:
        place.glyph = {(W - gw) / 2, (H + th + S - gh) / 2};
        place.text = {(W - tw) / 2, place.glyph.y - th - S};
        break;
    }
    return place;
}

void TsuiTrackRange::SetMin(int value)
{
    min = std::min(value, max);
    position = std::clamp(position, min, max);
}

void TsuiTrackRange::SetMax(int value)
{
    max = std::max(value, min);
    position = std::clamp(position, min, max);
}

void TsuiTrackRange::SetPosition(int value)
{
    position = std::clamp(value, min, max);
}

void TsuiTrackRange::SetPageSize(int value)
{
    if (value >= 0 && value <= max)
        pageSize = value;
}

void TsuiTrackRange::SetLineSize(int value)
{
    if (value >= 0 && value <= max)
        lineSize = value;
}

int SliderLeft(const TsuiTrackRange& range, int controlWidth, int sliderWidth)
{
    if (range.max == range.min)
        return 0;
    return static_cast<int>(int64_t(controlWidth - sliderWidth) * (range.position - range.min) /
                            (range.max - range.min));
}

int SliderTop(int controlHeight, int sliderHeight)
{
    return std::max(0, controlHeight - sliderHeight) / 2;
}

// numerator / denominator rounded to the nearest integer, halves to even.
static int64_t DivideRoundingHalfToEven(int64_t numerator, int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

int PositionAtPoint(const TsuiTrackRange& range, int x, int controlWidth, int sliderWidth)
{
    const int track = controlWidth - sliderWidth;
    if (track <= 0)
        return range.min;
    // x - sliderWidth / 2 with the half kept exact: twice everything.
    const int64_t numerator = (2 * int64_t(x) - sliderWidth) * (range.max - range.min);
    const int64_t value = range.min + DivideRoundingHalfToEven(numerator, 2 * int64_t(track));
    return static_cast<int>(std::clamp<int64_t>(value, range.min, range.max));
}

// The face's middle band along one side of length s: from s/2 to s - s/2,
// and at least one row or column wide, so that a face of even size still
// covers the button between its corners.
static void MiddleBand(int s, int& from, int& to)
{
    from = s / 2;
    to = std::min(s, std::max(s - s / 2, from + 1));
}

void ButtonEdgePieces(int sW, int sH, int dW, int dH, TsuiFaceStretch strips[5])
{
    TsuiFacePiece corners[4];
    ButtonCornerPieces(sW, sH, dW, dH, corners);
    // The corner pieces on each side have the same width (left, right) and
    // height (top, bottom): together they make a grid of three columns and
    // three rows on the button.
    const int leftW = corners[TopLeft].source.Width();
    const int rightW = corners[TopRight].source.Width();
    const int topH = corners[TopLeft].source.Height();
    const int bottomH = corners[BottomLeft].source.Height();
    int midLeft, midRight, midTop, midBottom;
    MiddleBand(sW, midLeft, midRight);
    MiddleBand(sH, midTop, midBottom);
    const int x1 = leftW, x2 = dW - rightW;
    const int y1 = topH, y2 = dH - bottomH;
    strips[EdgeTop] = {{midLeft, 0, midRight, topH}, {x1, 0, x2, topH}};
    strips[EdgeBottom] = {{midLeft, sH - bottomH, midRight, sH}, {x1, y2, x2, dH}};
    strips[EdgeLeft] = {{0, midTop, leftW, midBottom}, {0, y1, leftW, y2}};
    strips[EdgeRight] = {{sW - rightW, midTop, sW, midBottom}, {x2, y1, dW, y2}};
    strips[EdgeCentre] = {{midLeft, midTop, midRight, midBottom}, {x1, y1, x2, y2}};
}

TsuiRect ScaleRect(const TDisplayScale& scale, const TsuiRect& designed)
{
    return {scale.Position(designed.left), scale.Position(designed.top), scale.Position(designed.right),
            scale.Position(designed.bottom)};
}
