// A single-line edit in the skin's look: the system's edit without its own
// border, framed instead by a one-pixel line in BorderColor with a line in
// the edit's Color just inside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Controls.h"
#include "skin/SUIThemes.h"

class TsuiEdit : public TControl, public TsuiStyled {
public:
    ~TsuiEdit() override;

    // The style starts as the one of the form's skinned frame.
    void Create(TWindow& parent, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font);

    uint32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(uint32_t value);
    // The background, white unless set; also the inner frame line.
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);

    // The user changed the text (typing, pasting, cutting); setting the
    // text from the program does not fire it.
    std::function<void()> OnChange;

protected:
    // Takes the frame's colour from the style.
    void Restyle(TsuiRestyle what) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void DrawFrame() const;
    void RedrawFrame() const;

    uint32_t borderColor_ = 0;
    uint32_t color_ = 0xFFFFFF;
    TGdiObject background_;
    bool settingText_ = false;
};
