// A window of the test's own with a known picture, for shots to be checked
// against: its client area shows four solid quadrants. It is served
// whenever the test waits through Pump.h, and swallows the menu key that a
// lone Alt would set off, so that Alt+PrintScreen never leaves it in the
// window menu's loop.
#pragma once

#include <windows.h>

#include "kit/Pump.h"

namespace support {

// The quadrants' colours, clockwise from the top left.
struct TQuadrants {
    COLORREF topLeft, topRight, bottomRight, bottomLeft;
};

// Colours far from each other and from the desktop's.
constexpr TQuadrants kPatternColours{RGB(0xE0, 0x20, 0x40), RGB(0x20, 0xB0, 0x50), RGB(0xF0, 0xC8, 0x10),
                                     RGB(0x30, 0x50, 0xD0)};

class PatternWindow {
public:
    PatternWindow(POINT position, SIZE client, DWORD style, DWORD exStyle,
                  const TQuadrants& colours = kPatternColours);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    HWND Handle() const { return handle_; }
    const TQuadrants& Colours() const { return colours_; }
    RECT WindowRect() const;
    POINT ClientOrigin() const; // on the screen
    SIZE ClientSize() const { return client_; } // as it came out

    // Waits until the screen shows the pattern where the window is, in the
    // bits a channel keeps at the screen's depth.
    bool WaitUntilOnScreen(DWORD timeoutMs = kPatience) const;
    // Makes the window the foreground window and waits until it is.
    bool MakeForeground(DWORD timeoutMs = kPatience) const;
    // How often the window was asked for its context menu (a right button
    // released over it, the Apps key).
    int ContextMenus() const { return contextMenus_; }
    void CountContextMenu() { ++contextMenus_; }

private:
    HWND handle_ = nullptr;
    SIZE client_{};
    TQuadrants colours_;
    int contextMenus_ = 0;
};

} // namespace support
