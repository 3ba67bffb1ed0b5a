#include "skin/SUIHighContrast.h"

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

bool HighContrastMessage(UINT message, WPARAM wParam)
{
    return message == WM_SYSCOLORCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}
