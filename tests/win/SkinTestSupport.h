// What the skin's Wine tests share: the application object, set up once
// per test program, a form that paints a known pattern behind the
// controls placed on it, and the test support library's input, waits and
// pixel reads.
#pragma once

#include <windows.h>

#include "framework/Application.h"
#include "framework/Form.h"
#include "imaging/GdiHandles.h"
#include "kit/Input.h"
#include "kit/Pump.h"
#include "kit/Screen.h"
#include "tests/win/TestApplication.h"

using namespace support;

constexpr COLORREF kStripeRed = RGB(255, 0, 0);
constexpr COLORREF kStripeBlue = RGB(0, 0, 255);

// A form that paints horizontal stripes, one pixel each, red on odd rows
// and blue on even ones, into whatever context it is given.
class StripedForm : public TForm {
public:
    explicit StripedForm(const TBounds& bounds = {40, 40, 200, 80}, DWORD exStyle = 0,
                         const wchar_t* fontName = L"Tahoma", int fontHeight = 11)
    {
        InitializeTestApplication();
        CreateForm({"stripes", bounds, WS_POPUP | WS_VISIBLE, exStyle, fontName, fontHeight});
    }
    ~StripedForm() override { DestroyHandle(); }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message == WM_ERASEBKGND) {
            result = 1;
            return true;
        }
        if (message != WM_PAINT)
            return false;
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(Handle(), &ps);
        const TBounds bounds = BoundsRect();
        for (int y = 0; y < bounds.height; ++y) {
            RECT row{0, y, bounds.width, y + 1};
            TGdiObject brush(CreateSolidBrush(y % 2 ? kStripeRed : kStripeBlue));
            FillRect(dc, &row, static_cast<HBRUSH>(brush.Handle()));
        }
        if (!wParam)
            EndPaint(Handle(), &ps);
        result = 0;
        return true;
    }
};
