// A label: text drawn over whatever lies behind it, sized to its text unless
// AutoSize is turned off. One line, or with WordWrap as many as the text
// needs at the label's width.
#pragma once

#include "framework/CustomControl.h"

class TLabel : public TCustomControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Breaks the text into lines at the label's width, which then stays as
    // it is; AutoSize fits only the height.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // Text colour (0x00BBGGRR); the window-text colour by default.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF value);

    // The size the caption takes with the label's font (wrapped: at the
    // label's width).
    SIZE TextExtent() const;
    // Static text to screen readers.
    bool Describe(TAccessibleInfo& info) override;

protected:
    void Paint(HDC dc, const RECT& client) override;
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void TextChanged() override { AdjustSize(); }

private:
    void AdjustSize();
    bool autoSize_ = true;
    bool wordWrap_ = false;
    COLORREF color_ = GetSysColor(COLOR_WINDOWTEXT);
};
