// The base of owner-painted controls: a window class of its own, painting
// through an off-screen bitmap of the control's size that is copied to the
// screen in one block (so a repaint never flickers), no background erase,
// mouse enter and leave, the left mouse button, moves and keys as methods,
// the dialog code, focus, tab stop and enabled state. A Transparent control
// first shows what lies behind it.
//
// How a message reaches a control: the base answers painting, erasing,
// WM_GETDLGCODE and WM_SETTEXT itself. A left button press, release or
// double click, a move, a key going down or up calls its method; a method
// that returns true has handled the message, which is answered 0 and goes
// no further. Every other message, and those whose method returned false,
// goes next to ControlMessage (after the notification methods: mouse enter
// and leave, focus, enabled, capture lost), and from there, unless it
// returns true, to the default window procedure.
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "framework/PaintBuffer.h"
#include "imaging/GdiHandles.h"

class TCustomControl : public TControl {
public:
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool MouseInside() const { return mouseInside_; }
    // Repaints the whole control.
    void Invalidate();

protected:
    // className names the kind of control; each kind registers its class.
    void CreateCustom(TWindow& parent, const wchar_t* className, const TBounds& bounds, const std::string& text,
                      DWORD style = 0, HFONT font = nullptr);

    // Draws the control on dc, which is the off-screen bitmap (with the
    // parent's background already on it when Transparent).
    virtual void Paint(HDC dc, const RECT& client) = 0;
    // After the control has been painted on the screen (not when it drew
    // itself as another control's background).
    virtual void Painted() {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void FocusChanged(bool /*focused*/) { Invalidate(); }
    virtual void EnabledChanged(bool /*enabled*/) { Invalidate(); }
    virtual void TextChanged() {}
    // The answer to WM_GETDLGCODE.
    virtual UINT DialogCode() { return 0; }
    // The left mouse button at a point of the client area (a double click
    // comes in place of the second press); true: handled.
    virtual bool MouseDown(POINT /*at*/, bool /*doubleClick*/) { return false; }
    virtual bool MouseUp(POINT /*at*/) { return false; }
    // Also while the control holds the mouse, outside it.
    virtual bool MouseMove(POINT /*at*/) { return false; }
    // repeated: the key was already down (its auto-repeat).
    virtual bool KeyDown(WORD /*key*/, bool /*repeated*/) { return false; }
    virtual bool KeyUp(WORD /*key*/) { return false; }
    // The control held the mouse and another window (or none) has it now:
    // a press in progress ends without a click.
    virtual void CaptureLost() {}
    // The raw fallback: any message not handled above; true when handled,
    // with result the answer.
    virtual bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) final;

private:
    // The messages the base answers or turns into method calls; true when
    // answered.
    bool BaseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool InputMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintMessage(HDC given);
    void TrackMouse();
    void PaintBuffered(HDC target);

    TPaintBuffer buffer_;
    bool transparent_ = false;
    bool mouseInside_ = false;
};

// Shows on dc, a device context of control's size, what the control's parent
// paints beneath it: the parent is sent an erase and a paint message with dc,
// its origin moved to the control's corner.
void PaintParentBackground(const TControl& control, HDC dc);
