// The program's hotkeys over its whole run: taken at start, each on its own;
// while one is missing, tried again every three seconds and whenever the
// window is shown; the notice that names the missing ones (with the offer
// to take PrintScreen back from Windows' screen capture); given back at the
// end. OnChanged tells the owner when the set of keys held changed, so that
// the tray icon's tip can name what is missing.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/HotKeys.h"
#include "framework/Timer.h"
#include "framework/Window.h"

class THotKeyKeeper {
public:
    // Registers on owner's window handle and keeps trying what is missing.
    void Start(HWND owner);
    // Gives every key back and stops trying.
    void Release();

    // Tries each key still missing.
    void TakeMissing();
    bool AllHeld() const { return keys_.AllHeld(); }
    // The tip text with a line that names the keys not held, if any.
    std::string TipWithMissing(const std::string& tip) const;
    // Says which keys are missing, modally for owner; with the screen
    // capture holding PrintScreen, offers to turn that off, and does so.
    void ShowNotice(const TWindow* owner);

    std::function<void()> OnChanged;

private:
    THotKeys keys_;
    TTimer retry_; // runs while a key is missing
};
