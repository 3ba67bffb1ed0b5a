// The system's drop-down list combo box in the skin's look: the system
// draws the box, then the skin draws its frame, its button and its arrow
// over it, in one block, before anything reaches the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/PaintBuffer.h"
#include "skin/SUIThemes.h"

// A combo box's look: its frame's outer line, its button's face, its
// arrow and its background (also the frame's inner line). Restyle takes
// the border and the button from the style and makes the arrow black.
struct TsuiComboBoxLook {
    uint32_t borderColor = 0;
    uint32_t buttonColor = 0xE8E8E8;
    uint32_t arrowColor = 0;
    uint32_t color = 0xFFFFFF;
};

class TsuiCustomComboBox : public TControl, public TsuiStyled {
public:
    ~TsuiCustomComboBox() override;

    const TsuiComboBoxLook& Look() const { return look_; }
    void SetLook(const TsuiComboBoxLook& look);
    uint32_t BorderColor() const { return look_.borderColor; }
    void SetBorderColor(uint32_t value);
    uint32_t ButtonColor() const { return look_.buttonColor; }
    void SetButtonColor(uint32_t value);
    uint32_t ArrowColor() const { return look_.arrowColor; }
    void SetArrowColor(uint32_t value);
    // The background of the box and its list, white unless set; also the
    // inner frame line.
    uint32_t Color() const { return look_.color; }
    void SetColor(uint32_t value);

    // Moves the closed box to closed and its list's rows to itemHeight.
    void Place(const TBounds& closed, int itemHeight);
    bool DroppedDown() const;
    // A tooltip window with a tool on this control: while the list is
    // dropped it is hidden and kept from showing, so that it never covers
    // the list.
    void AttachTip(HWND tip);
    // The colours of the selected item in the list (the style's selection
    // colours, as in its menus).
    uint32_t SelectedColor() const { return selectedColor_; }
    uint32_t SelectedFontColor() const { return selectedFontColor_; }
    // What screen readers are told of it, and their default action.
    bool Describe(TAccessibleInfo& info) override;
    void AccessibleAction(long part) override;

protected:
    // Takes BorderColor and ButtonColor from the style; ArrowColor becomes
    // black.
    void Restyle(TsuiRestyle what) override;
    // Creates the combo box of the given CBS_ kind; bounds.height is the
    // closed box's height, which the selection field is fitted to, and the
    // list opens listItems items high. A drop-down list draws its items
    // itself, itemHeight high (the system's list may ignore the height of
    // items it draws).
    void CreateCombo(TWindow& parent, const TBounds& bounds, DWORD kind, int itemHeight, int listItems, HFONT font);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend LRESULT CALLBACK ComboListProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    friend LRESULT CALLBACK ComboTipProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void FitHeights(int closedHeight);
    void ListDropped(bool dropped);
    void Paint();
    void DrawSkin(HDC dc) const;
    void DrawButton(HDC dc, const RECT& button) const;
    void DrawArrow(HDC dc, const RECT& button) const;
    void Redraw() const;
    LRESULT ColorMessage(HDC dc) const;
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    HBRUSH BackgroundBrush() const;
    bool PictureButton() const;

    bool useThemeFile_ = false;
    TsuiUIStyle drawnStyle_ = DeepBlue;
    TsuiComboBoxLook look_;
    uint32_t selectedColor_ = 0xC47339;
    uint32_t selectedFontColor_ = 0xFFFFFF;
    int itemHeight_ = 0;
    int closedHeight_ = 0; // the closed box's height as it was given
    int listItems_ = 0;
    TGdiObject background_;
    TPaintBuffer buffer_;
    HWND list_ = nullptr;
    std::vector<HWND> tips_;
    bool listDropped_ = false;
};

// A drop-down list: the user picks one of the items and cannot type.
class TsuiComboBox : public TsuiCustomComboBox {
public:
    // The style starts as the one of the form's skinned frame.
    void Create(TWindow& parent, const TBounds& bounds, const std::vector<std::string>& items, int itemIndex,
                int itemHeight, HFONT font);

    std::vector<std::string> Items() const;
    // Replaces the items; nothing is selected afterwards.
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const;
    // Selects an item (-1 or an index out of range: none). Does not fire
    // OnChange or OnSelect.
    void SetItemIndex(int index);

    // The user picked an item (with the mouse or the keys); for a
    // drop-down list both are fired, OnChange first.
    std::function<void()> OnChange;
    std::function<void()> OnSelect;

protected:
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
