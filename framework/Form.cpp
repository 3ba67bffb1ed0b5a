#include "framework/Form.h"

#include <algorithm>
#include <stdexcept>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Unicode.h"

static const wchar_t kFormClass[] = L"TSnapquillForm";

static void RegisterFormClass(HINSTANCE instance)
{
    WNDCLASSW existing;
    if (GetClassInfoW(instance, kFormClass, &existing))
        return;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW; // replaced per window once created
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    if (!wc.hIcon)
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassW(&wc);
}

TForm::TForm() = default;

TForm::~TForm()
{
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void TForm::CreateForm(const TFormLayout& layout)
{
    HINSTANCE instance = Application.Instance();
    RegisterFormClass(instance);
    font_ = TGdiObject(CreateFontW(-layout.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, layout.fontName));
    handle_ = CreateWindowExW(layout.exStyle, kFormClass, Utf8ToWide(layout.caption).c_str(), layout.style,
                              layout.bounds.left, layout.bounds.top, layout.bounds.width, layout.bounds.height,
                              Application.Handle(), nullptr, instance, nullptr);
    if (!handle_)
        throw std::runtime_error("Cannot create the window");
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm::WindowProc));
}

bool TForm::Visible() const
{
    return handle_ && IsWindowVisible(handle_);
}

void TForm::SetVisible(bool value)
{
    if (Application.MainForm() == this)
        Application.MainFormShown(value);
    ShowWindow(handle_, value ? SW_SHOW : SW_HIDE);
}

void TForm::BringToFront()
{
    SetForegroundWindow(handle_);
    BringWindowToTop(handle_);
}

void TForm::Close()
{
    TCloseAction action = Application.MainForm() == this ? TCloseAction::Free : TCloseAction::Hide;
    if (OnClose)
        OnClose(action);
    if (action == TCloseAction::None)
        return;
    if (Application.MainForm() == this)
        Application.Terminate();
    else if (action == TCloseAction::Hide)
        Hide();
}

int TForm::Height() const
{
    return BoundsRect().height;
}

void TForm::SetHeight(int value)
{
    TBounds b = BoundsRect();
    SetWindowPos(handle_, nullptr, 0, 0, b.width, value, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::AnimateHeight(int target)
{
    for (int height = Height(); height != target; height = Height()) {
        int step = std::clamp(target - height, -5, 5);
        SetHeight(height + step);
        if (Height() == height)
            return; // the window refuses the size
        PumpWait(1);
    }
}

TBounds TForm::BoundsRect() const
{
    RECT r{};
    GetWindowRect(handle_, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

TControl* TForm::FindControl(HWND window) const
{
    for (TControl* control : controls_)
        if (window && control->Handle() == window)
            return control;
    return nullptr;
}

bool TForm::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may escape into the system's code: failures go to the
    // standard error box and the program carries on.
    LRESULT result = 0;
    RunGuarded([&] { result = form->Dispatch(message, wParam, lParam); });
    return result;
}

LRESULT TForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: {
        if (TControl* control = FindControl(reinterpret_cast<HWND>(lParam))) {
            control->Notify(message, HIWORD(wParam));
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC: {
        // Labels draw on the form's face without a box of their own.
        TControl* control = FindControl(reinterpret_cast<HWND>(lParam));
        if (!control || !control->IsLabel())
            break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            Application.Minimize();
            return 0;
        }
        break;
    case WM_DESTROY:
        Destroying();
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}
