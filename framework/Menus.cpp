#include "framework/Menus.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <set>

#include "core/MenuKeys.h"
#include "core/ScopeExit.h"
#include "core/Unicode.h"
#include "framework/Window.h"
#include "imaging/GdiHandles.h"

static std::set<const TMenuItem*>& LiveItems()
{
    static std::set<const TMenuItem*> items;
    return items;
}

TMenuItem::TMenuItem(std::string caption, std::function<void()> onClick)
    : OnClick(std::move(onClick)), caption_(std::move(caption))
{
    LiveItems().insert(this);
}

TMenuItem::~TMenuItem()
{
    LiveItems().erase(this);
}

// What an item of a shown menu carries as its data: screen readers find
// the text of an owner-drawn item at its start, the menus find their item.
struct TMenuItemData {
    MSAAMENUINFO reader;
    TMenuItem* item;
};

struct TMenuItemRecord {
    TMenuItemData data; // first: the item's data points here
    std::wstring text;
};

// The data of the items of the menus shown now: a few dozen at most.
static std::vector<const TMenuItemData*>& LiveItemData()
{
    static std::vector<const TMenuItemData*> data;
    return data;
}

// The caption as a system menu item's text: with its & marker, and the
// shortcut after a tab.
static std::wstring ReaderText(const TMenuItem& item)
{
    std::wstring text = Utf8ToWide(item.Caption());
    if (!item.ShortCutText().empty())
        text += L"\t" + Utf8ToWide(item.ShortCutText());
    return text;
}

TMenuItemRecords::~TMenuItemRecords()
{
    Clear();
}

void TMenuItemRecords::Clear()
{
    std::vector<const TMenuItemData*>& live = LiveItemData();
    for (const auto& record : records_)
        live.erase(std::find(live.begin(), live.end(), &record->data));
    records_.clear();
}

ULONG_PTR TMenuItemRecords::Add(TMenuItem& item)
{
    auto record = std::make_unique<TMenuItemRecord>();
    record->text = ReaderText(item);
    record->data.reader.dwMSAASignature = MSAA_MENU_SIG;
    record->data.reader.cchWText = static_cast<DWORD>(record->text.size());
    record->data.reader.pszWText = record->text.data();
    record->data.item = &item;
    LiveItemData().push_back(&record->data);
    records_.push_back(std::move(record));
    return reinterpret_cast<ULONG_PTR>(&records_.back()->data);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data)
{
    auto* found = reinterpret_cast<const TMenuItemData*>(data);
    const std::vector<const TMenuItemData*>& live = LiveItemData();
    if (std::find(live.begin(), live.end(), found) == live.end())
        return nullptr;
    return LiveItems().count(found->item) ? found->item : nullptr;
}

TMenuItem& TMenuItem::Adopt(int index, std::unique_ptr<TMenuItem> item)
{
    item->parent_ = this;
    TMenuItem& added = *item;
    items_.insert(items_.begin() + index, std::move(item));
    return added;
}

TMenuItem& TMenuItem::Add(const std::string& caption, std::function<void()> onClick)
{
    return Insert(Count(), caption, std::move(onClick));
}

TMenuItem& TMenuItem::Insert(int index, const std::string& caption, std::function<void()> onClick)
{
    if (index < 0 || index > Count())
        index = Count();
    return Adopt(index, std::make_unique<TMenuItem>(caption, std::move(onClick)));
}

void TMenuItem::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

TPopupMenu* TMenuItem::Menu() const
{
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

void TMenuItem::Click()
{
    if (enabled_ && OnClick)
        OnClick();
}

TPopupMenu::TPopupMenu()
{
    root_.menu_ = this;
    // Whichever window pops a menu up hands its items back here.
    SetMenuMessages(DispatchMenuMessage);
}

TPopupMenu::~TPopupMenu() = default;

int TPopupMenu::Add(const std::string& caption, std::function<void()> onClick)
{
    root_.Add(caption, std::move(onClick));
    return Count() - 1;
}

int TPopupMenu::DefaultItem() const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i).Default())
            return i;
    return -1;
}

void TPopupMenu::SetDefaultItem(int index)
{
    for (int i = 0; i < Count(); ++i)
        Item(i).SetDefault(i == index);
}

void TPopupMenu::Click(int index)
{
    if (index >= 0 && index < Count())
        Item(index).Click();
}

void TPopupMenu::MeasureItem(TMenuItem& item, HDC dc, int& width, int& height)
{
    // Plain owner drawing: the system's menu font and heights.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    TGdiObject font(CreateFontIndirectW(&metrics.lfMenuFont));
    TSelectObject selected(dc, font.Handle());
    const std::wstring text = Utf8ToWide(item.Caption());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    width = r.right + 40;
    height = item.IsLine() ? 8 : GetSystemMetrics(SM_CYMENU);
}

void TPopupMenu::DrawItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected)
{
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item.IsLine()) {
        RECT line{rect.left + 2, (rect.top + rect.bottom) / 2, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!item.Enabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT r{rect.left + 20, rect.top, rect.right, rect.bottom};
    const std::wstring text = Utf8ToWide(item.Caption());
    DrawTextW(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER);
}

HMENU TPopupMenu::Build(const TMenuItem& parent, std::vector<TMenuItem*>& commands)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        throw std::runtime_error("Cannot create a menu");
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = parent.Items(i);
        const std::wstring caption = Utf8ToWide(item.Caption());
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
        info.fType = item.IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (item.RadioItem())
            info.fType |= MFT_RADIOCHECK;
        if (ownerDraw_)
            info.fType |= MFT_OWNERDRAW;
        if (!item.IsLine() && !ownerDraw_) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
        }
        info.fState = (item.Enabled() ? MFS_ENABLED : MFS_DISABLED) | (item.Checked() ? MFS_CHECKED : 0) |
                      (item.Default() ? MFS_DEFAULT : 0);
        info.dwItemData = itemData_.Add(item);
        if (item.Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = Build(item, commands);
        }
        commands.push_back(&item);
        info.wID = static_cast<UINT>(commands.size());
        InsertMenuItemW(menu, static_cast<UINT>(i), TRUE, &info);
    }
    return menu;
}

void TPopupMenu::Popup(HWND owner, int x, int y)
{
    PopupSubItems(root_, owner, x, y);
}

void TPopupMenu::PopupSubItems(const TMenuItem& parent, HWND owner, int x, int y)
{
    if (OnPopup)
        OnPopup();
    ShowingAt({x, y});
    std::vector<TMenuItem*> commands;
    HMENU menu = Build(parent, commands);
    const TScopeExit destroy([this, menu] {
        shown_ = nullptr;
        DestroyMenu(menu);
        itemData_.Clear();
    });
    shown_ = menu;
    // The owner must be in the foreground, or the menu does not close when
    // the user clicks elsewhere.
    SetForegroundWindow(owner);
    int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen > 0 && static_cast<size_t>(chosen) <= commands.size()) {
        TMenuItem* item = commands[chosen - 1];
        // The handler may change the menu: nothing of it is used after.
        item->Click();
    }
}

// The program's menu item behind an owner-drawn item's data, with its menu.
static TPopupMenu* MenuOfItem(ULONG_PTR data, TMenuItem*& item)
{
    item = TMenuItem::FromItemData(data);
    return item ? item->Menu() : nullptr;
}

// The captions of an open menu's items as the keys see them (empty for
// separators and disabled items), and the highlighted item. False when the
// menu holds none of the program's items.
static bool KeyCaptions(HMENU menu, std::vector<std::string>& captions, int& selected)
{
    bool ours = false;
    selected = -1;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_STATE;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const TMenuItem* item = TMenuItem::FromItemData(info.dwItemData);
        ours = ours || item;
        const bool choosable = item && item->Enabled() && !item->IsLine();
        captions.push_back(choosable ? item->Caption() : std::string());
        if (info.fState & MFS_HILITE)
            selected = i;
    }
    return ours;
}

static bool AnswerMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    std::vector<std::string> captions;
    int selected = -1;
    if (!KeyCaptions(reinterpret_cast<HMENU>(lParam), captions, selected))
        return false;
    const TMenuKeyAnswer answer = MenuKeyAnswer(captions, LOWORD(wParam), selected);
    const WORD action = answer.action == TMenuKeyAction::Execute  ? MNC_EXECUTE
                        : answer.action == TMenuKeyAction::Select ? MNC_SELECT
                                                                  : MNC_IGNORE;
    result = MAKELRESULT(answer.index < 0 ? 0 : answer.index, action);
    return true;
}

bool DispatchMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_MENUCHAR)
        return AnswerMenuChar(wParam, lParam, result);
    TMenuItem* item = nullptr;
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        TPopupMenu* menu = measure->CtlType == ODT_MENU ? MenuOfItem(measure->itemData, item) : nullptr;
        if (!menu)
            return false;
        TWindowDC screen(nullptr);
        int width = 0, height = 0;
        menu->MeasureItem(*item, screen.Handle(), width, height);
        measure->itemWidth = static_cast<UINT>(width);
        measure->itemHeight = static_cast<UINT>(height);
        result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        TPopupMenu* menu = draw->CtlType == ODT_MENU ? MenuOfItem(draw->itemData, item) : nullptr;
        if (!menu)
            return false;
        {
            TSavedDC saved(draw->hDC);
            menu->DrawItem(*item, draw->hDC, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
        }
        // The system draws its arrow after the item, into the same context.
        if (item->Count() > 0 && menu->DrawsSubMenuArrows()) {
            const RECT& r = draw->rcItem;
            ExcludeClipRect(draw->hDC, r.left, r.top, r.right, r.bottom);
        }
        result = TRUE;
        return true;
    }
    return false;
}
