// The skinned title bar: the style's pictures as its sections, its own
// buttons (control box, help, maximise, minimise, close, custom) and the
// caption. Pressing it elsewhere moves the window; its control box opens a
// menu.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIColors.h"
#include "skin/SUIFrameGeometry.h"
#include "skin/SUIPopupMenu.h"
#include "skin/SUIThemes.h"

enum TsuiTitleBarBtnType { suiMax = 0, suiMin = 1, suiClose = 2, suiHelp = 3, suiControlBox = 4, suiCustom = 5 };
enum TsuiTitleBarAlign { suiLeft = 0, suiRight = 1, suiClient = 2 };

class TsuiTitleBar;

class TsuiTitleBarButton {
public:
    explicit TsuiTitleBarButton(TsuiTitleBar& bar) : bar_(bar) {}

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    TsuiTitleBarBtnType ButtonType() const { return buttonType_; }
    // Only one button can be the control box: a second one is refused with
    // an error box.
    void SetButtonType(TsuiTitleBarBtnType value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    int Top() const { return top_; }
    void SetTop(int value) { top_ = value; }
    TsuiUIStyle UIStyle() const { return uiStyle_; }
    // Takes the button's pictures from the style's button strip (custom
    // buttons keep their own).
    void SetUIStyle(TsuiUIStyle style, TsuiFileTheme* theme);
    // The menu of a control box; without one the bar's own menu opens.
    TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void SetControlBoxMenu(TPopupMenu* menu) { controlBoxMenu_ = menu; }

    TGdiObject PicNormal, PicMouseOn, PicMouseDown;

private:
    friend class TsuiTitleBar;
    TsuiTitleBar& bar_;
    bool visible_ = true;
    TsuiTitleBarBtnType buttonType_ = suiCustom;
    bool transparent_ = false;
    int top_ = 2;
    TsuiUIStyle uiStyle_ = DeepBlue;
    TsuiFileTheme* theme_ = nullptr;
    TPopupMenu* controlBoxMenu_ = nullptr;
};

class TsuiTitleBarSection {
public:
    explicit TsuiTitleBarSection(TsuiTitleBar& bar) : bar_(bar) {}

    int Width() const { return width_; }
    void SetWidth(int value);
    TsuiTitleBarAlign Align() const { return align_; }
    // Only one section can fill the middle: a second one is refused with an
    // error box.
    void SetAlign(TsuiTitleBarAlign value);
    const TGdiObject& Picture() const { return picture_; }
    void SetPicture(TGdiObject picture);
    // Always true while the section fills the middle.
    bool Stretch() const { return stretch_ || align_ == suiClient; }
    void SetStretch(bool value) { stretch_ = value; }
    // Width follows the picture.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

private:
    TsuiTitleBar& bar_;
    int width_ = 10;
    TsuiTitleBarAlign align_ = suiLeft;
    TGdiObject picture_;
    bool stretch_ = false;
    bool autoSize_ = false;
};

// The menu of the control box: minimise, maximise or restore, close.
class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
public:
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar& bar);

private:
    TsuiTitleBar& bar_;
};

using TsuiTitleBarButtonClickEvent = std::function<void(TsuiTitleBar& sender, int buttonIndex)>;

class TsuiTitleBar : public TCustomControl, public TsuiStyled {
public:
    TsuiTitleBar();
    ~TsuiTitleBar() override;
    // A bar along the top of parent; on a skinned form frame it is framed.
    void Create(TWindow& parent, bool framed);

    // Keeps its sections and buttons when the style changes.
    bool Custom() const { return custom_; }
    void SetCustom(bool value) { custom_ = value; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int ButtonInterval() const { return buttonInterval_; }
    void SetButtonInterval(int value);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    const TsuiFont& TitleFont() const { return titleFont_; }
    void SetTitleFont(const TsuiFont& font);
    bool FormActive() const { return formActive_; }
    void SetFormActive(bool value);
    int LeftBtnXOffset() const { return leftBtnXOffset_; }
    void SetLeftBtnXOffset(int value);
    int RightBtnXOffset() const { return rightBtnXOffset_; }
    void SetRightBtnXOffset(int value);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void SetDrawAppIcon(bool value);
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int value) { roundCorner_ = value; }
    // Where the buttons' pictures begin, from the bar's top.
    int ButtonTop() const;

    // The collections.
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TsuiTitleBarButton& Button(int index) const { return *buttons_[index]; }
    TsuiTitleBarButton& AddButton();
    void ClearButtons();
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    TsuiTitleBarSection& Section(int index) const { return *sections_[index]; }
    TsuiTitleBarSection& AddSection();
    void ClearSections();

    TsuiTitleBarPopupMenu& PopupMenu() { return popup_; }
    // The button held down (the bar has the mouse captured), or -1.
    int PressedButton() const { return pressedButton_; }
    // Where each button is now (empty rectangles for the hidden ones).
    TsuiTitleLayout Layout() const;

    TsuiTitleBarButtonClickEvent OnCustomBtnsClick;
    TsuiTitleBarButtonClickEvent OnHelpBtnClick;
    // The height changed (the container lays itself out again).
    std::function<void()> OnResize;

    // What the buttons and the menu do.
    void Minimize();
    void ToggleMaximized();
    void CloseForm();
    // The maximise buttons show restore pictures while the form is
    // maximised.
    void RefreshMaxButtons();
    void Repaint();
    // A title bar to screen readers, its visible buttons as its parts.
    bool Describe(TAccessibleInfo& info) override;
    void AccessibleAction(long part) override;

protected:
    // Unless Custom: sections and buttons anew from the style's pictures,
    // and with a new style the title font's colour.
    void Restyle(TsuiRestyle what) override;
    void Paint(HDC dc, const RECT& client) override;
    void MouseLeave() override;
    // A button held down by the mouse acts when it goes up over it; a press
    // elsewhere moves the form.
    bool MouseDown(POINT at, bool doubleClick) override;
    bool MouseUp(POINT at) override;
    bool MouseMove(POINT at) override;
    void CaptureLost() override;
    // The non-client mouse messages go on to the form.
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class TsuiTitleBarButton;
    friend class TsuiTitleBarSection;
    void SetHeightTo(int height);
    const TsuiTitleBarButton* ControlBox() const;
    bool FormMaximized() const;
    int HitButton(POINT p) const;
    void ButtonUp(int index);
    void DoubleClick(POINT at);
    void PopupAtBottomLeft(TPopupMenu& menu);

    // How far the bar lies inside the form's outer edge: the frame the
    // title pictures continue into; 0 on a bar that is not a form's frame.
    int FrameInset() const;
    // The program's icon at size x size, loaded once for each size in use.
    HICON AppIcon(int size);

    bool framed_ = false;
    bool custom_ = false;
    bool autoSize_ = false;
    int buttonInterval_ = 0;
    std::string caption_;
    TsuiFont titleFont_{"Tahoma", -11, true, 0xFFFFFF};
    TGdiObject font_;
    bool formActive_ = true;
    int leftBtnXOffset_ = 0;
    int rightBtnXOffset_ = 0;
    bool drawAppIcon_ = false;
    TIcon loadedIcon_;
    int loadedIconSize_ = 0;
    int roundCorner_ = 0;
    std::vector<std::unique_ptr<TsuiTitleBarSection>> sections_;
    std::vector<std::unique_ptr<TsuiTitleBarButton>> buttons_;

    // Held down with the mouse captured: it looks pressed while the pointer
    // is over it and acts if the button goes up there.
    int pressedButton_ = -1;
    int hotButton_ = -1;
    int buttonPicHeight_ = 0;
    int buttonTop_ = 0;
    TsuiTitleBarPopupMenu popup_;
};

// The form whose title bar a window of the program belongs to.
TForm* TitleBarForm(const TsuiTitleBar& bar);
