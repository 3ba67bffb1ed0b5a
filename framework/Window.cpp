#include "framework/Window.h"

#include <commctrl.h>

#include <stdexcept>

#include "core/Unicode.h"
#include "framework/Accessible.h"

static const wchar_t kObjectProperty[] = L"Snapquill.Window";
static TFailureReporter failureReporter = nullptr;
static TMenuMessages menuMessages = nullptr;

LRESULT CALLBACK TWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TSystemClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data);

static void RegisterOnce(const TWindowClass& windowClass, HINSTANCE instance)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, windowClass.name, &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = TWindowProcedure;
    wc.hInstance = instance;
    wc.hIcon = windowClass.icon;
    wc.hCursor = windowClass.cursor ? windowClass.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (!RegisterClassExW(&wc))
        throw std::runtime_error("Cannot register a window class");
}

void SetFailureReporter(TFailureReporter reporter)
{
    failureReporter = reporter;
}

void SetMenuMessages(TMenuMessages handler)
{
    menuMessages = handler;
}

static void ReportFailure(const std::string& message)
{
    if (failureReporter)
        failureReporter(message);
    else
        MessageBoxW(nullptr, Utf8ToWide(message).c_str(), L"Error", MB_OK | MB_ICONSTOP);
}

void RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ReportFailure(error.what());
    } catch (...) {
        ReportFailure("Unknown error");
    }
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), length + 1));
    return WideToUtf8(text);
}

TWindow::~TWindow()
{
    DestroyHandle();
}

TWindow* TWindow::FromHandle(HWND window)
{
    return window ? static_cast<TWindow*>(GetPropW(window, kObjectProperty)) : nullptr;
}

void TWindow::CreateHandle(const TCreateParams& params)
{
    if (handle_)
        throw std::logic_error("The window exists already");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const wchar_t* className = params.className;
    if (params.windowClass) {
        RegisterOnce(*params.windowClass, instance);
        className = params.windowClass->name;
    }
    systemClass_ = params.windowClass == nullptr;
    HWND window = CreateWindowExW(params.exStyle, className, params.caption ? params.caption : L"", params.style,
                                  params.left, params.top, params.width, params.height, params.parent,
                                  reinterpret_cast<HMENU>(params.id), instance, systemClass_ ? nullptr : this);
    if (!window)
        throw std::runtime_error("Cannot create a window");
    if (systemClass_) {
        handle_ = window;
        SetPropW(window, kObjectProperty, this);
        SetWindowSubclass(window, TSystemClassProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    }
}

void TWindow::DestroyHandle()
{
    if (handle_)
        DestroyWindow(handle_);
    // A window that refused to go is let go of all the same: no message
    // may reach an object that is being destroyed.
    if (handle_)
        Unbind();
}

void TWindow::Unbind()
{
    if (!handle_)
        return;
    RemovePropW(handle_, kObjectProperty);
    if (systemClass_)
        RemoveWindowSubclass(handle_, TSystemClassProcedure, 0);
    handle_ = nullptr;
}

LRESULT TWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(message, wParam, lParam);
}

LRESULT TWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (systemClass_)
        return DefSubclassProc(handle_, message, wParam, lParam);
    return DefWindowProcW(handle_, message, wParam, lParam);
}

bool TWindow::Reflected(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

// The child a notification comes from, for the messages a child sends its
// parent.
static HWND NotifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : GetDlgItem(parent, static_cast<int>(wParam));
    }
    }
    return nullptr;
}

// What a reader is told of a window of the program, asked anew each time.
static bool DescribeWindow(HWND window, TAccessibleInfo& info)
{
    TWindow* object = TWindow::FromHandle(window);
    return object && object->Describe(info);
}

bool TWindow::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = NotifyingChild(handle_, message, wParam, lParam);
    if (!child || child == handle_ || GetParent(child) != handle_)
        return false;
    TWindow* control = FromHandle(child);
    return control && control->Reflected(message, wParam, lParam, result);
}

LRESULT TWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result))
        return result;
    if (message == WM_GETOBJECT && AnswerAccessibleObject(handle_, wParam, lParam, DescribeWindow, result))
        return result;
    if (message == AccessibleActionMessage()) {
        AccessibleAction(static_cast<long>(wParam));
        return 0;
    }
    // Owner-drawn menu items are measured and drawn by their menu, and its
    // keys answered, whichever window popped it up.
    if (menuMessages && menuMessages(message, wParam, lParam, result))
        return result;
    return WindowProc(message, wParam, lParam);
}

LRESULT CALLBACK TWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWindow* object = TWindow::FromHandle(window);
    if (message == WM_NCCREATE) {
        object = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (object) {
            object->handle_ = window;
            SetPropW(window, kObjectProperty, object);
        }
    }
    if (!object)
        return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may escape into the system's code: failures go to the
    // standard error box.
    LRESULT result = 0;
    RunGuarded([&] { result = object->Dispatch(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        object->Unbind();
        RunGuarded([object] { object->HandleDestroyed(); });
    }
    return result;
}

LRESULT CALLBACK TSystemClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data)
{
    auto* object = reinterpret_cast<TWindow*>(data);
    if (message == WM_NCDESTROY) {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        object->Unbind();
        RunGuarded([object] { object->HandleDestroyed(); });
        return result;
    }
    LRESULT result = 0;
    RunGuarded([&] { result = object->Dispatch(message, wParam, lParam); });
    return result;
}
