// A hook on a window's procedure: a component joins the chain of handlers
// of a window it does not own (a form it changes the look of), sees every
// message first and forwards what it does not take to the procedure that
// was there before. Leaving the chain (destruction) puts that one back.
#pragma once

#include <windows.h>

#include <functional>

class TWindowHook {
public:
    using THandler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    TWindowHook(HWND window, THandler handler);
    ~TWindowHook();
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;

    HWND Window() const { return window_; }
    // The procedure that was there before this hook.
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
    HWND window_;
    THandler handler_;
};
