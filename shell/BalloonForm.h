// The notification icon's own balloon window, for shells without balloons or
// when the program asks for it: a small topmost window with a picture, a bold
// title, a word-wrapped text and a close picture, pointing at a control or
// sitting in the lower right corner of the work area. One per process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/BalloonLayout.h"
#include "shell/BalloonOwner.h"

// Shows the balloon anchored at the notification icon (trayAnchor) or at a
// window (controlAnchor); exactly one of them is given, otherwise nothing
// happens. The same balloon again while it exists only restarts its
// time-out. With fade the window fades in (and out again when hidden).
// timeoutMs <= 0 means no time-out.
void ShowOwnBalloon(const std::string& title, const std::string& text, TSxTrayIconInfoFlags flags, bool fade,
                    uint8_t alpha, int timeoutMs, IBalloonOwner* trayAnchor, HWND controlAnchor);
// Hides (with the owner's BalloonHidden) and destroys the balloon window.
void DestroyOwnBalloon();
// Destroys the balloon window if it belongs to owner, without telling the
// owner anything more: for an owner that is going away.
void DetachOwnBalloon(IBalloonOwner* owner);
bool OwnBalloonExists();
// The balloon window, or nullptr.
HWND OwnBalloonWindow();
// The balloon's current layout; false when there is no balloon window.
bool OwnBalloonLayout(TBalloonLayout& layout);
// Whether the balloon shows a picture beside its title.
bool OwnBalloonShowsPicture();
