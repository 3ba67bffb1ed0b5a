#include "framework/WindowIcons.h"

TIcon LoadProgramIcon(int size)
{
    return TIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, 0)));
}

void TWindowIcons::Apply(HWND window, UINT dpi)
{
    if (!window || dpi == 0 || dpi == dpi_)
        return;
    TIcon small = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    TIcon big = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXICON, dpi));
    if (!small || !big)
        return;
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Handle()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Handle()));
    small_ = std::move(small);
    big_ = std::move(big);
    dpi_ = dpi;
}
