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
    RECT client{};
    GetClientRect(Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    if (!buffer_ || bufferWidth_ != client.right || bufferHeight_ != client.bottom) {
        buffer_ = TGdiObject(CreateCompatibleBitmap(target, client.right, client.bottom));
        if (!buffer_)
            throw EOutOfResources("Out of system resources");
        bufferWidth_ = client.right;
        bufferHeight_ = client.bottom;
    }
    TMemoryDC memory(target, buffer_.Handle());
    if (transparent_)
        PaintParentBackground(*this, memory.Handle());
    else
        FillRect(memory.Handle(), &client, GetSysColorBrush(COLOR_BTNFACE));
    {
        // What Paint selects stays inside this block.
        const int saved = SaveDC(memory.Handle());
        Paint(memory.Handle(), client);
        RestoreDC(memory.Handle(), saved);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, memory.Handle(), 0, 0, SRCCOPY);
}

LRESULT TCustomControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            PaintBuffered(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            struct End {
                HWND window;
                PAINTSTRUCT* ps;
                ~End() { EndPaint(window, ps); }
            } end{Handle(), &ps};
            PaintBuffered(dc);
        }
        if (!wParam)
            Painted();
        return 0;
    case WM_MOUSEMOVE:
        if (!mouseInside_) {
            mouseInside_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&track);
            MouseEnter();
        }
        break;
    case WM_MOUSELEAVE:
        mouseInside_ = false;
        MouseLeave();
        break;
    case WM_GETDLGCODE:
        return DialogCode();
    case WM_SETFOCUS:
        FocusChanged(true);
        break;
    case WM_KILLFOCUS:
        FocusChanged(false);
        break;
    case WM_ENABLE:
        EnabledChanged(wParam != FALSE);
        break;
    case WM_SETTEXT:
        result = DefaultProc(message, wParam, lParam);
        TextChanged();
        Invalidate();
        return result;
    }
    if (ControlMessage(message, wParam, lParam, result))
        return result;
    return DefaultProc(message, wParam, lParam);
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
    const int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - corner.x, origin.y - corner.y, nullptr);
    IntersectClipRect(dc, 0, 0, parentClient.right, parentClient.bottom);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}
