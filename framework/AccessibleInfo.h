// What a window of the program tells screen readers about itself: its
// name, role, states, value, description and default action, and the parts
// of it that are not windows of their own (a title bar's buttons). Plain
// data: a window fills it each time a reader asks (TWindow::Describe), so
// what the reader gets is always the window's present state. The roles and
// states are those of Microsoft Active Accessibility (ROLE_SYSTEM_*,
// STATE_SYSTEM_*).
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <optional>
#include <string>
#include <vector>

// A part of a window that is no window of its own; its child id is its
// index in the window's parts plus one.
struct TAccessiblePart {
    std::wstring name;
    long role = ROLE_SYSTEM_PUSHBUTTON;
    long state = 0;
    RECT bounds{}; // in the window's client area
    std::wstring defaultAction;
};

struct TAccessibleInfo {
    // Made and ended in one place (Accessible.cpp): every question of a
    // reader makes one.
    TAccessibleInfo();
    ~TAccessibleInfo();
    std::wstring name;
    long role = ROLE_SYSTEM_CLIENT;
    // Added to what the window itself shows (focused, focusable,
    // unavailable, invisible).
    long state = 0;
    // Nothing: the window has no value.
    std::optional<std::wstring> value;
    std::wstring description;
    std::wstring defaultAction;
    std::vector<TAccessiblePart> parts;
};
