// The skinned main menu and the menu bar a skinned form frame shows it in:
// one flat button per top-level item, its drop-down drawn like the popup
// menus, and the items' shortcut keys.
#pragma once

#include <windows.h>

#include "framework/CustomControl.h"
#include "skin/SUIPopupMenu.h"

class TsuiMainMenu : public TsuiPopupMenu {
public:
    using TsuiPopupMenu::TsuiPopupMenu;
    // Runs the enabled item (at any depth) whose shortcut is key with
    // exactly these modifiers; true when one was found.
    bool IsShortCut(WORD key, TShiftState shift);
};

class TsuiMenuBar : public TCustomControl {
public:
    ~TsuiMenuBar() override;
    void Create(TWindow& parent, const TBounds& bounds);
    TsuiMainMenu* Menu() const { return menu_; }
    void SetMenu(TsuiMainMenu* menu);
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value);
    // The button of a top-level item: where it is on the bar.
    RECT ItemRect(int index) const;

protected:
    void Paint(HDC dc, const RECT& client) override;
    void MouseLeave() override { Invalidate(); }
    bool MouseMove(POINT at) override;
    // A press on an item clicks it or drops its sub-menu.
    bool MouseDown(POINT at, bool doubleClick) override;

private:
    int ItemAt(POINT p) const;
    int TextWidth(const std::string& caption) const;
    HGDIOBJ FitFont() const;

    TsuiMainMenu* menu_ = nullptr;
    uint32_t color_ = 0xE7E7E7;
    int hot_ = -1;
    mutable TGdiObject font_;
    mutable int fontDpi_ = 0;
};
