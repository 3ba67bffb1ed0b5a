// A single-line edit in the skin's look: the system's edit without its own
// border, framed instead by a one-pixel line in BorderColor with a line in
// the edit's Color just inside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Controls.h"
#include "skin/SUIThemes.h"

// An edit's look: the frame's outer line (the style's control border) and
// the background, which is also the frame's inner line.
struct TsuiEditLook {
    uint32_t borderColor = 0;
    uint32_t color = 0xFFFFFF;
};

class TsuiEdit : public TControl, public TsuiStyled {
public:
    ~TsuiEdit() override;

    // The style starts as the one of the form's skinned frame.
    void Create(TWindow& parent, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font);

    const TsuiEditLook& Look() const { return look_; }
    void SetLook(const TsuiEditLook& look);
    uint32_t BorderColor() const { return look_.borderColor; }
    void SetBorderColor(uint32_t value);
    // The background, white unless set; also the inner frame line.
    uint32_t Color() const { return look_.color; }
    void SetColor(uint32_t value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    // Editable text to screen readers, named after its label.
    bool Describe(TAccessibleInfo& info) override;

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

    TsuiEditLook look_;
    TGdiObject background_;
    bool settingText_ = false;
};
