#include "skin/SUIPopupMenu.h"

#include <commctrl.h>

#include "core/Unicode.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"

TsuiPopupMenu::TsuiPopupMenu(const TWindow* owner)
{
    TPopupMenu::SetOwnerDraw(true);
    SetUIStyle(OwnerFormUIStyle(owner));
}

void TsuiPopupMenu::Restyle(TsuiRestyle)
{
    const TsuiStyleSource source = StyleSource();
    barWidth_ = 26;
    if (UIStyle() == MacOS) {
        menuItemHeight_ = 20;
        separatorHeight_ = 12;
        separatorColor_ = 0;
    } else {
        menuItemHeight_ = 21;
        separatorHeight_ = 5;
        separatorColor_ = 0x848284;
    }
    barColor_ = source.Color(SUI_THEME::MenuBarColor);
    color_ = source.Color(SUI_THEME::MenuBackgroundColor);
    fontColor_ = source.Color(SUI_THEME::MenuFontColor);
    selectedBorderColor_ = source.Color(SUI_THEME::MenuSelectedBorderColor);
    selectedColor_ = source.Color(SUI_THEME::MenuSelectedBackgroundColor);
    selectedFontColor_ = source.Color(SUI_THEME::MenuSelectedFontColor);
}

void TsuiPopupMenu::SetMenuItemHeight(int value)
{
    if (UIStyle() != MacOS)
        menuItemHeight_ = value;
}

void TsuiPopupMenu::SetSeparatorHeight(int value)
{
    if (UIStyle() != MacOS)
        separatorHeight_ = value;
}

HIMAGELIST TsuiPopupMenu::CheckMarkImages()
{
    static HIMAGELIST images = [] {
        HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
        TGdiObject picture = LoadSkinBitmap("MENU_CHECKED");
        if (list && picture)
            ImageList_AddMasked(list, static_cast<HBITMAP>(picture.Handle()), RGB(255, 255, 255));
        return list;
    }();
    return images;
}

// The mark of the checked radio item: a round dot centred in the 16 x 16
// place of the check mark.
void TsuiPopupMenu::DrawRadioDot(HDC dc, int x, int y, uint32_t color)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(color)));
    TSelectObject selectedBrush(dc, brush.Handle());
    TSelectObject noPen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, x + 5, y + 5, x + 12, y + 12);
}

TGdiObject TsuiPopupMenu::ItemFont(const TMenuItem& item) const
{
    LOGFONTW font{};
    if (useSystemFont_) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font = metrics.lfMenuFont;
    } else {
        TWindowDC screen(nullptr);
        font.lfHeight = -MulDiv(fontSize_, GetDeviceCaps(screen.Handle(), LOGPIXELSY), 72);
        font.lfCharSet = static_cast<BYTE>(fontCharset_);
        const std::wstring face = Utf8ToWide(fontName_);
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
    const TsuiItemSize size = MeasureMenuItem(Metrics(), item.IsLine(), TextWidth(dc, item.Caption(), 0),
                                              TextWidth(dc, item.ShortCutText(), DT_NOPREFIX));
    width = size.width;
    height = size.height;
}

void TsuiPopupMenu::DrawFlatFrame(HDC dc) const
{
    HWND menuWindow = WindowFromDC(dc);
    if (!menuWindow)
        return;
    RECT r{};
    GetWindowRect(menuWindow, &r);
    TWindowDC desktop(nullptr);
    RECT outer{r.left, r.top + 1, r.right - 1, r.bottom - 1};
    FrameRect(desktop.Handle(), &outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&outer, -1, -1);
    FrameRect(desktop.Handle(), &outer, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const uint32_t face = StyleSource().Color(SUI_THEME::FormBackgroundColor);
    TGdiObject pen(CreatePen(PS_SOLID, 1, ColorToRGB(face)));
    TSelectObject selectedPen(desktop.Handle(), pen.Handle());
    POINT outline[] = {{r.left, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}};
    Polyline(desktop.Handle(), outline, 4);
}

static void Fill(HDC dc, const RECT& r, uint32_t color)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(color)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Handle()));
}

void TsuiPopupMenu::DrawBackground(HDC dc, const RECT& rect, bool separator, bool selected) const
{
    if (UIStyle() == MacOS) {
        // The MacOS pictures are loaded for each drawing and freed after.
        TGdiObject picture = LoadSkinBitmap(selected ? "MACOS_MENU_SELECT" : "MACOS_MENU_BAR");
        StretchBitmap(dc, picture.Handle(), rect, separator ? 12 : 20);
        return;
    }
    if (selected) {
        Fill(dc, rect, selectedColor_);
        TGdiObject border(CreateSolidBrush(ColorToRGB(selectedBorderColor_)));
        FrameRect(dc, &rect, static_cast<HBRUSH>(border.Handle()));
        return;
    }
    if (barWidth_ > 0)
        Fill(dc, {rect.left, rect.top, rect.left + barWidth_, rect.bottom}, barColor_);
    Fill(dc, {rect.left + barWidth_, rect.top, rect.right, rect.bottom}, color_);
}

void TsuiPopupMenu::DrawItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected)
{
    const int L = rect.left, T = rect.top, R = rect.right;
    if (flatMenu_)
        DrawFlatFrame(dc);
    if (item.IsLine()) {
        DrawBackground(dc, rect, true, false);
        if (UIStyle() != MacOS) {
            TGdiObject pen(CreatePen(PS_SOLID, 1, ColorToRGB(separatorColor_)));
            TSelectObject selectedPen(dc, pen.Handle());
            MoveToEx(dc, L + barWidth_ + 4, T + 2, nullptr);
            LineTo(dc, R - 2, T + 2);
        }
        return;
    }
    const bool enabled = item.Enabled();
    DrawBackground(dc, rect, false, selected && enabled);

    TGdiObject font = ItemFont(item);
    TSelectObject selectedFont(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(!enabled ? 0x808080 : selected ? selectedFontColor_ : fontColor_));
    const std::wstring caption = Utf8ToWide(item.Caption());
    RECT text{L + barWidth_ + 4, T + 4, R, rect.bottom};
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE);
    if (!item.ShortCutText().empty()) {
        const std::wstring shortCut = Utf8ToWide(item.ShortCutText());
        const int width = TextWidth(dc, item.ShortCutText(), DT_NOPREFIX);
        RECT place{R - width - 16, T + 4, R, rect.bottom};
        DrawTextW(dc, shortCut.c_str(), -1, &place, DT_SINGLELINE | DT_NOPREFIX);
    }

    const bool hasImage = Images() && item.ImageIndex() >= 0 && item.ImageIndex() < ImageList_GetImageCount(Images());
    const UINT greyed = enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50;
    if (item.Checked()) {
        if (hasImage) {
            RECT frame{L + 2, T + 1, L + 21, T + 20};
            FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            Fill(dc, {L + 3, T + 2, L + 20, T + 19}, selectedColor_);
        } else if (item.RadioItem()) {
            DrawRadioDot(dc, L + 4, T + 3, enabled ? fontColor_ : 0x808080);
              } else if (HIMAGELIST checks = CheckMarkImages()) {
            ImageList_Draw(checks, 0, dc, L + 4, T + 3, greyed);
        }
    }
    if (hasImage)
        ImageList_Draw(Images(), item.ImageIndex(), dc, L + 4, T + 3, greyed);
}
