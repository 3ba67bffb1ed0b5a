// A top-level window of the program: its controls, closing, modal runs,
// key preview and the dialog keys.
#pragma once

#include <windows.h>

#include "core/Bounds.h"

#include <functional>
#include <string>

#include "framework/Input.h"
#include "framework/Window.h"
#include "framework/WindowIcons.h"
#include "imaging/GdiHandles.h"

class TControl;


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

// Results of a modal run; 0 while it goes on.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };


class TForm : public TWindow {
public:
    TForm() = default;
    ~TForm() override;

    HFONT Font() const { return static_cast<HFONT>(font_.Handle()); }
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    bool Visible() const;
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void BringToFront();
    // Asks the form to close: OnClose decides. The main form ends the
    // program, a modal form ends its run with mrCancel, any other form is
    // hidden or, with TCloseAction::Free, its window released.
    void Close();

    // Shows the form, keeps the program's other windows disabled until
    // ModalResult is set (by a button, Close or the handler), hides it again
    // and returns the result.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    bool Modal() const { return modal_; }

    // With KeyPreview the form's OnKeyDown sees keys before the focused
    // control; setting the key to 0 swallows it.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    std::function<void(WORD& key, TShiftState shift)> OnKeyDown;
    // Called by the message loop for a key meant for one of its controls.
    void PreviewKeyDown(WORD& key);

    int Height() const;
    void SetHeight(int value);
    // Moves the outer height to target in steps of 5 pixels (the last one
    // shorter if need be), processing messages between steps. The last
    // request wins: one made meanwhile (by a handler run between the steps)
    // only turns the running animation toward its own target and returns.
    void AnimateHeight(int target);
    // How many pixels the animation moves the height by at each step.
    void SetHeightStep(int pixels) { heightStep_ = pixels; }
    TBounds BoundsRect() const;
    // The smallest outer size the user can give the form.
    void SetMinWidth(int value) { minWidth_ = value; }
    void SetMinHeight(int value) { minHeight_ = value; }
    int ClientWidth() const;
    int ClientHeight() const;

    // The control that has or last had the keyboard focus: remembered when
    // the form is deactivated and given the focus back when it is activated
    // again; nullptr when none of its controls had it.
    HWND FocusedControl() const;

    std::function<void(TCloseAction& action)> OnClose;
    // Runs while the window is destroyed, its controls still there.
    std::function<void()> OnDestroy;

    // The form of a window of the program (the window itself or one of its
    // controls), or nullptr.
    static TForm* FormOf(HWND window);

protected:
    // Creates the window; called by the derived form's constructor.
    void CreateForm(const TFormLayout& layout);
    // The derived form's own message handling; return true when handled.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RememberFocus();
    bool RestoreFocus();
    void StepHeightToTarget();

    TGdiObject font_;
    TWindowIcons icons_;
    int modalResult_ = mrNone;
    bool modal_ = false;
    bool keyPreview_ = false;
    int minWidth_ = 0;
    int minHeight_ = 0;
    HWND focused_ = nullptr;
    int heightTarget_ = 0;
    int heightStep_ = 5;
    bool animatingHeight_ = false;
};
