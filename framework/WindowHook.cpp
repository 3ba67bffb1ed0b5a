#include "framework/WindowHook.h"

#include <commctrl.h>

#include <stdexcept>

#include "framework/Application.h"

TWindowHook::TWindowHook(HWND window, THandler handler) : window_(window), handler_(std::move(handler))
{
    if (!SetWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        throw std::runtime_error("Cannot hook the window");
}

TWindowHook::~TWindowHook()
{
    if (window_)
        RemoveWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this));
}

LRESULT TWindowHook::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK TWindowHook::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data)
{
    auto* hook = reinterpret_cast<TWindowHook*>(data);
    if (message == WM_NCDESTROY) {
        // The window goes before the hook: the chain ends here.
        RemoveWindowSubclass(window, Procedure, reinterpret_cast<UINT_PTR>(hook));
        hook->window_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = false;
    RunGuarded([&] {
        result = hook->handler_(message, wParam, lParam);
        handled = true;
    });
    return handled ? result : DefSubclassProc(window, message, wParam, lParam);
}
