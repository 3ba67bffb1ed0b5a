// The program's icon (MAINICON) on one window, at the sizes the window's
// display scale asks for: the small one for the caption and the taskbar
// button, the large one for Alt+Tab. The window class carries the icon at the
// system's scale only; a window on a monitor of another scale sets its own
// again when it moves there. The holder owns the icons and outlives the
// window's use of them: the old pair goes only once the window has the new.
#pragma once

#include <windows.h>

#include "imaging/GdiHandles.h"

class TWindowIcons {
public:
    // Sets the icons of the given scale on window; nothing when they are
    // already of that scale or cannot be loaded.
    void Apply(HWND window, UINT dpi);

private:
    TIcon small_;
    TIcon big_;
    UINT dpi_ = 0;
};

// MAINICON at size x size pixels, from the image of the nearest size.
TIcon LoadProgramIcon(int size);
