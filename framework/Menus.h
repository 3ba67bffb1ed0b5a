// Popup menus whose items are objects: caption, enabled, checked, default,
// shortcut text, image index and sub-items. The system menu is built from
// the items each time the menu pops up, so every change shows and an
// owner-drawn menu stays owner-drawn at every depth.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Input.h"

class TPopupMenu;

class TMenuItem {
public:
    explicit TMenuItem(std::string caption = "", std::function<void()> onClick = nullptr);
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    // "-" makes a separator line.
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool Checked() const { return checked_; }
    void SetChecked(bool value) { checked_ = value; }
    // A radio item shows a dot instead of a check mark when checked.
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value) { radioItem_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    // The shortcut key in words ("Ctrl+C"); shown right-aligned.
    const std::string& ShortCutText() const { return shortCutText_; }
    void SetShortCutText(const std::string& text) { shortCutText_ = text; }
    // The key that chooses the item without opening the menu (0: none),
    // with the modifiers it needs.
    WORD ShortCutKey() const { return shortCutKey_; }
    TShiftState ShortCutShift() const { return shortCutShift_; }
    void SetShortCut(WORD key, TShiftState shift)
    {
        shortCutKey_ = key;
        shortCutShift_ = shift;
    }
    // Index into the menu's image list; -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }

    // Sub-items, owned.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem& Items(int index) const { return *items_[index]; }
    TMenuItem& Add(const std::string& caption, std::function<void()> onClick = nullptr);
    TMenuItem& Insert(int index, const std::string& caption, std::function<void()> onClick = nullptr);
    void Delete(int index);
    void Clear() { items_.clear(); }
    TMenuItem* Parent() const { return parent_; }
    // The menu the item belongs to, through its parents; nullptr if none.
    TPopupMenu* Menu() const;

    std::function<void()> OnClick;
    void Click();

    // The item behind an owner-drawn menu item's data, when it is one of
    // the program's live items; nullptr otherwise.
    static TMenuItem* FromItemData(ULONG_PTR data);

private:
    friend class TPopupMenu;
    TMenuItem& Adopt(int index, std::unique_ptr<TMenuItem> item);

    std::string caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool radioItem_ = false;
    bool default_ = false;
    std::string shortCutText_;
    WORD shortCutKey_ = 0;
    TShiftState shortCutShift_;
    int imageIndex_ = -1;
    std::vector<std::unique_ptr<TMenuItem>> items_;
    TMenuItem* parent_ = nullptr;
    TPopupMenu* menu_ = nullptr; // set on the root item only
};

// The data of the items of a shown menu, kept while it is shown.
struct TMenuItemRecord;
class TMenuItemRecords {
public:
    TMenuItemRecords() = default;
    ~TMenuItemRecords();
    TMenuItemRecords(const TMenuItemRecords&) = delete;
    TMenuItemRecords& operator=(const TMenuItemRecords&) = delete;
    // The data a system menu item of item carries.
    ULONG_PTR Add(TMenuItem& item);
    void Clear();

private:
    std::vector<std::unique_ptr<TMenuItemRecord>> records_;
};

class TPopupMenu {
public:
    TPopupMenu();
    virtual ~TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;

    // The root item: its sub-items are the menu's items.
    TMenuItem& Items() { return root_; }
    const TMenuItem& Items() const { return root_; }

    // Items of the top level addressed by index; "-" makes a separator.
    int Add(const std::string& caption, std::function<void()> onClick = nullptr);
    TMenuItem& Item(int index) const { return root_.Items(index); }
    int Count() const { return root_.Count(); }
    void SetCaption(int index, const std::string& caption) { Item(index).SetCaption(caption); }
    // The item a double click on the owner chooses (the first default
    // item of the top level), or -1.
    int DefaultItem() const;
    void SetDefaultItem(int index);
    void Click(int index);

    // Owner-drawn menus measure and draw their items themselves.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value) { ownerDraw_ = value; }
    virtual void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height);
    virtual void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected);
    // True when DrawItem draws the arrow of an item with sub-items itself,
    // so that the system's own is kept off the item.
    virtual bool DrawsSubMenuArrows() const { return false; }
    // The menu's image list for item images; nullptr for none.
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images) { images_ = images; }

    // Shows the menu at (x, y) in screen pixels for owner, waits for the
    // choice and runs the item's handler.
    void Popup(HWND owner, int x, int y);
    // The same with the sub-items of one of the menu's items (a drop-down
    // of a menu bar).
    void PopupSubItems(const TMenuItem& parent, HWND owner, int x, int y);
    // Called before the menu appears at a point of the screen: a menu that
    // draws at the scale of its monitor takes it here.
    virtual void ShowingAt(POINT) {}
    // The system menu while it is shown, else nullptr.
    HMENU Handle() const { return shown_; }

    std::function<void()> OnPopup;

private:
    HMENU Build(const TMenuItem& parent, std::vector<TMenuItem*>& commands);

    TMenuItem root_;
    bool ownerDraw_ = false;
    HIMAGELIST images_ = nullptr;
    HMENU shown_ = nullptr;
    TMenuItemRecords itemData_;
};

// Routes WM_MEASUREITEM and WM_DRAWITEM of owner-drawn menu items to their
// menu, whichever window received them, and answers WM_MENUCHAR for the
// program's menus at any depth: owner-drawn items carry no text for the
// system to find their letters in. True when the message was one of these.
bool DispatchMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
