#include "skin/SUIMainMenu.h"

#include "core/Unicode.h"
#include "skin/SUIColors.h"
#include "skin/SUIPictures.h"
#include "skin/SUIThemes.h"

static bool SameShift(TShiftState a, TShiftState b)
{
    return a.shift == b.shift && a.ctrl == b.ctrl && a.alt == b.alt;
}

static TMenuItem* FindShortCut(TMenuItem& parent, WORD key, TShiftState shift)
{
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = parent.Items(i);
        if (!item.Enabled())
            continue;
        if (item.ShortCutKey() == key && SameShift(item.ShortCutShift(), shift))
            return &item;
        if (TMenuItem* found = FindShortCut(item, key, shift))
            return found;
    }
    return nullptr;
}

bool TsuiMainMenu::IsShortCut(WORD key, TShiftState shift)
{
    if (key == 0)
        return false;
    TMenuItem* item = FindShortCut(Items(), key, shift);
    if (!item)
        return false;
    item->Click();
    return true;
}

// Padding left and right of a caption on its button.
static constexpr int kItemPadding = 7;

TsuiMenuBar::~TsuiMenuBar()
{
    DestroyHandle();
}

void TsuiMenuBar::Create(TWindow& parent, const TBounds& bounds)
{
    CreateCustom(parent, L"TsuiMenuBar", bounds, "");
}

void TsuiMenuBar::SetMenu(TsuiMainMenu* menu)
{
    menu_ = menu;
    font_ = TGdiObject();
    FitFont();
    Invalidate();
}

// The menu's font at the menu's scale, made again when the scale changed.
HGDIOBJ TsuiMenuBar::FitFont() const
{
    if (menu_ && (!font_ || fontDpi_ != menu_->Scale().Dpi())) {
        fontDpi_ = menu_->Scale().Dpi();
        font_ = MakeFont({menu_->FontName(), -MulDiv(menu_->FontSize(), fontDpi_, 72), false, menu_->FontColor()});
    }
    return font_ ? font_.Handle() : GetStockObject(DEFAULT_GUI_FONT);
}

void TsuiMenuBar::SetColor(uint32_t value)
{
    color_ = value;
    Invalidate();
}

int TsuiMenuBar::TextWidth(const std::string& caption) const
{
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Handle(), FitFont());
    RECT r{};
    const std::wstring text = Utf8ToWide(caption);
    DrawTextW(screen.Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right;
}

RECT TsuiMenuBar::ItemRect(int index) const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    int x = 0;
    for (int i = 0; menu_ && i < menu_->Count(); ++i) {
        const int width = TextWidth(menu_->Item(i).Caption()) + 2 * menu_->Scale().Length(kItemPadding);
        if (i == index)
            return {x, 0, x + width, client.bottom};
        x += width;
    }
    return {0, 0, 0, 0};
}

int TsuiMenuBar::ItemAt(POINT p) const
{
    for (int i = 0; menu_ && i < menu_->Count(); ++i) {
        const RECT r = ItemRect(i);
        if (PtInRect(&r, p))
            return i;
    }
    return -1;
}

void TsuiMenuBar::Paint(HDC dc, const RECT& client)
{
    const TsuiUIStyle style = menu_ ? menu_->UIStyle() : DeepBlue;
    const char* pictureName = StyleTraits(style).menuBarPicture;
    TGdiObject picture = pictureName ? LoadSkinPicture(pictureName, menu_->Scale()) : TGdiObject();
    if (picture) {
        StretchBitmap(dc, picture.Handle(), client);
    } else {
        TGdiObject brush(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(dc, &client, static_cast<HBRUSH>(brush.Handle()));
    }
    if (!menu_)
        return;
    SetBkMode(dc, TRANSPARENT);
    TSelectObject font(dc, FitFont());
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Handle(), &cursor);
    hot_ = MouseInside() ? ItemAt(cursor) : -1;
    for (int i = 0; i < menu_->Count(); ++i) {
        RECT r = ItemRect(i);
        const TMenuItem& item = menu_->Item(i);
        COLORREF text = ColorToRGB(menu_->FontColor());
        if (i == hot_ && item.Enabled()) {
            TGdiObject fill(CreateSolidBrush(ColorToRGB(menu_->SelectedColor())));
            FillRect(dc, &r, static_cast<HBRUSH>(fill.Handle()));
            text = ColorToRGB(menu_->SelectedFontColor());
        }
        SetTextColor(dc, item.Enabled() ? text : RGB(0x80, 0x80, 0x80));
        const std::wstring caption = Utf8ToWide(item.Caption());
        DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

bool TsuiMenuBar::MouseMove(POINT)
{
    Invalidate();
    return false;
}

bool TsuiMenuBar::MouseDown(POINT at, bool doubleClick)
{
    const int index = doubleClick ? -1 : ItemAt(at);
    if (!menu_ || index < 0 || !menu_->Item(index).Enabled())
        return false;
    TMenuItem& item = menu_->Item(index);
    if (item.Count() == 0) {
        item.Click();
    } else {
        const RECT r = ItemRect(index);
        POINT corner{r.left, r.bottom};
        ClientToScreen(Handle(), &corner);
        menu_->PopupSubItems(item, GetAncestor(Handle(), GA_ROOT), corner.x, corner.y);
    }
    return true;
}
