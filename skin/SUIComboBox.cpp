#include "skin/SUIComboBox.h"

#include <commctrl.h>

#include <algorithm>

#include "core/Unicode.h"
#include "skin/SUIColors.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIPictures.h"

LRESULT CALLBACK ComboTipProcedure(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);

TsuiCustomComboBox::~TsuiCustomComboBox()
{
    DestroyHandle();
    for (HWND tip : tips_)
        RemoveWindowSubclass(tip, ComboTipProcedure, 0);
}

// The dropped list is a window of its own: its border is drawn over in the
// combo box's BorderColor after the system has drawn it.
LRESULT CALLBACK ComboListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data)
{
    auto* combo = reinterpret_cast<TsuiCustomComboBox*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(list, ComboListProcedure, id);
        combo->list_ = nullptr;
        return DefSubclassProc(list, message, wParam, lParam);
    }
    LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    if (message == WM_NCPAINT || message == WM_PAINT || message == WM_SHOWWINDOW)
        FrameWindowBorder(list, combo->look_.borderColor, 0, false);
    return result;
}

// A tooltip of the combo box: while the list is open it is kept from
// showing, whichever of its timers comes due.
LRESULT CALLBACK ComboTipProcedure(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data)
{
    auto* combo = reinterpret_cast<TsuiCustomComboBox*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(tip, ComboTipProcedure, id);
        std::erase(combo->tips_, tip);
    } else if (message == WM_WINDOWPOSCHANGING && combo->listDropped_) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    }
    return DefSubclassProc(tip, message, wParam, lParam);
}

// The height given to a combo box is that of the box with its list open.
static TBounds WithList(const TBounds& closed, int itemHeight, int listItems)
{
    TBounds withList = closed;
    withList.height = closed.height + std::max(itemHeight, 16) * (listItems + 1);
    return withList;
}

void TsuiCustomComboBox::CreateCombo(TWindow& parent, const TBounds& bounds, DWORD kind, int itemHeight,
                                     int listItems, HFONT font)
{
    background_ = TGdiObject(CreateSolidBrush(ColorToRGB(look_.color)));
    itemHeight_ = itemHeight;
    listItems_ = listItems;
    const DWORD ownerDraw = kind == CBS_DROPDOWNLIST ? CBS_OWNERDRAWFIXED | CBS_HASSTRINGS : 0;
    CreateControl(parent, L"COMBOBOX", kind | ownerDraw | WS_TABSTOP | WS_VSCROLL,
                  WithList(bounds, itemHeight, listItems), "", font);
    FitHeights(bounds.height);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(Handle(), &info) && info.hwndList && info.hwndList != Handle()) {
        list_ = info.hwndList;
        SetWindowSubclass(list_, ComboListProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    SetUIStyle(OwnerFormUIStyle(OwnerForm()));
}

void TsuiCustomComboBox::Place(const TBounds& closed, int itemHeight)
{
    itemHeight_ = itemHeight;
    SetBounds(WithList(closed, itemHeight, listItems_));
    FitHeights(closed.height);
}

// The list's rows itemHeight high, and the closed box as high as asked, when
// that gives the text more room than the font needs.
void TsuiCustomComboBox::FitHeights(int closedHeight)
{
    closedHeight_ = closedHeight;
    if (itemHeight_ > 0)
        SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, itemHeight_);
    // The field height read back is not always the one that was set (Wine
    // reads two more): corrected by what is left over, a few times at most.
    int field = static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, WPARAM(-1), 0));
    for (int attempt = 0; attempt < 3 && field > 0; ++attempt) {
        RECT closed{};
        GetWindowRect(Handle(), &closed);
        const int extra = closedHeight - (closed.bottom - closed.top);
        if (extra == 0 || (attempt == 0 && extra < 0))
            break;
        field += extra;
        SendMessageW(Handle(), CB_SETITEMHEIGHT, WPARAM(-1), field);
    }
}

void TsuiCustomComboBox::Restyle(TsuiRestyle)
{
    const TsuiStyleSource source = StyleSource();
    useThemeFile_ = source.UsesThemeFile();
    drawnStyle_ = source.Effective();
    look_.borderColor = source.Color(SUI_THEME::ControlBorderColor);
    look_.buttonColor = source.Color(SUI_THEME::FormBackgroundColor);
    selectedColor_ = source.Color(SUI_THEME::MenuSelectedBackgroundColor);
    selectedFontColor_ = source.Color(SUI_THEME::MenuSelectedFontColor);
    look_.arrowColor = 0;
    Redraw();
}

void TsuiCustomComboBox::SetLook(const TsuiComboBoxLook& look)
{
    SetColor(look.color);
    look_.borderColor = look.borderColor;
    look_.buttonColor = look.buttonColor;
    look_.arrowColor = look.arrowColor;
    Redraw();
}

void TsuiCustomComboBox::SetBorderColor(uint32_t value)
{
    look_.borderColor = value;
    Redraw();
}

void TsuiCustomComboBox::SetButtonColor(uint32_t value)
{
    look_.buttonColor = value;
    Redraw();
}

void TsuiCustomComboBox::SetArrowColor(uint32_t value)
{
    look_.arrowColor = value;
    Redraw();
}

void TsuiCustomComboBox::SetColor(uint32_t value)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(value)));
    if (!brush)
        throw EOutOfResources("Cannot create the combo box's background brush");
    look_.color = value;
    background_ = std::move(brush);
    Redraw();
}

bool TsuiCustomComboBox::DroppedDown() const
{
    return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

void TsuiCustomComboBox::AttachTip(HWND tip)
{
    if (tip && SetWindowSubclass(tip, ComboTipProcedure, 0, reinterpret_cast<DWORD_PTR>(this)))
        tips_.push_back(tip);
}

void TsuiCustomComboBox::ListDropped(bool dropped)
{
    listDropped_ = dropped;
    if (dropped)
        for (HWND tip : tips_)
            SendMessageW(tip, TTM_POP, 0, 0);
}

void TsuiCustomComboBox::Redraw() const
{
    if (!Handle())
        return;
    InvalidateRect(Handle(), nullptr, FALSE);
    if (list_ && IsWindowVisible(list_))
        RedrawWindow(list_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

HBRUSH TsuiCustomComboBox::BackgroundBrush() const
{
    return HighContrastOn() ? GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(background_.Handle());
}

// In high contrast the style's button pictures give way to the system's
// colours.
bool TsuiCustomComboBox::PictureButton() const
{
    return !useThemeFile_ && StyleTraits(drawnStyle_).comboButtonPicture && !HighContrastOn();
}

void TsuiCustomComboBox::DrawButton(HDC dc, const RECT& button) const
{
    const char* picture = PictureButton() ? StyleTraits(drawnStyle_).comboButtonPicture : nullptr;
    if (picture) {
        // Loaded for each drawing: the picture is not one of the style's
        // table images.
        TGdiObject face = LoadSkinPicture(picture, Scale());
        StretchBitmap(dc, face.Handle(), button);
        return;
    }
    TGdiObject fill(CreateSolidBrush(DrawnColor(look_.buttonColor, TsuiColorRole::ButtonFace)));
    FillRect(dc, &button, static_cast<HBRUSH>(fill.Handle()));
    TGdiObject line(CreateSolidBrush(DrawnColor(look_.borderColor, TsuiColorRole::WindowText)));
    const RECT left{button.left, button.top - 1, button.left + Scale().Length(1), button.bottom + 1};
    FillRect(dc, &left, static_cast<HBRUSH>(line.Handle()));
}

// An arrow pointing down, size pixels wide at the top.
static void Triangle(HDC dc, int x, int y, int size, COLORREF color)
{
    TGdiObject pen(CreatePen(PS_SOLID, 1, color));
    TGdiObject brush(CreateSolidBrush(color));
    TSelectObject selectedPen(dc, pen.Handle());
    TSelectObject selectedBrush(dc, brush.Handle());
    const POINT corners[3] = {{x, y}, {x + size, y}, {x + size / 2, y + size / 2}};
    Polygon(dc, corners, 3);
}

void TsuiCustomComboBox::DrawArrow(HDC dc, const RECT& button) const
{
    if (PictureButton() && StyleTraits(drawnStyle_).comboButtonPictureHasArrow)
        return;
    const int size = 2 * Scale().Length(3), shift = Scale().Length(1);
    const int x = button.left + (button.right - button.left) / 2 - size / 2;
    const int y = (button.bottom - button.top) / 2;
    if (IsWindowEnabled(Handle())) {
        Triangle(dc, x, y, size, DrawnColor(look_.arrowColor, TsuiColorRole::ButtonText));
    } else {
        Triangle(dc, x + shift, y + shift, size, RGB(255, 255, 255));
        Triangle(dc, x, y, size, RGB(0x80, 0x80, 0x80));
    }
}

void TsuiCustomComboBox::DrawSkin(HDC dc) const
{
    if ((GetWindowLongW(Handle(), GWL_STYLE) & 3) == CBS_SIMPLE)
        return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(Handle(), &info))
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    TGdiObject outer(CreateSolidBrush(DrawnColor(look_.borderColor, TsuiColorRole::WindowText)));
    // The border, then a line of the background inside it.
    for (HBRUSH brush : {static_cast<HBRUSH>(outer.Handle()), BackgroundBrush()})
        for (int line = 0; line < Scale().Length(1); ++line) {
            FrameRect(dc, &client, brush);
            InflateRect(&client, -1, -1);
        }
    if (IsRectEmpty(&info.rcButton))
        return;
    DrawButton(dc, info.rcButton);
    DrawArrow(dc, info.rcButton);
}

void TsuiCustomComboBox::Paint()
{
    // The system's picture and the skin's go to the off-screen bitmap first,
    // so that the system's 3-D look never shows on the screen.
    buffer_.Paint(Handle(), [this](HDC dc, const RECT& client) {
        FillRect(dc, &client, BackgroundBrush());
        DefaultProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        DrawSkin(dc);
    });
}

LRESULT TsuiCustomComboBox::ColorMessage(HDC dc) const
{
    SetTextColor(dc, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, DrawnColor(look_.color, TsuiColorRole::Window));
    return reinterpret_cast<LRESULT>(BackgroundBrush());
}

LRESULT TsuiCustomComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        if (wParam) {
            LRESULT result = DefaultProc(message, wParam, lParam);
            DrawSkin(reinterpret_cast<HDC>(wParam));
            return result;
        }
        Paint();
        return 0;
    case WM_PRINTCLIENT: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        DrawSkin(reinterpret_cast<HDC>(wParam));
        return result;
    }
    case WM_CTLCOLORLISTBOX:
        // The dropped list asks the combo box itself.
        return ColorMessage(reinterpret_cast<HDC>(wParam));
    case WM_ENABLE:
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case WM_SETFONT: {
        // The box sizes its field to a new font: back to the height it was
        // given, as the edits beside it keep theirs at every scale.
        LRESULT result = DefaultProc(message, wParam, lParam);
        if (closedHeight_ > 0)
            FitHeights(closedHeight_);
        return result;
    }
    }
    return DefaultProc(message, wParam, lParam);
}

// An item of the list, or the closed box's field: the selected one in the
// style's selection colours, the others on the box's colour, the text in the
// control's font.
void TsuiCustomComboBox::DrawItem(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    const RECT r = item.rcItem;
    const bool field = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    // The field shows the selection only while the box has the focus.
    const bool selected = (item.itemState & ODS_SELECTED) && (!field || GetFocus() == Handle());
    const bool enabled = IsWindowEnabled(Handle()) != FALSE;
    const bool lit = selected && enabled;
    TGdiObject fill(CreateSolidBrush(lit ? DrawnColor(selectedColor_, TsuiColorRole::Highlight)
                                         : DrawnColor(look_.color, TsuiColorRole::Window)));
    FillRect(dc, &r, static_cast<HBRUSH>(fill.Handle()));
    if (item.itemID == UINT(-1))
        return;
    const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, item.itemID, 0);
    if (length == CB_ERR)
        return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(Handle(), CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()))));
    TSelectObject font(dc, Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !enabled ? GetSysColor(COLOR_GRAYTEXT)
                              : selected ? DrawnColor(selectedFontColor_, TsuiColorRole::HighlightText)
                                         : GetSysColor(COLOR_WINDOWTEXT));
    RECT textRect = r;
    textRect.left += Scale().Length(2);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool TsuiCustomComboBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_MEASUREITEM && itemHeight_ > 0) {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure.CtlType == ODT_COMBOBOX && int(measure.itemID) != -1)
            measure.itemHeight = itemHeight_;
        result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && (HIWORD(wParam) == CBN_DROPDOWN || HIWORD(wParam) == CBN_CLOSEUP)) {
        // The tips step aside while the list is open.
        ListDropped(HIWORD(wParam) == CBN_DROPDOWN);
        result = 0;
        return true;
    }
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORLISTBOX) {
        result = ColorMessage(reinterpret_cast<HDC>(wParam));
        return true;
    }
    return false;
}

void TsuiComboBox::Create(TWindow& parent, const TBounds& bounds, const std::vector<std::string>& items,
                          int itemIndex, int itemHeight, HFONT font)
{
    CreateCombo(parent, bounds, CBS_DROPDOWNLIST, itemHeight, static_cast<int>(items.size()), font);
    SetItems(items);
    SetItemIndex(itemIndex);
}

std::vector<std::string> TsuiComboBox::Items() const
{
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, i, 0);
        if (length == CB_ERR)
            continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(WideToUtf8(text));
    }
    return items;
}

void TsuiComboBox::SetItems(const std::vector<std::string>& items)
{
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
}

int TsuiComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TsuiComboBox::SetItemIndex(int index)
{
    const int count = static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
    SendMessageW(Handle(), CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

bool TsuiComboBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
        if (OnChange)
            OnChange();
        if (OnSelect)
            OnSelect();
        result = 0;
        return true;
    }
    return TsuiCustomComboBox::Reflected(message, wParam, lParam, result);
}
