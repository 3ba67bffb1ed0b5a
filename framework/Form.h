// A top-level window of the program, with its controls and event handlers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/GdiHandles.h"

class TControl;

struct TBounds {
    int left;
    int top;
    int width;
    int height;
};

// What a form looks like when it is created.
struct TFormLayout {
    std::string caption;
    TBounds bounds;   // outer position and size, in screen pixels
    DWORD style;      // window style bits
    DWORD exStyle;    // extended style bits
    const wchar_t* fontName;
    int fontHeight;   // in pixels
};

enum class TCloseAction { None, Hide, Free };

class TForm {
public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return handle_; }
    HFONT Font() const { return static_cast<HFONT>(font_.Handle()); }

    bool Visible() const;
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void BringToFront();
    // Asks the form to close: OnClose decides; the main form ends the program.
    void Close();

    int Height() const;
    void SetHeight(int value);
    // Moves the outer height to target in steps of 5 pixels (the last one
    // shorter if need be), processing messages between steps; an animation
    // started meanwhile runs to its own target first, then this one goes on
    // from there.
    void AnimateHeight(int target);
    TBounds BoundsRect() const;

    std::function<void(TCloseAction& action)> OnClose;

    // Controls register themselves so that their notifications reach them.
    void AddControl(TControl* control) { controls_.push_back(control); }
    // The control with this window handle, or nullptr.
    TControl* FindControl(HWND window) const;

protected:
    // Creates the window; called by the derived form's constructor.
    void CreateForm(const TFormLayout& layout);
    // The derived form's own message handling; return true when handled.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called by the window procedure for WM_DESTROY before the window goes.
    virtual void Destroying() {}

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    TGdiObject font_;
    std::vector<TControl*> controls_;
};
