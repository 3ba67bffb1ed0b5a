#include "kit/PatternWindow.h"

#include "imaging/GdiHandles.h"
#include "kit/Screen.h"

namespace support {

namespace {

const wchar_t kPatternClass[] = L"SnapquillTestPattern";

// The quadrants of a client area, with their colours.
struct Quadrant {
    RECT rect;
    COLORREF colour;
};

void FillQuadrants(HDC dc, const RECT& client, const TQuadrants& c)
{
    const int w = client.right / 2, h = client.bottom / 2;
    const Quadrant quadrants[] = {
        {{0, 0, w, h}, c.topLeft},
        {{w, 0, client.right, h}, c.topRight},
        {{w, h, client.right, client.bottom}, c.bottomRight},
        {{0, h, w, client.bottom}, c.bottomLeft},
    };
    for (const Quadrant& q : quadrants) {
        TGdiObject brush(CreateSolidBrush(q.colour));
        FillRect(dc, &q.rect, static_cast<HBRUSH>(brush.Handle()));
    }
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    // A lone Alt press and release would open the window menu and hold the
    // test in its loop.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    auto* pattern = reinterpret_cast<PatternWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_CONTEXTMENU && pattern)
        pattern->CountContextMenu();
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    if (pattern)
        FillQuadrants(dc, client, pattern->Colours());
    EndPaint(window, &ps);
    return 0;
}

void RegisterPatternClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kPatternClass;
    registered = RegisterClassW(&wc) != 0;
}

} // namespace

PatternWindow::PatternWindow(POINT position, SIZE client, DWORD style, DWORD exStyle, const TQuadrants& colours)
    : client_(client), colours_(colours)
{
    RegisterPatternClass();
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    handle_ = CreateWindowExW(exStyle, kPatternClass, L"Snapquill test pattern", style, position.x, position.y,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!handle_)
        return;
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // A framed window may come out wider than asked (its title bar has a
    // minimum width); the pattern fills the client area it got.
    RECT got{};
    GetClientRect(handle_, &got);
    client_ = {got.right, got.bottom};
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
    UpdateWindow(handle_);
    PumpMessages();
}

PatternWindow::~PatternWindow()
{
    if (handle_)
        DestroyWindow(handle_);
    PumpMessages();
}

RECT PatternWindow::WindowRect() const
{
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return rect;
}

POINT PatternWindow::ClientOrigin() const
{
    POINT origin{0, 0};
    ClientToScreen(handle_, &origin);
    return origin;
}

bool PatternWindow::WaitUntilOnScreen(DWORD timeoutMs) const
{
    const int w = client_.cx, h = client_.cy;
    const struct {
        int x, y;
        COLORREF colour;
    } points[] = {
        {w / 4, h / 4, colours_.topLeft},
        {3 * w / 4, h / 4, colours_.topRight},
        {3 * w / 4, 3 * h / 4, colours_.bottomRight},
        {w / 4, 3 * h / 4, colours_.bottomLeft},
        {0, 0, colours_.topLeft},
        {w - 1, h - 1, colours_.bottomRight},
    };
    const COLORREF mask = ScreenColourMask();
    return WaitUntil(
        [&] {
            const POINT origin = ClientOrigin();
            for (const auto& p : points)
                if ((ScreenPixel({origin.x + p.x, origin.y + p.y}) & mask) != (p.colour & mask))
                    return false;
            return true;
        },
        timeoutMs);
}

bool PatternWindow::MakeForeground(DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == handle_)
                return true;
            SetForegroundWindow(handle_);
            return false;
        },
        timeoutMs);
}

} // namespace support
