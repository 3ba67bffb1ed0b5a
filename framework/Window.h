// A window whose procedure is a method: every window of the program derives
// from TWindow. The object is bound to its window at WM_NCCREATE, so that it
// sees WM_CREATE and everything after; it lets go at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/AccessibleInfo.h"

class TWindow;

// What windows leave to the layers above them, which hand it in at
// start-up so that this file knows none of them: a failure that escapes a
// message handler is reported (the application shows its error box; until
// it is there, a plain message box), and owner-drawn menu items are
// measured and drawn, and their letters answered, by the menus, whichever
// window popped them up.
using TFailureReporter = void (*)(const std::string& message);
void SetFailureReporter(TFailureReporter reporter);
// True when the message was one of the menus' own.
using TMenuMessages = bool (*)(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
void SetMenuMessages(TMenuMessages handler);

// Runs a handler the way the message loop does: an exception that escapes it
// is reported and the program carries on.
void RunGuarded(const std::function<void()>& handler);

// A window's text as UTF-8.
std::string WindowText(HWND window);

// The class a kind of window registers once, on first use.
struct TWindowClass {
    const wchar_t* name;
    UINT style = 0;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr; // nullptr: the arrow
    HICON icon = nullptr;
};

struct TCreateParams {
    const TWindowClass* windowClass = nullptr; // nullptr: className names a system class
    const wchar_t* className = nullptr;
    const wchar_t* caption = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    UINT_PTR id = 0; // child windows: the control id
};

class TWindow {
public:
    TWindow() = default;
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const { return handle_; }

    // The program's object of a window, or nullptr (a window of the system
    // or of another program).
    static TWindow* FromHandle(HWND window);

    // Destroys the window now; the object stays. Derived classes call it
    // first in their destructors, so that the window's last messages reach
    // them whole.
    void DestroyHandle();

    // What the window tells screen readers, asked anew at each question;
    // false (the default): the system's standard object speaks for it.
    virtual bool Describe(TAccessibleInfo& /*info*/) { return false; }
    // A reader asked for the default action of the window (part 0) or of
    // one of its parts; it runs from the message loop.
    virtual void AccessibleAction(long /*part*/) {}

protected:
    // Creates the window. A window of the program's own class is bound
    // while it is created; a window of a system class (edit, button, ...)
    // is bound right after, for the notifications its parent reflects.
    void CreateHandle(const TCreateParams& params);

    // The object's message handling. The default passes the message on:
    // to DefWindowProc, or to the system class's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A notification this window sent its parent, reflected back to it
    // (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_CTLCOLOR*,
    // WM_DRAWITEM, WM_MEASUREITEM). Return true when handled.
    virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The window has gone (WM_NCDESTROY); Handle() is nullptr from here on.
    virtual void HandleDestroyed() {}

private:
    friend LRESULT CALLBACK TWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK TSystemClassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Unbind();

    HWND handle_ = nullptr;
    bool systemClass_ = false;
};
