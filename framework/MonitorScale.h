// The display scale of a place on the screen: the dots per inch of the
// monitor that holds the point (or, for a window, the monitor the window is
// on), as the program's scaling rule takes them. Popups that are not yet on
// the screen (menus, the message dialog, the balloon, hints) ask here where
// they are about to appear, so that each is drawn at the scale of its
// monitor. Where the system has no dots per inch per monitor, the system's
// own stand for every monitor.
#pragma once

#include <windows.h>

#include "core/DisplayScale.h"

TDisplayScale ScaleAtPoint(POINT at);
// The scale of the monitor that holds most of rect.
TDisplayScale ScaleOfRect(const RECT& rect);
