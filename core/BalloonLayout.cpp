#include "core/BalloonLayout.h"

#include <algorithm>

namespace {

// Positions that depend only on the title top: the text below the title,
// the close picture beside it.
void PlaceBelowTitle(TBalloonLayout& l, const TBalloonLayoutInput& in, int titleTop, int iconTop, int closeTop)
{
    l.titleTop = titleTop;
    l.iconTop = iconTop;
    l.textTop = titleTop + in.title.height + 8;
    l.closeTop = closeTop;
}

void PlaceForTray(TBalloonLayout& l, const TBalloonLayoutInput& in)
{
    PlaceBelowTitle(l, in, 12, 10, 6);
    l.height = l.textTop + l.textHeight + 10;
    l.left = in.workArea.right - l.width;
    l.top = in.workArea.bottom - l.height;
    l.body = {0, 0, l.width, l.height};
}

void PlaceForControl(TBalloonLayout& l, const TBalloonLayoutInput& in)
{
    const TBalloonRect& r = in.control;
    const int controlWidth = r.right - r.left;
    const int controlHeight = r.bottom - r.top;
    // C++ division truncates toward zero, as wanted for the halves.
    const bool left = in.screenWidth / 2 > controlWidth / 2 + r.left;
    const bool upper = in.screenHeight / 2 > controlHeight / 2 + r.top;

    const int titleTop = upper ? 28 : 12;
    PlaceBelowTitle(l, in, titleTop, upper ? 26 : 10, titleTop - 5);
    const int textBottom = l.textTop + l.textHeight;
    l.height = textBottom + (upper ? 10 : 26);
    const int w = l.width;
    const int h = l.height;

    l.left = left ? r.left + controlWidth - 23 : r.left - w + 23;
    l.top = upper ? r.top + controlHeight - 5 : r.top - h + 5;
    if (upper) {
        l.body = {0, 18, w, h};
        l.corner = left ? TBalloonCorner::UpperLeft : TBalloonCorner::UpperRight;
        if (left)
            l.pointer = {{{20, 2}, {20, 18}, {30, 18}}};
        else
            l.pointer = {{{w - 20, 2}, {w - 20, 18}, {w - 30, 18}}};
    } else {
        l.body = {0, 0, w, h - 14};
        l.corner = left ? TBalloonCorner::LowerLeft : TBalloonCorner::LowerRight;
        if (left)
            l.pointer = {{{20, h - 16}, {20, h}, {30, h - 16}}};
        else
            l.pointer = {{{w - 30, h - 16}, {w - 20, h}, {w - 20, h - 16}}};
    }

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
    TBalloonLayout l;
    l.titleLeft = in.hasIcon ? 34 : l.iconLeft;
    const int titleRight = l.titleLeft + in.title.width;

    // The text is wrapped at the title's width if that is wider, and at no
    // less than the minimum width.
    int wrapWidth = std::max(titleRight - l.textLeft, 0);
    wrapWidth = std::max(wrapWidth, kBalloonMinTextWidth);
    const TBalloonSize text = in.measureText ? in.measureText(wrapWidth) : TBalloonSize{};
    l.textWidth = text.width;
    l.textHeight = text.height;

    l.width = std::max(titleRight, l.textLeft + l.textWidth) + 10;
    l.width = std::max(l.width, titleRight + 5 + in.closeWidth + 6);
    l.closeLeft = l.width - 6 - in.closeWidth;

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
