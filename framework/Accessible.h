// Screen readers' access to the program's windows (Microsoft Active
// Accessibility). A window answers WM_GETOBJECT for its client area with an
// accessible object that asks the window, at every question, for its
// description and takes location, navigation, the parent,
// hit testing and child windows from the system's standard object of the
// same window. The object holds only the window handle: once the window has
// gone it answers that it is no longer there. Changes are told to readers
// with WinEvents.
#pragma once

#include <windows.h>

#include "framework/AccessibleInfo.h"

// Asks a window for its description now; false when it gives none (or has
// gone).
using TDescribeWindow = bool (*)(HWND window, TAccessibleInfo& info);

// The answer to WM_GETOBJECT: true with result set for the client area of a
// window that describes itself; false to leave the message to the window's
// default procedure.
bool AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, TDescribeWindow describe, LRESULT& result);

// Tells readers that the window's client object (or one of its parts, by
// child id) changed: EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE,
// EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_FOCUS.
void NotifyAccessible(HWND window, DWORD event, LONG child = CHILDID_SELF);

// The message a window is posted to carry out the default action of its
// client object (wParam: the child id): a reader's call returns at once
// and the action runs from the window's own message loop.
UINT AccessibleActionMessage();
