// A popup menu with its items and their click handlers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TMenuItem {
public:
    TMenuItem(std::string caption, std::function<void()> onClick)
        : caption_(std::move(caption)), onClick_(std::move(onClick)) {}
    const std::string& Caption() const { return caption_; }
    bool IsSeparator() const { return caption_ == "-"; }

private:
    friend class TPopupMenu;
    std::string caption_;
    std::function<void()> onClick_;
};

class TPopupMenu {
public:
    TPopupMenu();
    ~TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;

    // Items are addressed by their index; "-" makes a separator line.
    int Add(const std::string& caption, std::function<void()> onClick = nullptr);
    const TMenuItem& Item(int index) const { return items_[index]; }
    int Count() const { return static_cast<int>(items_.size()); }
    void SetCaption(int index, const std::string& caption);
    // The item a double click on the owner chooses, or -1.
    int DefaultItem() const { return defaultItem_; }
    void SetDefaultItem(int index) { defaultItem_ = index; }
    void Click(int index);

    // Shows the menu at (x, y) in screen pixels for owner, waits for the
    // choice and runs the item's handler.
    void Popup(HWND owner, int x, int y);
    HMENU Handle() const { return menu_; }

private:
    HMENU menu_;
    std::vector<TMenuItem> items_;
    int defaultItem_ = -1;
};
