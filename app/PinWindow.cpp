#include "app/PinWindow.h"

#include <algorithm>

#include "core/Unicode.h"
#include "framework/Resources.h"
#include "imaging/GdiHandles.h"
#include "resources/StringIds.h"

namespace {

const TWindowClass& PinClass()
{
    static const TWindowClass windowClass{L"SnapquillPin", CS_DBLCLKS | CS_DROPSHADOW, nullptr,
                                          LoadCursorW(nullptr, IDC_SIZEALL)};
    return windowClass;
}

bool ControlDown()
{
    return GetKeyState(VK_CONTROL) < 0;
}

} // namespace

TPinWindow::TPinWindow(const TBitmap& picture, const TScreenRect& place) : picture_(picture), canvas_(picture_)
{
    CreateHandle({&PinClass(), nullptr, L"Snapquill pin", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, place.left,
                  place.top, picture_.Width(), picture_.Height()});
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(Handle());
}

TPinWindow::~TPinWindow()
{
    DestroyHandle();
}

LRESULT TPinWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        // Dragged anywhere, the pin moves as a caption would.
        return HTCAPTION;
    case WM_NCLBUTTONDBLCLK:
    case WM_LBUTTONDBLCLK:
        Close();
        return 0;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    }
    return TWindow::WindowProc(message, wParam, lParam);
}

void TPinWindow::Paint()
{
    TPaintDC dc(Handle());
    if (dc.Handle())
        BitBlt(dc.Handle(), 0, 0, picture_.Width(), picture_.Height(), canvas_.Handle(), 0, 0, SRCCOPY);
}

void TPinWindow::KeyDown(WPARAM key)
{
    if (key == VK_ESCAPE)
        Close();
    else if (key == 'C' && ControlDown() && OnCopy)
        OnCopy(picture_);
    else if (key == 'S' && ControlDown() && OnSave)
        OnSave(picture_);
}

void TPinWindow::Close()
{
    if (closed_)
        return;
    closed_ = true;
    ShowWindow(Handle(), SW_HIDE);
    if (OnClosed)
        OnClosed();
}

bool TPinWindow::Describe(TAccessibleInfo& info)
{
    info.name = Utf8ToWide(LoadStr(IDS_PIN_NAME));
    info.role = ROLE_SYSTEM_GRAPHIC;
    return true;
}

TPinBoard::TPinBoard()
{
    reaper_.SetInterval(USER_TIMER_MINIMUM);
    reaper_.OnTimer = [this] { RemoveClosed(); };
}

void TPinBoard::Pin(const TBitmap& picture, const TScreenRect& place)
{
    auto pin = std::make_unique<TPinWindow>(picture, place);
    pin->OnSave = [this](const TBitmap& shot) {
        if (OnSave)
            OnSave(shot);
    };
    pin->OnCopy = [this](const TBitmap& shot) {
        if (OnCopy)
            OnCopy(shot);
    };
    pin->OnClosed = [this] { reaper_.SetEnabled(true); };
    pins_.push_back(std::move(pin));
}

size_t TPinBoard::Count() const
{
    return pins_.size();
}

void TPinBoard::RemoveClosed()
{
    reaper_.SetEnabled(false);
    std::erase_if(pins_, [](const std::unique_ptr<TPinWindow>& pin) { return pin->Closed(); });
}
