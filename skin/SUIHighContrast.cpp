#include "skin/SUIHighContrast.h"

#include <algorithm>

#include "imaging/GdiHandles.h"

#include "skin/SUIColors.h"

namespace {

std::optional<bool> overridden;

int SystemIndex(TsuiColorRole role)
{
    switch (role) {
    case TsuiColorRole::Window:
        return COLOR_WINDOW;
    case TsuiColorRole::WindowText:
        return COLOR_WINDOWTEXT;
    case TsuiColorRole::Highlight:
        return COLOR_HIGHLIGHT;
    case TsuiColorRole::HighlightText:
        return COLOR_HIGHLIGHTTEXT;
    case TsuiColorRole::ButtonFace:
        return COLOR_BTNFACE;
    case TsuiColorRole::ButtonText:
        return COLOR_BTNTEXT;
    }
    return COLOR_WINDOWTEXT;
}

} // namespace

bool HighContrastOn()
{
    if (overridden)
        return *overridden;
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

void OverrideHighContrast(std::optional<bool> on)
{
    overridden = on;
}

COLORREF SystemColor(TsuiColorRole role)
{
    return GetSysColor(SystemIndex(role));
}

COLORREF DrawnColor(uint32_t designed, TsuiColorRole role)
{
    return HighContrastOn() ? SystemColor(role) : ColorToRGB(designed);
}

uint32_t DrawnSkinColor(uint32_t designed, TsuiColorRole role)
{
    return HighContrastOn() ? 0xFF000000u | static_cast<uint32_t>(SystemIndex(role)) : designed;
}

void DrawSystemButtonFace(HDC dc, const RECT& client, int line)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    TGdiObject brush(CreateSolidBrush(SystemColor(TsuiColorRole::ButtonText)));
    const HBRUSH edge = static_cast<HBRUSH>(brush.Handle());
    const RECT sides[4] = {{client.left, client.top, client.right, client.top + line},
                           {client.left, client.bottom - line, client.right, client.bottom},
                           {client.left, client.top, client.left + line, client.bottom},
                           {client.right - line, client.top, client.right, client.bottom}};
    for (const RECT& side : sides)
        FillRect(dc, &side, edge);
}

void DrawSystemCheckBox(HDC dc, const TBounds& place, bool checked, bool enabled)
{
    const int side = std::min(place.width, place.height);
    RECT box{place.left, place.top + (place.height - side) / 2, place.left + side,
             place.top + (place.height - side) / 2 + side};
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (checked)
        state |= DFCS_CHECKED;
    if (!enabled)
        state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
}

bool HighContrastMessage(UINT message, WPARAM wParam)
{
    return message == WM_SYSCOLORCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}
