// Controls: child windows of a form or a panel, with their events. TControl
// is the base; the standard Win32 controls (edit, button, check box,
// drop-down list, track bar) and the plain panel are here; owner-painted
// controls derive from TCustomControl (CustomControl.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Form.h"
#include "framework/Window.h"

class TControl : public TWindow {
public:
    ~TControl() override;

    // The window it lives in: a form or a panel.
    TWindow* Parent() const { return parent_; }
    // The form it belongs to, through any panels.
    TForm* OwnerForm() const { return TForm::FormOf(Handle()); }

    std::string Text() const;
    void SetText(const std::string& text);
    // The control's hint, shown by the framework's hint window.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    // The name screen readers give the control: the label beside it;
    // empty: its own text. Readers hear of a change.
    const std::string& AccessibleName() const { return accessibleName_; }
    void SetAccessibleName(const std::string& name);

    // Position and size in the parent's client area.
    TBounds Bounds() const;
    void SetBounds(const TBounds& bounds);
    int Left() const { return Bounds().left; }
    int Top() const { return Bounds().top; }
    int Width() const { return Bounds().width; }
    int Height() const { return Bounds().height; }

    bool Enabled() const;
    void SetEnabled(bool value);
    bool Visible() const;
    void SetVisible(bool value);
    bool TabStop() const;
    void SetTabStop(bool value);
    bool Focused() const { return Handle() && GetFocus() == Handle(); }
    void SetFocus();

    // The font it draws its text with; not owned: fonts outlive controls.
    HFONT Font() const { return font_; }
    void SetFont(HFONT font);

    // Enter or Escape pressed on its form. focused: this control has the
    // focus. Returns true when the control acted on the key.
    virtual bool DialogKey(WORD key, bool focused);

protected:
    // A control of a system class (EDIT, BUTTON, ...).
    void CreateControl(TWindow& parent, const wchar_t* className, DWORD style, const TBounds& bounds,
                       const std::string& text, HFONT font = nullptr);
    // A control of the program's own class.
    void CreateOwnControl(TWindow& parent, const TWindowClass& windowClass, DWORD style, DWORD exStyle,
                          const TBounds& bounds, const std::string& text, HFONT font = nullptr);

private:
    TWindow* parent_ = nullptr;
    HFONT font_ = nullptr;
    std::string hint_;
    std::string accessibleName_;

protected:
    // AccessibleName, or the text when there is none.
    std::wstring SpokenName() const;
};

class TEdit : public TControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font);
};

class TButton : public TControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font);
    std::function<void()> OnClick;
    // What a click does: sets the form's ModalResult (when not 0), then
    // OnClick.
    void Click();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    // Enter clicks the Default button, Escape the Cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    bool DialogKey(WORD key, bool focused) override;

protected:
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

class TCheckBox : public TControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, const std::string& caption, bool checked, HFONT font);
    bool Checked() const;
    void SetChecked(bool value);
};

class TComboBox : public TControl {
public:
    // A drop-down list: the user picks, but cannot type.
    void Create(TWindow& parent, const TBounds& bounds, const std::vector<std::string>& items, int itemIndex,
                int itemHeight, HFONT font);
    int ItemIndex() const;
    // Selects an item (-1 or an index out of range: none). Does not fire OnSelect.
    void SetItemIndex(int index);
    // Fired when the user picks an item.
    std::function<void()> OnSelect;

protected:
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class TTrackBar : public TControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, int min, int max, int position, int pageSize, int lineSize);
    int Min() const;
    int Max() const;
    int Position() const;
    void SetMax(int value);
    void SetPosition(int value);
    // Fired whenever the position differs from the one last reported.
    std::function<void()> OnChange;

protected:
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Changed();
    int reported_ = 0;
};

// A plain container for other controls, filled with the button face.
class TPanel : public TControl {
public:
    void Create(TWindow& parent, const TBounds& bounds);
};

// Gives the controls their tab order: the first one is reached first.
void SetTabOrder(const std::vector<TControl*>& controls);

// Enter and Escape on a form: its focused control first, then the Default
// (Enter) or Cancel (Escape) button. True when one acted.
bool DialogKeyToControls(const TForm& form, WORD key);
