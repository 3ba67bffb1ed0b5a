// Standard Win32 controls on a form: labels, edits, buttons, check boxes,
// a drop-down list and a track bar, with their events.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Form.h"

class TControl {
public:
    virtual ~TControl() = default;
    HWND Handle() const { return handle_; }

    std::string Text() const;
    void SetText(const std::string& text);
    // The control's hint, shown by the framework's hint window (none yet).
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool IsLabel() const { return isLabel_; }

    // A notification from the control, routed by its form (WM_COMMAND code
    // or a scroll message).
    virtual void Notify(UINT message, WORD code) {}

protected:
    void CreateControl(TForm& form, const wchar_t* className, DWORD style, const TBounds& bounds,
                       const std::string& text, HFONT font = nullptr);
    HWND handle_ = nullptr;
    bool isLabel_ = false;

private:
    std::string hint_;
};

class TLabel : public TControl {
public:
    void Create(TForm& form, const TBounds& bounds, const std::string& caption, HFONT font);
};

class TEdit : public TControl {
public:
    void Create(TForm& form, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font);
};

class TButton : public TControl {
public:
    void Create(TForm& form, const TBounds& bounds, const std::string& caption, HFONT font);
    std::function<void()> OnClick;
    void Notify(UINT message, WORD code) override;
};

class TCheckBox : public TControl {
public:
    void Create(TForm& form, const TBounds& bounds, const std::string& caption, bool checked, HFONT font);
    bool Checked() const;
    void SetChecked(bool value);
};

class TComboBox : public TControl {
public:
    // A drop-down list: the user picks, but cannot type.
    void Create(TForm& form, const TBounds& bounds, const std::vector<std::string>& items, int itemIndex,
                int itemHeight, HFONT font);
    int ItemIndex() const;
    // Selects an item (-1 or an index out of range: none). Does not fire OnSelect.
    void SetItemIndex(int index);
    // Fired when the user picks an item.
    std::function<void()> OnSelect;
    void Notify(UINT message, WORD code) override;
};

class TTrackBar : public TControl {
public:
    void Create(TForm& form, const TBounds& bounds, int min, int max, int position, int pageSize, int lineSize);
    int Min() const;
    int Max() const;
    int Position() const;
    void SetMax(int value);
    void SetPosition(int value);
    // Fired whenever the position differs from the one last reported.
    std::function<void()> OnChange;
    void Notify(UINT message, WORD code) override;

private:
    void Changed();
    int reported_ = 0;
};

// Gives the controls their tab order: the first one is reached first.
void SetTabOrder(const std::vector<TControl*>& controls);
