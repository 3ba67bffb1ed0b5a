#include "framework/Controls.h"

#include <commctrl.h>

#include <stdexcept>

#include "framework/Application.h"
#include "framework/Unicode.h"

std::string TControl::Text() const
{
    int length = GetWindowTextLengthW(handle_);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(handle_, text.data(), length + 1));
    return WideToUtf8(text);
}

void TControl::SetText(const std::string& text)
{
    SetWindowTextW(handle_, Utf8ToWide(text).c_str());
}

void TControl::CreateControl(TForm& form, const wchar_t* className, DWORD style, const TBounds& bounds,
                             const std::string& text, HFONT font)
{
    handle_ = CreateWindowExW(0, className, Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
                              bounds.top, bounds.width, bounds.height, form.Handle(), nullptr,
                              Application.Instance(), nullptr);
    if (!handle_)
        throw std::runtime_error("Cannot create a control of the window");
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : form.Font()), FALSE);
    form.AddControl(this);
}

void TLabel::Create(TForm& form, const TBounds& bounds, const std::string& caption, HFONT font)
{
    isLabel_ = true;
    CreateControl(form, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, bounds, caption, font);
}

void TEdit::Create(TForm& form, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font)
{
    CreateControl(form, L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), bounds,
                  text, font);
}

void TButton::Create(TForm& form, const TBounds& bounds, const std::string& caption, HFONT font)
{
    CreateControl(form, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, bounds, caption, font);
}

void TButton::Notify(UINT message, WORD code)
{
    if (message == WM_COMMAND && code == BN_CLICKED && OnClick)
        OnClick();
}

void TCheckBox::Create(TForm& form, const TBounds& bounds, const std::string& caption, bool checked, HFONT font)
{
    CreateControl(form, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, bounds, caption, font);
    SetChecked(checked);
}

bool TCheckBox::Checked() const
{
    return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool value)
{
    SendMessageW(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TComboBox::Create(TForm& form, const TBounds& bounds, const std::vector<std::string>& items, int itemIndex,
                       int itemHeight, HFONT font)
{
    // The height given to a combo box is that of its open list.
    TBounds withList = bounds;
    withList.height = bounds.height + itemHeight * static_cast<int>(items.size() + 1);
    CreateControl(form, L"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, withList, "", font);
    for (const std::string& item : items)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    SendMessageW(handle_, CB_SETITEMHEIGHT, 0, itemHeight);
    SetItemIndex(itemIndex);
}

int TComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index)
{
    int count = static_cast<int>(SendMessageW(handle_, CB_GETCOUNT, 0, 0));
    SendMessageW(handle_, CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

void TComboBox::Notify(UINT message, WORD code)
{
    if (message == WM_COMMAND && code == CBN_SELCHANGE && OnSelect)
        OnSelect();
}

void TTrackBar::Create(TForm& form, const TBounds& bounds, int min, int max, int position, int pageSize,
                       int lineSize)
{
    CreateControl(form, TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, bounds, "");
    SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max);
    SendMessageW(handle_, TBM_SETPAGESIZE, 0, pageSize);
    SendMessageW(handle_, TBM_SETLINESIZE, 0, lineSize);
    SendMessageW(handle_, TBM_SETPOS, TRUE, position);
    reported_ = Position();
}

int TTrackBar::Min() const
{
    return static_cast<int>(SendMessageW(handle_, TBM_GETRANGEMIN, 0, 0));
}

int TTrackBar::Max() const
{
    return static_cast<int>(SendMessageW(handle_, TBM_GETRANGEMAX, 0, 0));
}

int TTrackBar::Position() const
{
    return static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0));
}

void TTrackBar::SetMax(int value)
{
    SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, value);
    Changed();
}

void TTrackBar::SetPosition(int value)
{
    SendMessageW(handle_, TBM_SETPOS, TRUE, value);
    Changed();
}

void TTrackBar::Notify(UINT message, WORD)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        Changed();
}

void TTrackBar::Changed()
{
    int position = Position();
    if (position == reported_)
        return;
    reported_ = position;
    if (OnChange)
        OnChange();
}

void SetTabOrder(const std::vector<TControl*>& controls)
{
    // Tab order follows the z-order of the siblings.
    for (TControl* control : controls)
        SetWindowPos(control->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
