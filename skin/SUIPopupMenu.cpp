#include "skin/SUIPopupMenu.h"

#include <commctrl.h>

#include <map>

#include "core/Unicode.h"
#include "framework/MonitorScale.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIMenuLayout.h"
#include "skin/SUIPictures.h"

TsuiPopupMenu::TsuiPopupMenu(const TWindow* owner)
{
    TPopupMenu::SetOwnerDraw(true);
    SetUIStyle(OwnerFormUIStyle(owner));
}

void TsuiPopupMenu::Restyle(TsuiRestyle what)
{
    // Heights and widths stay as designed: they are scaled where items are
    // measured and drawn.
    if (what == TsuiRestyle::Scale)
        return;
    const TsuiStyleSource source = StyleSource();
    const TsuiMenuStyleMetrics metrics = MenuStyleMetrics(UIStyle());
    look_.style = UIStyle();
    look_.menuItemHeight = metrics.itemHeight;
    look_.separatorHeight = metrics.separatorHeight;
    look_.barWidth = metrics.barWidth;
    look_.separatorColor = metrics.separatorColor;
    look_.barColor = source.Color(SUI_THEME::MenuBarColor);
    look_.color = source.Color(SUI_THEME::MenuBackgroundColor);
    look_.fontColor = source.Color(SUI_THEME::MenuFontColor);
    look_.selectedBorderColor = source.Color(SUI_THEME::MenuSelectedBorderColor);
    look_.selectedColor = source.Color(SUI_THEME::MenuSelectedBackgroundColor);
    look_.selectedFontColor = source.Color(SUI_THEME::MenuSelectedFontColor);
}

void TsuiPopupMenu::SetLook(const TsuiMenuLook& look)
{
    SetUIStyle(look.style);
    const TsuiMenuLook restyled = look_;
    look_ = look;
    look_.style = UIStyle();
    if (UIStyle() == MacOS) {
        look_.menuItemHeight = restyled.menuItemHeight;
        look_.separatorHeight = restyled.separatorHeight;
    }
}

void TsuiPopupMenu::SetMenuItemHeight(int value)
{
    if (UIStyle() != MacOS)
        look_.menuItemHeight = value;
}

void TsuiPopupMenu::SetSeparatorHeight(int value)
{
    if (UIStyle() != MacOS)
        look_.separatorHeight = value;
}

void TsuiPopupMenu::ShowingAt(POINT at)
{
    SetScale(ScaleAtPoint(at));
}

HIMAGELIST TsuiPopupMenu::CheckMarkImages(const TDisplayScale& scale)
{
    // One list for each size, shared by all menus for the program's life.
    static std::map<int, HIMAGELIST> lists;
    const int size = scale.Length(kMenuMarkSize);
    if (auto found = lists.find(size); found != lists.end())
        return found->second;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 0);
    TGdiObject picture = LoadSkinPicture("MENU_CHECKED", scale);
    if (list && picture)
        ImageList_AddMasked(list, static_cast<HBITMAP>(picture.Handle()), RGB(255, 255, 255));
    lists[size] = list;
    return list;
}

// The mark of the checked radio item: a round dot centred in the place of
// the check mark.
void TsuiPopupMenu::DrawRadioDot(HDC dc, const RECT& dot, uint32_t color)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(color)));
    TSelectObject selectedBrush(dc, brush.Handle());
    TSelectObject noPen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, dot.left, dot.top, dot.right, dot.bottom);
}

TGdiObject TsuiPopupMenu::ItemFont(const TMenuItem& item) const
{
    LOGFONTW font{};
    const UINT dpi = static_cast<UINT>(Scale().Dpi());
    if (look_.useSystemFont) {
        // The system's menu font as it is at the menu's scale.
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font = metrics.lfMenuFont;
    } else {
        font.lfHeight = -MulDiv(look_.fontSize, static_cast<int>(dpi), 72);
        font.lfCharSet = static_cast<BYTE>(look_.fontCharset);
        const std::wstring face = Utf8ToWide(look_.fontName);
        lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    }
    if (item.Default())
        font.lfWeight = FW_BOLD;
    TGdiObject result(CreateFontIndirectW(&font));
    if (!result)
        throw EOutOfResources("Cannot create the menu's font");
    return result;
}

static int TextWidth(HDC dc, const std::string& text, UINT format)
{
    if (text.empty())
        return 0;
    const std::wstring wide = Utf8ToWide(text);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | format);
    return r.right;
}

void TsuiPopupMenu::MeasureItem(TMenuItem& item, HDC dc, int& width, int& height)
{
    TGdiObject font = ItemFont(item);
    TSelectObject selected(dc, font.Handle());
    const TsuiItemSize size =
        MeasureMenuItem(Metrics(), Scale(), item.IsLine(), TextWidth(dc, item.Caption(), 0),
                        TextWidth(dc, item.ShortCutText(), DT_NOPREFIX));
    width = size.width;
    height = size.height;
}

static void Fill(HDC dc, const RECT& r, uint32_t color)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(color)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Handle()));
}

// A frame of line whole pixels just inside r.
static void Frame(HDC dc, RECT r, HBRUSH brush, int line)
{
    for (int i = 0; i < line && r.right > r.left && r.bottom > r.top; ++i) {
        FrameRect(dc, &r, brush);
        InflateRect(&r, -1, -1);
    }
}

static RECT Offset(const TsuiRect& r, int x, int y)
{
    return {r.left + x, r.top + y, r.right + x, r.bottom + y};
}

void TsuiPopupMenu::DrawFlatFrame(HDC dc) const
{
    HWND menuWindow = WindowFromDC(dc);
    if (!menuWindow)
        return;
    RECT r{};
    GetWindowRect(menuWindow, &r);
    TWindowDC desktop(nullptr);
    const int line = Scale().Length(1);
    RECT outer{r.left, r.top + line, r.right - line, r.bottom - line};
    Frame(desktop.Handle(), outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), line);
    InflateRect(&outer, -line, -line);
    Frame(desktop.Handle(), outer, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), line);
    // The left, bottom and right outline in the form's face colour.
    const uint32_t face = StyleSource().Color(SUI_THEME::FormBackgroundColor);
    Fill(desktop.Handle(), {r.left, r.top, r.left + line, r.bottom}, face);
    Fill(desktop.Handle(), {r.left, r.bottom - line, r.right, r.bottom}, face);
    Fill(desktop.Handle(), {r.right - line, r.top, r.right, r.bottom}, face);
}

// The MacOS pictures are cut to their designed rows (12 for a separator, 20
// for an item) at the picture's own scale.
struct TMenuPicture {
    const char* name;
    int designedHeight;
};
constexpr TMenuPicture kMenuBarPicture{"MACOS_MENU_BAR", 22};
constexpr TMenuPicture kMenuSelectPicture{"MACOS_MENU_SELECT", 21};

void TsuiPopupMenu::DrawBackground(HDC dc, const RECT& rect, bool separator, bool selected) const
{
    if (HighContrastOn()) {
        Fill(dc, rect, DrawnSkinColor(0, selected ? TsuiColorRole::Highlight : TsuiColorRole::Window));
        return;
    }
    if (UIStyle() == MacOS) {
        // The MacOS pictures are loaded for each drawing and freed after.
        const TMenuPicture& kind = selected ? kMenuSelectPicture : kMenuBarPicture;
        TGdiObject picture = LoadSkinPicture(kind.name, Scale());
        const int rows = MulDiv(separator ? 12 : 20, BitmapSize(picture.Handle()).cy, kind.designedHeight);
        StretchBitmap(dc, picture.Handle(), rect, rows);
        return;
    }
    const TsuiMenuItemPlaces places =
        MenuItemPlaces(Metrics(), Scale(), rect.right - rect.left, rect.bottom - rect.top);
    if (selected) {
        Fill(dc, rect, look_.selectedColor);
        TGdiObject border(CreateSolidBrush(ColorToRGB(look_.selectedBorderColor)));
        Frame(dc, rect, static_cast<HBRUSH>(border.Handle()), places.line);
        return;
    }
    if (look_.barWidth > 0)
        Fill(dc, Offset(places.bar, rect.left, rect.top), look_.barColor);
    Fill(dc, Offset(places.rest, rect.left, rect.top), look_.color);
}

void TsuiPopupMenu::DrawMarks(TMenuItem& item, HDC dc, const RECT& rect) const
{
    const TsuiMenuItemPlaces places =
        MenuItemPlaces(Metrics(), Scale(), rect.right - rect.left, rect.bottom - rect.top);
    const RECT mark = Offset(places.mark, rect.left, rect.top);
    const bool enabled = item.Enabled();
    const bool hasImage = Images() && item.ImageIndex() >= 0 && item.ImageIndex() < ImageList_GetImageCount(Images());
    const UINT greyed = enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50;
    if (item.Checked()) {
        if (hasImage) {
            RECT frame = Offset(places.imageFrame, rect.left, rect.top);
            Frame(dc, frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), places.line);
            InflateRect(&frame, -places.line, -places.line);
            Fill(dc, frame, look_.selectedColor);
        } else if (item.RadioItem()) {
            DrawRadioDot(dc, Offset(places.radioDot, rect.left, rect.top), enabled ? look_.fontColor : 0x808080);
        } else if (HIMAGELIST checks = CheckMarkImages(Scale())) {
            ImageList_Draw(checks, 0, dc, mark.left, mark.top, greyed);
        }
    }
    if (hasImage)
        ImageList_Draw(Images(), item.ImageIndex(), dc, mark.left, mark.top, greyed);
}

void TsuiPopupMenu::DrawItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected)
{
    const TsuiMenuItemPlaces places =
        MenuItemPlaces(Metrics(), Scale(), rect.right - rect.left, rect.bottom - rect.top);
    if (look_.flatMenu)
        DrawFlatFrame(dc);
    if (item.IsLine()) {
        DrawBackground(dc, rect, true, false);
        if (UIStyle() != MacOS || HighContrastOn())
            Fill(dc, Offset(places.separatorLine, rect.left, rect.top),
                 DrawnSkinColor(look_.separatorColor, TsuiColorRole::WindowText));
        return;
    }
    const bool enabled = item.Enabled();
    DrawBackground(dc, rect, false, selected && enabled);

    TGdiObject font = ItemFont(item);
    TSelectObject selectedFont(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    if (!enabled)
        SetTextColor(dc, HighContrastOn() ? GetSysColor(COLOR_GRAYTEXT) : ColorToRGB(0x808080));
    else if (selected)
        SetTextColor(dc, DrawnColor(look_.selectedFontColor, TsuiColorRole::HighlightText));
    else
        SetTextColor(dc, DrawnColor(look_.fontColor, TsuiColorRole::WindowText));
    const std::wstring caption = Utf8ToWide(item.Caption());
    RECT text{rect.left + places.caption.x, rect.top + places.caption.y, rect.right, rect.bottom};
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE);
    if (!item.ShortCutText().empty()) {
        const std::wstring shortCut = Utf8ToWide(item.ShortCutText());
        const int width = TextWidth(dc, item.ShortCutText(), DT_NOPREFIX);
        RECT place{rect.left + places.shortCutRight - width, text.top, rect.right, rect.bottom};
        DrawTextW(dc, shortCut.c_str(), -1, &place, DT_SINGLELINE | DT_NOPREFIX);
    }
    DrawMarks(item, dc, rect);
    if (item.Count() > 0 && DrawsSubMenuArrows())
        DrawArrow(dc, Offset(places.subMenuArrow, rect.left, rect.top), GetTextColor(dc));
}

void TsuiPopupMenu::DrawArrow(HDC dc, const RECT& box, COLORREF color)
{
    TGdiObject brush(CreateSolidBrush(color));
    TGdiObject pen(CreatePen(PS_SOLID, 1, color));
    TSelectObject selectedBrush(dc, brush.Handle());
    TSelectObject selectedPen(dc, pen.Handle());
    const POINT corners[3] = {
        {box.left, box.top}, {box.right - 1, (box.top + box.bottom - 1) / 2}, {box.left, box.bottom - 1}};
    Polygon(dc, corners, 3);
}
