// A popup menu that measures and draws its items itself, in the colours and
// pictures of its style, at the display scale of the monitor it appears on:
// its heights and widths are designed pixels, scaled where items are
// measured and drawn.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Menus.h"
#include "skin/SUIColors.h"
#include "skin/SUIGeometry.h"
#include "skin/SUIThemes.h"

class TsuiPopupMenu : public TPopupMenu, public TsuiStyled {
public:
    // owner: the form (or other window) that holds the menu; its skinned
    // frame gives the initial style.
    explicit TsuiPopupMenu(const TWindow* owner = nullptr);
    ~TsuiPopupMenu() override = default;

    // Owner drawing is always on.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    int MenuItemHeight() const { return menuItemHeight_; }
    void SetMenuItemHeight(int value);   // ignored in MacOS
    int SeparatorHeight() const { return separatorHeight_; }
    void SetSeparatorHeight(int value);  // ignored in MacOS
    int BarWidth() const { return barWidth_; }
    void SetBarWidth(int value) { barWidth_ = value; }
    uint32_t BarColor() const { return barColor_; }
    void SetBarColor(uint32_t value) { barColor_ = value; }
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value) { color_ = value; }
    uint32_t SeparatorColor() const { return separatorColor_; }
    void SetSeparatorColor(uint32_t value) { separatorColor_ = value; }
    uint32_t SelectedBorderColor() const { return selectedBorderColor_; }
    void SetSelectedBorderColor(uint32_t value) { selectedBorderColor_ = value; }
    uint32_t SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(uint32_t value) { selectedColor_ = value; }
    uint32_t SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(uint32_t value) { selectedFontColor_ = value; }
    uint32_t FontColor() const { return fontColor_; }
    void SetFontColor(uint32_t value) { fontColor_ = value; }
    // Stored only: no drawing reads it.
    uint32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(uint32_t value) { borderColor_ = value; }
    bool FlatMenu() const { return flatMenu_; }
    void SetFlatMenu(bool value) { flatMenu_ = value; }
    const std::string& FontName() const { return fontName_; }
    void SetFontName(const std::string& value) { fontName_ = value; }
    int FontSize() const { return fontSize_; }
    void SetFontSize(int value) { fontSize_ = value; }
    int FontCharset() const { return fontCharset_; }
    void SetFontCharset(int value) { fontCharset_ = value; }
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool value) { useSystemFont_ = value; }

    TsuiMenuMetrics Metrics() const { return {menuItemHeight_, separatorHeight_, barWidth_}; }
    void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height) override;
    void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected) override;
    // The system's arrow keeps its design size: at other scales the menu
    // draws its own.
    bool DrawsSubMenuArrows() const override { return !Scale().IsIdentity(); }

    // The check mark all menus share at a scale: "MENU_CHECKED" with white
    // transparent.
    static HIMAGELIST CheckMarkImages(const TDisplayScale& scale = {});

protected:
    // Takes the menu's colours, and the item and separator heights that
    // MacOS fixes.
    void Restyle(TsuiRestyle what) override;
    // The menu takes the scale of the monitor it appears on.
    void ShowingAt(POINT at) override;

private:
    TGdiObject ItemFont(const TMenuItem& item) const;
    void DrawFlatFrame(HDC dc) const;
    static void DrawRadioDot(HDC dc, const RECT& dot, uint32_t color);
    void DrawBackground(HDC dc, const RECT& rect, bool separator, bool selected) const;
    // The check mark, radio dot or item image.
    void DrawMarks(TMenuItem& item, HDC dc, const RECT& rect) const;
    static void DrawArrow(HDC dc, const RECT& box, COLORREF color);

    int menuItemHeight_ = 21;
    int separatorHeight_ = 21;
    int barWidth_ = 0;
    uint32_t barColor_ = clBtnFace;
    uint32_t color_ = 0xFFFFFF;
    uint32_t separatorColor_ = 0x808080;
    uint32_t selectedBorderColor_ = clHighlight;
    uint32_t selectedColor_ = clHighlight;
    uint32_t selectedFontColor_ = 0xFFFFFF;
    uint32_t fontColor_ = 0xFFFFFF;
    uint32_t borderColor_ = 0;
    bool flatMenu_ = false;
    std::string fontName_ = "MS Sans Serif";
    int fontSize_ = 8;
    int fontCharset_ = DEFAULT_CHARSET;
    bool useSystemFont_ = true;
};
