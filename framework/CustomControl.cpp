#include "framework/CustomControl.h"

#include <windowsx.h>

void TCustomControl::CreateCustom(TWindow& parent, const wchar_t* className, const TBounds& bounds,
                                  const std::string& text, DWORD style, HFONT font)
{
    // The class is registered once per name; the structure only serves the
    // registration.
    const TWindowClass windowClass{className, CS_DBLCLKS, nullptr};
    CreateOwnControl(parent, windowClass, style, 0, bounds, text, font);
}

void TCustomControl::SetTransparent(bool value)
{
    if (transparent_ == value)
        return;
    transparent_ = value;
    Invalidate();
}

void TCustomControl::Invalidate()
{
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

bool TCustomControl::ControlMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void TCustomControl::PaintBuffered(HDC target)
{
    buffer_.Paint(Handle(), target, [this](HDC dc, const RECT& client) {
        if (transparent_)
            PaintParentBackground(*this, dc);
        else
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        Paint(dc, client);
    });
}

LRESULT TCustomControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (BaseMessage(message, wParam, lParam, result) || InputMessage(message, wParam, lParam))
        return result;
    if (ControlMessage(message, wParam, lParam, result))
        return result;
    return DefaultProc(message, wParam, lParam);
}

bool TCustomControl::BaseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintMessage(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_GETDLGCODE:
        result = DialogCode();
        return true;
    case WM_SETTEXT:
        result = DefaultProc(message, wParam, lParam);
        TextChanged();
        Invalidate();
        return true;
    case WM_MOUSELEAVE:
        mouseInside_ = false;
        MouseLeave();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FocusChanged(message == WM_SETFOCUS);
        break;
    case WM_ENABLE:
        EnabledChanged(wParam != FALSE);
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle())
            CaptureLost();
        break;
    }
    return false;
}

bool TCustomControl::InputMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEMOVE:
        TrackMouse();
        return MouseMove(at);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return MouseDown(at, message == WM_LBUTTONDBLCLK);
    case WM_LBUTTONUP:
        return MouseUp(at);
    case WM_KEYDOWN:
        return KeyDown(static_cast<WORD>(wParam), (lParam & (1 << 30)) != 0);
    case WM_KEYUP:
        return KeyUp(static_cast<WORD>(wParam));
    }
    return false;
}

void TCustomControl::TrackMouse()
{
    if (mouseInside_)
        return;
    mouseInside_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    MouseEnter();
}

// WM_PAINT and WM_PRINTCLIENT: onto the given context, or the window's own.
void TCustomControl::PaintMessage(HDC given)
{
    if (given) {
        PaintBuffered(given);
        return;
    }
    {
        TPaintDC dc(Handle());
        PaintBuffered(dc.Handle());
    }
    Painted();
}

void PaintParentBackground(const TControl& control, HDC dc)
{
    HWND parent = GetParent(control.Handle());
    if (!parent)
        return;
    POINT corner{0, 0};
    MapWindowPoints(control.Handle(), parent, &corner, 1);
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    TSavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - corner.x, origin.y - corner.y, nullptr);
    IntersectClipRect(dc, 0, 0, parentClient.right, parentClient.bottom);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}
