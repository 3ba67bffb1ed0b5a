// The skinned form frame: put on a form, it takes over the form's whole
// look. The system caption goes; the frame is painted by hand, the title bar
// (SUITitleBar.h) sits at the top, an optional menu bar under it, and the
// rest shows the style's background. The form's controls are placed on it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/WindowHook.h"
#include "skin/SUIColors.h"
#include "skin/SUIMainMenu.h"
#include "skin/SUIThemes.h"
#include "skin/SUITitleBar.h"

// A skinned frame's look as one piece of data: its style, colours (0xBBGGRR)
// and sizes, and how its title bar shows. The caption and the title bar's
// buttons are set on their own.
struct TsuiFormLook {
    TsuiUIStyle style = MacOS;
    bool autoUpdateSub = false;
    uint32_t borderColor = 0;
    int borderWidth = 1;
    uint32_t color = 0;
    uint32_t menuBarColor = 0;
    int menuBarHeight = 22;
    int roundCorner = 0;
    bool drawAppIcon = false;
    bool titleBarCustom = false;
    TsuiFont titleFont;
};

class TsuiForm : public TCustomControl, public TsuiStyled {
public:
    TsuiForm();
    // Gives the form its caption and its own frame back.
    ~TsuiForm() override;
    // On a form that has no skinned frame yet: takes over its frame. On
    // anything else: an inert panel filling its parent.
    void Create(TWindow& owner);

    bool IsSkinForm() const override { return true; }
    void SetLook(const TsuiFormLook& look);
    // The form's client area to screen readers, named by the caption.
    bool Describe(TAccessibleInfo& info) override;

    // Passes the style on to the skinned controls placed on it.
    bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
    void SetUIStyleAutoUpdateSub(bool value) { autoUpdateSub_ = value; }
    uint32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(uint32_t value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // The background and the frame's inner band.
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value);
    // The ellipse of the rounded top corners; 0: square.
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int value);
    std::string Caption() const { return titleBar_.Caption(); }
    // Also the form's own caption (the taskbar shows it).
    void SetCaption(const std::string& value);
    const TsuiFont& TitleFont() const { return titleBar_.TitleFont(); }
    void SetTitleFont(const TsuiFont& font) { titleBar_.SetTitleFont(font); }
    bool TitleBarVisible() const { return titleBarVisible_; }
    void SetTitleBarVisible(bool value);
    bool TitleBarCustom() const { return titleBar_.Custom(); }
    void SetTitleBarCustom(bool value) { titleBar_.SetCustom(value); }
    bool TitleBarDrawAppIcon() const { return titleBar_.DrawAppIcon(); }
    void SetTitleBarDrawAppIcon(bool value) { titleBar_.SetDrawAppIcon(value); }
    // Its buttons and sections are the title bar's.
    TsuiTitleBar& TitleBar() { return titleBar_; }
    void SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent handler);
    void SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent handler);

    TsuiMainMenu* Menu() const { return menu_; }
    void SetMenu(TsuiMainMenu* menu);
    uint32_t MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(uint32_t value);
    int MenuBarHeight() const { return menuBarHeight_; }
    void SetMenuBarHeight(int value);
    // A panel that fills what the title bar and the menu bar leave free; the
    // frame itself is refused with an error box.
    TControl* FormPanel() const { return formPanel_; }
    void SetFormPanel(TControl* panel);
    // Published, never read by the program.
    std::string Version() const { return "1.1"; }

    // The form whose frame it took over; nullptr for an inert panel.
    TForm* HostForm() const { return form_; }
    // Paints the frame on the form's non-client area.
    void PaintFrame();

protected:
    // The frame's colours, sizes and background; the title bar, the menu
    // and (with UIStyleAutoUpdateSub) the controls placed on it follow.
    void Restyle(TsuiRestyle what) override;
    // The controls placed on it lose the theme file too.
    void FileThemeRemoved() override;
    void Paint(HDC dc, const RECT& client) override;
    void Painted() override { PaintFrame(); }
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The frame beside the client area at the design scale.
    static constexpr int kDesignedFrame = 3;

    void SetUp(TForm& form);
    bool HasDialogFrame() const;
    LRESULT FitClientInFrame(WPARAM wParam, LPARAM lParam);
    LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RedrawAll();
    bool ApplicationMessage(MSG& msg);
    void FormResized();
    void ApplyRegion();
    void Realign();
    bool TryShortCut(WORD key);
    int TitleHeight() const;
    int MenuBarPixels() const { return Scale().Length(menuBarHeight_); }
    void PaintTitleIntoFrame(HDC dc, int W, int B, int F);
    void PaintRoundCorners(HDC dc, int W);
    bool MenuBarShown() const { return menuBar_ && menuBar_->Visible(); }

    bool autoUpdateSub_ = false;
    uint32_t borderColor_ = 0;
    int borderWidth_ = 1;
    uint32_t color_ = 0;
    int roundCorner_ = 0;
    bool titleBarVisible_ = true;
    TsuiMainMenu* menu_ = nullptr;
    uint32_t menuBarColor_ = 0;
    int menuBarHeight_ = 22;
    TControl* formPanel_ = nullptr;

    TForm* form_ = nullptr;
    std::unique_ptr<TWindowHook> hook_;
    TsuiTitleBar titleBar_;
    std::unique_ptr<TsuiMenuBar> menuBar_;
    int applicationHook_ = 0;
    TGdiObject backgroundBrush_;
    TBounds createdBounds_{};
    bool createdMaximized_ = false;
};
