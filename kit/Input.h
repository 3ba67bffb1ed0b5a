// Keys and the pointer as a user's hand works them. Keys go through
// SendInput, so that they reach whichever window has the focus or holds a
// hotkey, in this process or another one on the same desktop. Pointer
// events carry their place in absolute coordinates: under Wine a press
// without one can land where the pointer was before it moved.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace support {

// Presses the keys in order and lets go of them in reverse, in one go:
// Press({VK_MENU, VK_SNAPSHOT}) is Alt+PrintScreen. True if every event
// went in.
bool Press(std::initializer_list<WORD> keys);
inline bool PressKey(WORD key)
{
    return Press({key});
}
// The keys pressed and let go twice in one go, faster than any program
// answers the first press.
bool PressTwice(std::initializer_list<WORD> keys);
// The same as Press at a hand's pace: a window that has only just been
// activated can miss a modifier pressed at once.
bool PressByHand(std::initializer_list<WORD> keys);
// Brings the window to the foreground, lets it settle and presses Enter.
bool PressEnterOn(HWND window);

// The pointer moved to p on the screen; buttons may add
// MOUSEEVENTF_LEFTDOWN or MOUSEEVENTF_LEFTUP at that place.
void MovePointer(POINT p, DWORD buttons = 0);
// The same anywhere on the virtual desktop, on every monitor (MovePointer
// reaches the primary monitor only).
void MovePointerOnDesktop(POINT p, DWORD buttons = 0);
// Puts the pointer at p and waits until it is there: under Wine it may
// bounce back to its old place for a moment. False if it never stays.
bool PlacePointer(POINT p);
// A left click at p, with the pauses a hand makes.
void ClickByHand(POINT p);
// Presses the left button at from, moves to `to` in the given number of
// steps and lets go there, with the pauses a hand makes. The pauses
// process this thread's messages; a drag that a window of this thread
// follows in a modal loop (moving a form) is made from another thread.
void DragByHand(POINT from, POINT to, int steps = 2);
// The centre of a window, on the screen.
POINT CentreOf(HWND window);
// The window that has the keyboard focus in that thread, in any process.
HWND FocusOf(DWORD threadId);

} // namespace support
