#include "skin/SUIFrameGeometry.h"

#include <algorithm>

TsuiFrameFills FrameFills(int W, int H, int B, int T, int menuBarHeight)
{
    TsuiFrameFills fills;
    // The top edge gets no border colour: the title pictures form it.
    fills.border = {{0, 0, B, H}, {0, H - B, W, H}, {W - B, 0, W, H}};
    if (B < 4) {
        fills.face = {{B, T, 3, H - B}, {B, H - 3, W - B, H - B}, {W - 3, T, W - B, H - B}};
        if (menuBarHeight > 0)
            fills.menuBar = {{B, T + 3, 3, T + 3 + menuBarHeight}, {W - 3, T + 3, W - B, T + 3 + menuBarHeight}};
    }
    return fills;
}

std::vector<TsuiBlit> TitleStrips(int W, int B, int wL, int hL, int wR, int hR, int wC, int hC)
{
    std::vector<TsuiBlit> strips;
    const int strip = 3 - B;
    // The pictures lie where the title bar draws them, L's column 0 at x = 0
    // and R's at x = W - wR, so that the frame beside the bar is the
    // border's B columns and then the picture, as thick as below the bar.
    // Left: L's columns B to 3 at (B, 0).
    strips.push_back({{B, 0, B + strip, hL}, {B, 0, B + strip, hL}});
    // Right: R's columns wR - 3 to wR - B at (W - 3, 0); a picture
    // narrower than 3 is stretched into the strip instead.
    if (wR < 3)
        strips.push_back({{0, 0, wR, hR}, {W - 3, 0, W - 3 + strip, hR}});
    else
        strips.push_back({{wR - 3, 0, wR - 3 + strip, hR}, {W - 3, 0, W - 3 + strip, hR}});
    // Top: W - 5 wide and 3 high at (2, 0): L from its column 2, R so that
    // its column 0 falls at strip x = W - 2 - wR, C stretched between.
    const int stripLeft = 2, stripRight = W - 3;
    const int rightAt = stripLeft + (W - 2 - wR); // window x of R's column 0
    const int middleFrom = stripLeft + (wL - 2);  // window x where C begins
    auto clip = [&](TsuiBlit b) {
        // Keep the part of the target within the strip's columns and rows,
        // cutting the source alike (unstretched pieces only).
        const int cutLeft = std::max(0, stripLeft - b.target.left);
        const int cutRight = std::max(0, b.target.right - stripRight);
        b.source.left += cutLeft;
        b.target.left += cutLeft;
        b.source.right -= cutRight;
        b.target.right -= cutRight;
        b.source.bottom = b.source.top + std::min(3, b.source.Height());
        b.target.bottom = b.target.top + std::min(3, b.target.Height());
        return b;
    };
    strips.push_back(clip({{0, 0, wL, hL}, {0, 0, wL, hL}}));
    strips.push_back(clip({{0, 0, wR, hR}, {rightAt, 0, rightAt + wR, hR}}));
    // C keeps its full height in the stretch, so only its top 3 rows show.
    TsuiBlit middle{{0, 0, wC, hC}, {middleFrom, 0, rightAt, hC}};
    middle.target.bottom = 3;
    middle.source.bottom = std::min(3, hC);
    strips.push_back(middle);
    return strips;
}

TsuiRegionShape WindowRegionShape(int W, int H, int R)
{
    return {{0, 0, W + 1, H + 1}, R, {0, H - 2 * R, 2 * R, H}, {W - 2 * R, H - 2 * R, W, H}};
}

TsuiTitleLayout LayoutTitleBar(int barWidth, int buttonTop, int leftOffset, int rightOffset, int interval,
                               bool drawAppIcon, const std::vector<TsuiTitleButtonShape>& buttons)
{
    TsuiTitleLayout layout;
    layout.buttons.resize(buttons.size(), TsuiRect{0, 0, 0, 0});
    int x = barWidth + 1 + rightOffset;
    int controlBox = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const TsuiTitleButtonShape& b = buttons[i];
        if (!b.visible)
            continue;
        if (b.controlBox) {
            controlBox = static_cast<int>(i);
            continue;
        }
        x -= b.width + 1 + interval;
        layout.buttons[i] = {x, buttonTop, x + b.width, buttonTop + b.height};
    }
    int x2 = leftOffset;
    if (controlBox >= 0) {
        const TsuiTitleButtonShape& box = buttons[controlBox];
        if (drawAppIcon) {
            layout.buttons[controlBox] = {x2 + 3, buttonTop, x2 + 3 + 16, buttonTop + 16};
            x2 += 21;
        } else {
            layout.buttons[controlBox] = {x2, buttonTop, x2 + box.width, buttonTop + box.height};
            x2 += box.width + 5;
        }
    }
    if (x2 == 0)
        x2 = 6;
    layout.captionLeft = x2;
    layout.captionRoom = x - x2;
    return layout;
}

std::string ShortenCaption(const std::string& caption, int room, const std::function<int(const std::string&)>& width)
{
    if (width(caption) <= room)
        return caption;
    std::string shortened = caption;
    while (!shortened.empty()) {
        // One whole character off the end, never half of a UTF-8 one.
        while (!shortened.empty() && (static_cast<unsigned char>(shortened.back()) & 0xC0) == 0x80)
            shortened.pop_back();
        if (!shortened.empty())
            shortened.pop_back();
        if (width(shortened + "...") <= room)
            return shortened + "...";
    }
    return "...";
}
