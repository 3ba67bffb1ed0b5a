#include "skin/SUIFrameGeometry.h"

#include <algorithm>

TsuiFrameFills FrameFills(int W, int H, int B, int T, int menuBarHeight, int F)
{
    TsuiFrameFills fills;
    // The top edge gets no border colour: the title pictures form it.
    fills.border = {{0, 0, B, H}, {0, H - B, W, H}, {W - B, 0, W, H}};
    if (B <= F) {
        fills.face = {{B, T, F, H - B}, {B, H - F, W - B, H - B}, {W - F, T, W - B, H - B}};
        if (menuBarHeight > 0)
            fills.menuBar = {{B, T + F, F, T + F + menuBarHeight}, {W - F, T + F, W - B, T + F + menuBarHeight}};
    }
    return fills;
}

std::vector<TsuiBlit> TitleStrips(int W, int B, int wL, int hL, int wR, int hR, int wC, int hC, int F)
{
    std::vector<TsuiBlit> strips;
    const int strip = F - B;
    // The pictures lie where the title bar draws them, L's column 0 at x = 0
    // and R's at x = W - wR, so that the frame beside the bar is the
    // border's B columns and then the picture, as thick as below the bar.
    // Left: L's columns B to F at (B, 0).
    strips.push_back({{B, 0, B + strip, hL}, {B, 0, B + strip, hL}});
    // Right: R's columns wR - F to wR - B at (W - F, 0); a picture
    // narrower than F is stretched into the strip instead.
    if (wR < F)
        strips.push_back({{0, 0, wR, hR}, {W - F, 0, W - F + strip, hR}});
    else
        strips.push_back({{wR - F, 0, wR - F + strip, hR}, {W - F, 0, W - F + strip, hR}});
    // Top: W - 2F + 1 wide and F high at (F - 1, 0): L from its column
    // F - 1, R so that its column 0 falls at strip x = W - (F - 1) - wR, C
    // stretched between.
    const int stripLeft = F - 1, stripRight = W - F;
    const int rightAt = stripLeft + (W - stripLeft - wR); // window x of R's column 0
    const int middleFrom = stripLeft + (wL - stripLeft);  // window x where C begins
    auto clip = [&](TsuiBlit b) {
        // Keep the part of the target within the strip's columns and rows,
        // cutting the source alike (unstretched pieces only).
        const int cutLeft = std::max(0, stripLeft - b.target.left);
        const int cutRight = std::max(0, b.target.right - stripRight);
        b.source.left += cutLeft;
        b.target.left += cutLeft;
        b.source.right -= cutRight;
        b.target.right -= cutRight;
        b.source.bottom = b.source.top + std::min(F, b.source.Height());
        b.target.bottom = b.target.top + std::min(F, b.target.Height());
        return b;
    };
    strips.push_back(clip({{0, 0, wL, hL}, {0, 0, wL, hL}}));
    strips.push_back(clip({{0, 0, wR, hR}, {rightAt, 0, rightAt + wR, hR}}));
    // C keeps its full height in the stretch, so only its top F rows show.
    TsuiBlit middle{{0, 0, wC, hC}, {middleFrom, 0, rightAt, hC}};
    middle.target.bottom = F;
    middle.source.bottom = std::min(F, hC);
    strips.push_back(middle);
    return strips;
}

TsuiRegionShape WindowRegionShape(int W, int H, int R)
{
    return {{0, 0, W + 1, H + 1}, R, {0, H - 2 * R, 2 * R, H}, {W - 2 * R, H - 2 * R, W, H}};
}

TsuiTitleLayout LayoutTitleBar(int barWidth, int buttonTop, int leftOffset, int rightOffset, int interval,
                               bool drawAppIcon, const std::vector<TsuiTitleButtonShape>& buttons,
                               const TDisplayScale& scale)
{
    TsuiTitleLayout layout;
    layout.buttons.resize(buttons.size(), TsuiRect{0, 0, 0, 0});
    const int gap = scale.Length(1), icon = scale.Length(16);
    int x = barWidth + gap + rightOffset;
    int controlBox = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const TsuiTitleButtonShape& b = buttons[i];
        if (!b.visible)
            continue;
        if (b.controlBox) {
            controlBox = static_cast<int>(i);
            continue;
        }
        x -= b.width + gap + interval;
        layout.buttons[i] = {x, buttonTop, x + b.width, buttonTop + b.height};
    }
    int x2 = leftOffset;
    if (controlBox >= 0) {
        const TsuiTitleButtonShape& box = buttons[controlBox];
        if (drawAppIcon) {
            const int iconLeft = x2 + scale.Length(3);
            layout.buttons[controlBox] = {iconLeft, buttonTop, iconLeft + icon, buttonTop + icon};
            x2 = iconLeft + icon + scale.Length(2);
        } else {
            layout.buttons[controlBox] = {x2, buttonTop, x2 + box.width, buttonTop + box.height};
            x2 += box.width + scale.Length(5);
        }
    }
    if (x2 == 0)
        x2 = scale.Length(6);
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
