// The skinned push button and check box: owner-painted controls that draw
// their faces from the pictures of their style.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/CustomControl.h"
#include "framework/Timer.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIGeometry.h"
#include "skin/SUIColors.h"
#include "skin/SUIThemes.h"

// A push button with a face of three frames (normal, mouse inside, pressed)
// stretched to its size around unscaled corners.
// A button's look besides its pictures: the colour behind its face (shown
// only when not transparent; the style says whether it is), whether it
// takes its face's size, and its focus rectangle's distance from the edge.
struct TsuiButtonLook {
    uint32_t color = clBtnFace;
    bool transparent = false;
    bool autoSize = false;
    int focusedRectMargin = 2;
};

// A check box's look besides its pictures: its background (not drawn when
// transparent) and whether it fits its glyph and caption.
struct TsuiCheckBoxLook {
    uint32_t color = clBtnFace;
    bool transparent = false;
    bool autoSize = true;
};

class TsuiCustomButton : public TCustomControl, public TsuiStyled {
public:
    TsuiCustomButton() = default;
    ~TsuiCustomButton() override;

    // The style comes from the form's skinned frame, when it has one.
    void Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font = nullptr);

    TsuiButtonLook Look() const { return {color_, Transparent(), autoSize_, focusedRectMargin_}; }
    void SetLook(const TsuiButtonLook& look);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& value) { SetText(value); }
    // Takes the face's size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Behind the face when not Transparent (0x00BBGGRR or a system colour).
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value);
    // What a click sets the owning form's modal result to.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    // The dotted focus rectangle's distance from the edge.
    int FocusedRectMargin() const { return focusedRectMargin_; }
    void SetFocusedRectMargin(int value);
    // How often OnMouseContinuouslyDown fires while the mouse holds the
    // button down.
    int MouseContinuouslyDownInterval() const { return repeatInterval_; }
    void SetMouseContinuouslyDownInterval(int value);

    bool Pressed() const { return pressed_; }
    // The mouse is over the button, as its moves tell (also while it holds
    // the mouse).
    bool MouseInside() const { return mouseInside_; }
    // What a click does: the button takes the focus, the form's modal
    // result becomes ModalResult, then OnClick.
    void Click();
    // Enter while the button has the focus presses it; the release clicks.
    bool DialogKey(WORD key, bool focused) override;
    // What screen readers are told of it, and their default action.
    bool Describe(TAccessibleInfo& info) override;
    void AccessibleAction(long part) override;

    std::function<void()> OnClick;
    std::function<void()> OnMouseContinuouslyDown;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;

protected:
    void Restyle(TsuiRestyle what) override;
    void Paint(HDC dc, const RECT& client) override;
    // Draws what goes beside the caption and says where the caption of the
    // given size goes; nothing: centred.
    virtual std::optional<POINT> PaintGlyph(HDC dc, const RECT& client, SIZE text, bool pressed);

    void MouseLeave() override;
    void FocusChanged(bool focused) override;
    void EnabledChanged(bool enabled) override;
    // Held down by the mouse while it is over the button; the release over
    // it clicks. Space and Enter hold it down until they go up.
    bool MouseMove(POINT at) override;
    bool MouseDown(POINT at, bool doubleClick) override;
    bool MouseUp(POINT at) override;
    void CaptureLost() override;
    bool KeyDown(WORD key, bool repeated) override;
    bool KeyUp(WORD key) override;
    // BM_CLICK and WM_SETFONT.
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Enter();
    void Leave();
    // Held down by a key (VK_SPACE, VK_RETURN) or, with 0, by the mouse.
    void Press(WORD key);
    // No longer held down; the repeat timer stops.
    void Unpress();
    void AdjustSize();
    void PaintFace(HDC dc, const RECT& client);
    void PaintCaption(HDC dc, const RECT& client, bool bold);

    TsuiResolvedStyle drawn_{false, DeepBlue}; // where the pictures came from
    TGdiObject faces_[3];                      // normal, mouse inside, pressed
    SIZE stripSize_{0, 0};
    bool autoSize_ = false;
    uint32_t color_ = clBtnFace;
    int modalResult_ = 0;
    int focusedRectMargin_ = 2;
    int repeatInterval_ = 100;
    bool mouseInside_ = false;
    bool mouseDown_ = false; // the left button went down on the button
    bool pressed_ = false;
    WORD pressedKey_ = 0; // the key holding the button down; 0: the mouse
    TTimer repeat_;       // runs only while the mouse holds the button down
};

// The button of forms: Enter and Escape, and a glyph beside the caption.
class TsuiButton : public TsuiCustomButton {
public:
    ~TsuiButton() override { DestroyHandle(); }

    // Enter anywhere on the form clicks the Default button, Escape the
    // Cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    bool DialogKey(WORD key, bool focused) override;

    // A picture beside the caption; twice as wide as high it holds two
    // frames, normal and disabled. Its bottom-left pixel's colour is
    // transparent.
    HGDIOBJ Glyph() const { return glyph_.Handle(); }
    void SetGlyph(TGdiObject glyph);
    TsuiButtonLayout Layout() const { return layout_; }
    void SetLayout(TsuiButtonLayout value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    // Kept for the forms' data; it has no effect.
    HINSTANCE ResHandle() const { return resHandle_; }
    void SetResHandle(HINSTANCE value) { resHandle_ = value; }

protected:
    std::optional<POINT> PaintGlyph(HDC dc, const RECT& client, SIZE text, bool pressed) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TGdiObject glyph_;
    TsuiButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    HINSTANCE resHandle_ = nullptr;
};

enum TsuiCheckBoxState { cbUnchecked = 0, cbChecked = 1 };

// A check box: a glyph of four frames (checked, unchecked, each enabled and
// disabled) and the caption beside it. A click or Space toggles it.
class TsuiCheckBox : public TCustomControl, public TsuiStyled {
public:
    TsuiCheckBox() = default;
    ~TsuiCheckBox() override;

    // A width or height of 0 gives the default size, 93 x 17.
    void Create(TWindow& parent, const TBounds& bounds, const std::string& caption, bool checked,
                HFONT font = nullptr);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& value) { SetText(value); }
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    TsuiCheckBoxState State() const { return checked_ ? cbChecked : cbUnchecked; }
    void SetState(TsuiCheckBoxState value) { SetChecked(value == cbChecked); }
    void Toggle() { SetChecked(!checked_); }
    TsuiCheckBoxLook Look() const { return {color_, Transparent(), autoSize_}; }
    void SetLook(const TsuiCheckBoxLook& look);
    // Fits the glyph and the caption.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value);
    // What screen readers are told of it, and their default action.
    bool Describe(TAccessibleInfo& info) override;
    void AccessibleAction(long part) override;

    // Whenever Checked changes, by the user or the program.
    std::function<void()> OnChange;
    // The user toggled the box (after Checked has changed).
    std::function<void()> OnClick;

protected:
    void Restyle(TsuiRestyle what) override;
    void Paint(HDC dc, const RECT& client) override;
    void TextChanged() override { AdjustSize(); }
    // A press takes the focus; the release over the box toggles it, and
    // so does Space.
    bool MouseDown(POINT at, bool doubleClick) override;
    bool MouseUp(POINT at) override;
    void CaptureLost() override;
    bool KeyDown(WORD key, bool repeated) override;
    // BM_GETCHECK, BM_CLICK and WM_SETFONT.
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static constexpr int kStripePeriod = 4;
    static constexpr int kGlyphStripePhase = 2;
    int GlyphTop(int room) const;
    bool striped_ = false;
    void AdjustSize();
    void UserToggle();
    // The glyph frame (1 to 4) for the present state.
    int GlyphFrame() const;

    TGdiObject glyphs_[4];
    bool checked_ = false;
    bool autoSize_ = true;
    bool mouseDown_ = false;
    uint32_t color_ = clBtnFace;
};

inline void TsuiCustomButton::SetLook(const TsuiButtonLook& look)
{
    SetColor(look.color);
    SetTransparent(look.transparent);
    SetFocusedRectMargin(look.focusedRectMargin);
    SetAutoSize(look.autoSize);
}

inline void TsuiCheckBox::SetLook(const TsuiCheckBoxLook& look)
{
    SetColor(look.color);
    SetTransparent(look.transparent);
    SetAutoSize(look.autoSize);
}
