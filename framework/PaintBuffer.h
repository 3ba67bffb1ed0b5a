// How the program's windows paint without flicker: everything is drawn into
// an off-screen bitmap of the window's client size, which is kept and
// reused while that size stays the same, and then copied to the screen in
// one block. Owner-painted controls, the combo box, the hint window and the
// balloon window all paint this way.
#pragma once

#include <windows.h>

#include <functional>

#include "imaging/GdiHandles.h"

class TPaintBuffer {
public:
    // Draws on dc, the off-screen bitmap, what client (at 0, 0) shows.
    using TDraw = std::function<void(HDC dc, const RECT& client)>;

    // Paints window's client area through draw onto target. Nothing when
    // the client area is empty.
    void Paint(HWND window, HDC target, const TDraw& draw);
    // The same for WM_PAINT: onto the window between BeginPaint and
    // EndPaint.
    void Paint(HWND window, const TDraw& draw);

private:
    TGdiObject bitmap_;
    SIZE size_{0, 0};
};
