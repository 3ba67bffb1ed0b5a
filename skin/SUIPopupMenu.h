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

// A popup menu's look as one value: its style, designed heights and side
// bar, colours (0xBBGGRR) and font. Restyle fills it from the style; a menu
// that differs takes its Look(), changes what differs and hands it back.
struct TsuiMenuLook {
    TsuiUIStyle style = DeepBlue;
    int menuItemHeight = 21;
    int separatorHeight = 21;
    int barWidth = 0;
    uint32_t barColor = clBtnFace;
    uint32_t color = 0xFFFFFF;
    uint32_t separatorColor = 0x808080;
    uint32_t selectedBorderColor = clHighlight;
    uint32_t selectedColor = clHighlight;
    uint32_t selectedFontColor = 0xFFFFFF;
    uint32_t fontColor = 0xFFFFFF;
    uint32_t borderColor = 0;   // stored only: no drawing reads it
    bool flatMenu = false;
    std::string fontName = "MS Sans Serif";
    int fontSize = 8;
    int fontCharset = DEFAULT_CHARSET;
    bool useSystemFont = true;
};

class TsuiPopupMenu : public TPopupMenu, public TsuiStyled {
public:
    // owner: the form (or other window) that holds the menu; its skinned
    // frame gives the initial style.
    explicit TsuiPopupMenu(const TWindow* owner = nullptr);
    ~TsuiPopupMenu() override = default;

    // Owner drawing is always on.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    const TsuiMenuLook& Look() const { return look_; }
    // The style first (which restyles), then every value; the item and
    // separator heights stay the style's in MacOS.
    void SetLook(const TsuiMenuLook& look);

    int MenuItemHeight() const { return look_.menuItemHeight; }
    void SetMenuItemHeight(int value);   // ignored in MacOS
    int SeparatorHeight() const { return look_.separatorHeight; }
    void SetSeparatorHeight(int value);  // ignored in MacOS
    int BarWidth() const { return look_.barWidth; }
    void SetBarWidth(int value) { look_.barWidth = value; }
    uint32_t BarColor() const { return look_.barColor; }
    void SetBarColor(uint32_t value) { look_.barColor = value; }
    uint32_t Color() const { return look_.color; }
    void SetColor(uint32_t value) { look_.color = value; }
    uint32_t SeparatorColor() const { return look_.separatorColor; }
    void SetSeparatorColor(uint32_t value) { look_.separatorColor = value; }
    uint32_t SelectedBorderColor() const { return look_.selectedBorderColor; }
    void SetSelectedBorderColor(uint32_t value) { look_.selectedBorderColor = value; }
    uint32_t SelectedColor() const { return look_.selectedColor; }
    void SetSelectedColor(uint32_t value) { look_.selectedColor = value; }
    uint32_t SelectedFontColor() const { return look_.selectedFontColor; }
    void SetSelectedFontColor(uint32_t value) { look_.selectedFontColor = value; }
    uint32_t FontColor() const { return look_.fontColor; }
    void SetFontColor(uint32_t value) { look_.fontColor = value; }
    // Stored only: no drawing reads it.
    uint32_t BorderColor() const { return look_.borderColor; }
    void SetBorderColor(uint32_t value) { look_.borderColor = value; }
    bool FlatMenu() const { return look_.flatMenu; }
    void SetFlatMenu(bool value) { look_.flatMenu = value; }
    const std::string& FontName() const { return look_.fontName; }
    void SetFontName(const std::string& value) { look_.fontName = value; }
    int FontSize() const { return look_.fontSize; }
    void SetFontSize(int value) { look_.fontSize = value; }
    int FontCharset() const { return look_.fontCharset; }
    void SetFontCharset(int value) { look_.fontCharset = value; }
    bool UseSystemFont() const { return look_.useSystemFont; }
    void SetUseSystemFont(bool value) { look_.useSystemFont = value; }

    TsuiMenuMetrics Metrics() const { return {look_.menuItemHeight, look_.separatorHeight, look_.barWidth}; }
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

    TsuiMenuLook look_;
};
