// The tool strip beside a region being marked up: the nine tools, the
// colour and the width in use, undo and redo, and the four ways to finish
// (pin, copy, save, close). It is a child of the overlay, drawn at the
// display scale of the selection's monitor with icons from the program's
// artwork, each button with a tooltip naming it and its key. Screen readers
// read it as a tool bar of buttons, the chosen tool checked. It takes no
// focus: the overlay keeps the keyboard, and Tab there moves the strip's
// focus mark from button to button.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/DisplayScale.h"
#include "framework/CustomControl.h"
#include "imaging/GdiHandles.h"

// The buttons in their order on the strip; the tools first, in the order of
// TMarkTool.
enum class TStripButton {
    Rectangle, Ellipse, Line, Arrow, Pen, Marker, Text, Step, Pixelate,
    Colour, Width, Undo, Redo, Pin, Copy, Save, Close
};
constexpr int kStripButtonCount = 17;
constexpr int kStripToolCount = 9;

// What the strip shows.
struct TStripState {
    int tool = -1; // the chosen tool's button, -1: none (the inside moves the selection)
    uint32_t colour = 0xFF0000;
    int width = 4; // the stroke, in physical pixels
    bool canUndo = false;
    bool canRedo = false;
    int focused = -1; // the button with the keyboard's focus mark, -1: none
};

class TMarkupStrip : public TCustomControl {
public:
    TMarkupStrip();
    ~TMarkupStrip() override;
    // A child of parent at (left, top) of its client area.
    void Create(TWindow& parent, const TDisplayScale& scale, int left, int top);
    void MoveTo(int left, int top);
    void SetState(const TStripState& state);
    const TStripState& State() const { return state_; }

    // The strip's size at a scale, in pixels.
    static SIZE SizeAt(const TDisplayScale& scale);

    // A button was clicked (or pressed by a reader).
    std::function<void(TStripButton)> OnPress;

    bool Describe(TAccessibleInfo& info) override;
    void AccessibleAction(long part) override;

protected:
    void Paint(HDC dc, const RECT& client) override;
    bool MouseDown(POINT at, bool doubleClick) override;

private:
    RECT ButtonRect(int button) const;
    int ButtonAt(POINT at) const;
    void PaintButton(HDC dc, int button);
    void PaintIcon(HDC dc, int frame, const RECT& place);
    void Veil(HDC dc, const RECT& place);
    void PaintColour(HDC dc, const RECT& place);
    void PaintWidth(HDC dc, const RECT& place);
    void AddTooltips();

    TDisplayScale scale_;
    TStripState state_;
    TGdiObject icons_;
    std::unique_ptr<TMemoryDC> iconsDC_;
    HWND tooltip_ = nullptr; // owned by the strip: destroyed with it
};

// The name and key of a button, as tooltips and readers give them.
std::wstring StripButtonName(TStripButton button);
