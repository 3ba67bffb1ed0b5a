// The program's menu from the keyboard: the Apps key or Shift+F10 pressed
// anywhere on a form (the form or any control on it) opens the menu below
// the form's title bar, where its round button opens it. Alt+Space is left
// alone, so the window menu stays where it is.
#pragma once

#include <windows.h>

#include <functional>

class TKeyboardMenu {
public:
    // form gives the form's window (it may not exist yet); open is called
    // when one of the keys goes down in it.
    TKeyboardMenu(std::function<HWND()> form, std::function<void()> open);
    ~TKeyboardMenu();
    TKeyboardMenu(const TKeyboardMenu&) = delete;
    TKeyboardMenu& operator=(const TKeyboardMenu&) = delete;

private:
    bool Message(const MSG& msg) const;

    std::function<HWND()> form_;
    std::function<void()> open_;
    int hook_;
};

// True for the keys that open a context menu: Apps, and F10 with Shift
// (and without Alt or Ctrl).
bool IsMenuKey(const MSG& msg);
