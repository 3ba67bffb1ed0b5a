// The base of owner-painted controls: a window class of its own, painting
// through an off-screen bitmap of the control's size that is copied to the
// screen in one block (so a repaint never flickers), no background erase,
// mouse enter and leave, the dialog code, focus, tab stop and enabled state.
// A Transparent control first shows what lies behind it.
#pragma once

#include <windows.h>

#include "framework/Controls.h"
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
    // Every other message; return true when handled.
    virtual bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) final;

private:
    void PaintBuffered(HDC target);

    TGdiObject buffer_;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool transparent_ = false;
    bool mouseInside_ = false;
};

// Shows on dc, a device context of control's size, what the control's parent
// paints beneath it: the parent is sent an erase and a paint message with dc,
// its origin moved to the control's corner.
void PaintParentBackground(const TControl& control, HDC dc);
