#include "framework/Menus.h"

#include "framework/Application.h"
#include "framework/Unicode.h"

TPopupMenu::TPopupMenu() : menu_(CreatePopupMenu()) {}

TPopupMenu::~TPopupMenu()
{
    DestroyMenu(menu_);
}

int TPopupMenu::Add(const std::string& caption, std::function<void()> onClick)
{
    int index = Count();
    items_.emplace_back(caption, std::move(onClick));
    if (items_.back().IsSeparator())
        AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    else
        AppendMenuW(menu_, MF_STRING, index + 1, Utf8ToWide(caption).c_str());
    return index;
}

void TPopupMenu::SetCaption(int index, const std::string& caption)
{
    items_[index].caption_ = caption;
    ModifyMenuW(menu_, index, MF_BYPOSITION | MF_STRING, index + 1, Utf8ToWide(caption).c_str());
}

void TPopupMenu::Click(int index)
{
    if (index >= 0 && index < Count() && items_[index].onClick_)
        items_[index].onClick_();
}

void TPopupMenu::Popup(HWND owner, int x, int y)
{
    SetMenuDefaultItem(menu_, defaultItem_ >= 0 ? defaultItem_ : static_cast<UINT>(-1), TRUE);
    // The owner must be in the foreground, or the menu does not close when
    // the user clicks elsewhere.
    SetForegroundWindow(owner);
    int chosen = TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen > 0)
        Click(chosen - 1);
}
