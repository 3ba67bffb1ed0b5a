#include "core/BalloonLayout.h"

#include <algorithm>

namespace {

// Positions that depend only on the title top: the text below the title,
// the close picture beside it.
void PlaceBelowTitle(TBalloonLayout& l, const TBalloonLayoutInput& in, int titleTop, int iconTop, int closeTop)
{
    l.titleTop = in.scale.Position(titleTop);
    l.iconTop = in.scale.Position(iconTop);
    l.textTop = l.titleTop + in.title.height + in.scale.Length(8);
    l.closeTop = in.scale.Position(closeTop);
}

void PlaceForTray(TBalloonLayout& l, const TBalloonLayoutInput& in)
{
    PlaceBelowTitle(l, in, 12, 10, 6);
    l.height = l.textTop + l.textHeight + in.scale.Length(10);
    l.left = in.workArea.right - l.width;
    l.top = in.workArea.bottom - l.height;
    l.body = {0, 0, l.width, l.height};
}

// The pointer triangle and the body beside it, in the window's corner.
void PlacePointer(TBalloonLayout& l, const TDisplayScale& scale, bool left, bool upper)
{
    const int w = l.width, h = l.height;
    auto P = [&scale](int designed) { return scale.Position(designed); };
    auto L = [&scale](int designed) { return scale.Length(designed); };
    if (upper) {
        l.body = {0, P(18), w, h};
        l.corner = left ? TBalloonCorner::UpperLeft : TBalloonCorner::UpperRight;
        if (left)
            l.pointer = {{{P(20), P(2)}, {P(20), P(18)}, {P(30), P(18)}}};
        else
            l.pointer = {{{w - L(20), P(2)}, {w - L(20), P(18)}, {w - L(30), P(18)}}};
    } else {
        l.body = {0, 0, w, h - L(14)};
        l.corner = left ? TBalloonCorner::LowerLeft : TBalloonCorner::LowerRight;
        if (left)
            l.pointer = {{{P(20), h - L(16)}, {P(20), h}, {P(30), h - L(16)}}};
        else
            l.pointer = {{{w - L(30), h - L(16)}, {w - L(20), h}, {w - L(20), h - L(16)}}};
    }
}

void PlaceForControl(TBalloonLayout& l, const TBalloonLayoutInput& in)
{
    const TDisplayScale& scale = in.scale;
    const TBalloonRect& r = in.control;
    const int controlWidth = r.right - r.left;
    const int controlHeight = r.bottom - r.top;
    // C++ division truncates toward zero, as wanted for the halves.
    const bool left = in.screenWidth / 2 > controlWidth / 2 + r.left;
    const bool upper = in.screenHeight / 2 > controlHeight / 2 + r.top;

    const int titleTop = upper ? 28 : 12;
    PlaceBelowTitle(l, in, titleTop, upper ? 26 : 10, titleTop - 5);
    const int textBottom = l.textTop + l.textHeight;
    l.height = textBottom + scale.Length(upper ? 10 : 26);
    const int w = l.width;
    const int h = l.height;

    l.left = left ? r.left + controlWidth - scale.Length(23) : r.left - w + scale.Length(23);
    l.top = upper ? r.top + controlHeight - scale.Length(5) : r.top - h + scale.Length(5);
    PlacePointer(l, scale, left, upper);

    // Back onto the screen.
    if (l.left < 0)
        l.left = 0;
    if (l.left + w > in.screenWidth)
        l.left = in.screenWidth - w;
    if (l.top < 0)
        l.top = 0;
    if (l.top + h > in.screenHeight)
        l.top = in.screenHeight - h;
}

} // namespace

TBalloonLayout LayoutBalloon(const TBalloonLayoutInput& in)
{
    const TDisplayScale& scale = in.scale;
    TBalloonLayout l;
    l.textLeft = l.iconLeft = scale.Position(10);
    l.titleLeft = in.hasIcon ? scale.Position(34) : l.iconLeft;
    const int titleRight = l.titleLeft + in.title.width;

    // The text is wrapped at the title's width if that is wider, and at no
    // less than the minimum width.
    int wrapWidth = std::max(titleRight - l.textLeft, 0);
    wrapWidth = std::max(wrapWidth, scale.Length(kBalloonMinTextWidth));
    const TBalloonSize text = in.measureText ? in.measureText(wrapWidth) : TBalloonSize{};
    l.textWidth = text.width;
    l.textHeight = text.height;

    l.width = std::max(titleRight, l.textLeft + l.textWidth) + scale.Length(10);
    l.width = std::max(l.width, titleRight + scale.Length(5) + in.closeWidth + scale.Length(6));
    l.closeLeft = l.width - scale.Length(6) - in.closeWidth;
    l.cornerEllipse = scale.Length(kBalloonCornerEllipse);

    if (in.trayAnchor)
        PlaceForTray(l, in);
    else
        PlaceForControl(l, in);
    return l;
}

std::string BalloonTitleText(const std::string& title)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0;
    size_t last = title.size();
    while (first < last && blank(title[first]))
        ++first;
    while (last > first && blank(title[last - 1]))
        --last;
    return title.substr(first, last - first);
}
