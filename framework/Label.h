// A label: one line of text drawn over whatever lies behind it, sized to its
// text unless AutoSize is turned off.
#pragma once

#include "framework/CustomControl.h"

class TLabel : public TCustomControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Text colour (0x00BBGGRR); the window-text colour by default.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF value);

    // The size the caption takes with the label's font.
    SIZE TextExtent() const;

protected:
    void Paint(HDC dc, const RECT& client) override;
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void TextChanged() override { AdjustSize(); }

private:
    void AdjustSize();
    bool autoSize_ = true;
    COLORREF color_ = GetSysColor(COLOR_WINDOWTEXT);
};
