#include "framework/Controls.h"

#include <commctrl.h>

#include "core/Unicode.h"
#include "framework/Accessible.h"

TControl::~TControl()
{
    DestroyHandle();
}

std::string TControl::Text() const
{
    return WindowText(Handle());
}

void TControl::SetText(const std::string& text)
{
    SetWindowTextW(Handle(), Utf8ToWide(text).c_str());
}

TBounds TControl::Bounds() const
{
    RECT r{};
    GetWindowRect(Handle(), &r);
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TControl::SetBounds(const TBounds& b)
{
    SetWindowPos(Handle(), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TControl::Enabled() const
{
    return IsWindowEnabled(Handle()) != FALSE;
}

void TControl::SetEnabled(bool value)
{
    EnableWindow(Handle(), value);
}

bool TControl::Visible() const
{
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetVisible(bool value)
{
    ShowWindow(Handle(), value ? SW_SHOWNA : SW_HIDE);
}

bool TControl::TabStop() const
{
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
}

void TControl::SetTabStop(bool value)
{
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TControl::SetFocus()
{
    ::SetFocus(Handle());
}

void TControl::SetFont(HFONT font)
{
    font_ = font;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool TControl::DialogKey(WORD, bool)
{
    return false;
}

// A control without a font of its own takes its container's.
static HFONT InheritedFont(TWindow& parent, HFONT font)
{
    if (!font)
        if (auto* form = dynamic_cast<TForm*>(&parent))
            font = form->Font();
    if (!font)
        if (auto* container = dynamic_cast<TControl*>(&parent))
            font = container->Font();
    return font;
}

static TCreateParams ChildParams(TWindow& parent, const std::wstring& caption, DWORD style, const TBounds& bounds)
{
    TCreateParams params;
    params.caption = caption.c_str();
    params.style = WS_CHILD | WS_VISIBLE | style;
    params.left = bounds.left;
    params.top = bounds.top;
    params.width = bounds.width;
    params.height = bounds.height;
    params.parent = parent.Handle();
    return params;
}

void TControl::CreateControl(TWindow& parent, const wchar_t* className, DWORD style, const TBounds& bounds,
                             const std::string& text, HFONT font)
{
    const std::wstring caption = Utf8ToWide(text);
    TCreateParams params = ChildParams(parent, caption, style, bounds);
    params.className = className;
    parent_ = &parent;
    CreateHandle(params);
    font_ = InheritedFont(parent, font);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void TControl::CreateOwnControl(TWindow& parent, const TWindowClass& windowClass, DWORD style, DWORD exStyle,
                                const TBounds& bounds, const std::string& text, HFONT font)
{
    const std::wstring caption = Utf8ToWide(text);
    TCreateParams params = ChildParams(parent, caption, WS_CLIPSIBLINGS | style, bounds);
    params.windowClass = &windowClass;
    params.exStyle = exStyle;
    parent_ = &parent;
    // Known before the window exists: its first messages may draw text.
    font_ = InheritedFont(parent, font);
    CreateHandle(params);
}

void TEdit::Create(TWindow& parent, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font)
{
    CreateControl(parent, L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), bounds,
                  text, font);
}

void TButton::Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font)
{
    CreateControl(parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, bounds, caption, font);
}

void TButton::Click()
{
    if (modalResult_ != 0)
        if (TForm* form = OwnerForm())
            form->SetModalResult(modalResult_);
    if (OnClick)
        OnClick();
}

bool TButton::DialogKey(WORD key, bool focused)
{
    if (!Enabled() || !Visible())
        return false;
    if ((key == VK_RETURN && (focused || default_)) || (key == VK_ESCAPE && cancel_)) {
        Click();
        return true;
    }
    return false;
}

bool TButton::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

void TCheckBox::Create(TWindow& parent, const TBounds& bounds, const std::string& caption, bool checked, HFONT font)
{
    CreateControl(parent, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, bounds, caption, font);
    SetChecked(checked);
}

bool TCheckBox::Checked() const
{
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool value)
{
    SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TComboBox::Create(TWindow& parent, const TBounds& bounds, const std::vector<std::string>& items,
                       int itemIndex, int itemHeight, HFONT font)
{
    // The height given to a combo box is that of its open list.
    TBounds withList = bounds;
    withList.height = bounds.height + itemHeight * static_cast<int>(items.size() + 1);
    CreateControl(parent, L"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, withList, "", font);
    for (const std::string& item : items)
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, itemHeight);
    SetItemIndex(itemIndex);
}

int TComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index)
{
    int count = static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
    SendMessageW(Handle(), CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

bool TComboBox::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
        if (OnSelect)
            OnSelect();
        result = 0;
        return true;
    }
    return false;
}

void TTrackBar::Create(TWindow& parent, const TBounds& bounds, int min, int max, int position, int pageSize,
                       int lineSize)
{
    CreateControl(parent, TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, bounds, "");
    SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max);
    SendMessageW(Handle(), TBM_SETPAGESIZE, 0, pageSize);
    SendMessageW(Handle(), TBM_SETLINESIZE, 0, lineSize);
    SendMessageW(Handle(), TBM_SETPOS, TRUE, position);
    reported_ = Position();
}

int TTrackBar::Min() const
{
    return static_cast<int>(SendMessageW(Handle(), TBM_GETRANGEMIN, 0, 0));
}

int TTrackBar::Max() const
{
    return static_cast<int>(SendMessageW(Handle(), TBM_GETRANGEMAX, 0, 0));
}

int TTrackBar::Position() const
{
    return static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
}

void TTrackBar::SetMax(int value)
{
    SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, value);
    Changed();
}

void TTrackBar::SetPosition(int value)
{
    SendMessageW(Handle(), TBM_SETPOS, TRUE, value);
    Changed();
}

bool TTrackBar::Reflected(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        Changed();
        result = 0;
        return true;
    }
    return false;
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

void TPanel::Create(TWindow& parent, const TBounds& bounds)
{
    static const TWindowClass panelClass{L"TPanel", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    CreateOwnControl(parent, panelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, bounds, "");
}

void SetTabOrder(const std::vector<TControl*>& controls)
{
    // Tab order follows the z-order of the siblings.
    for (TControl* control : controls)
        SetWindowPos(control->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The program's controls among the form's descendants, in z-order (which
// is the tab order).
static std::vector<TControl*> ControlsOf(HWND form)
{
    std::vector<TControl*> controls;
    EnumChildWindows(
        form,
        [](HWND window, LPARAM data) -> BOOL {
            if (auto* control = dynamic_cast<TControl*>(TWindow::FromHandle(window)))
                reinterpret_cast<std::vector<TControl*>*>(data)->push_back(control);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    return controls;
}

bool DialogKeyToControls(const TForm& form, WORD key)
{
    if (key != VK_RETURN && key != VK_ESCAPE)
        return false;
    HWND focus = GetFocus();
    if (auto* focused = dynamic_cast<TControl*>(TWindow::FromHandle(focus)))
        if (IsChild(form.Handle(), focus) && focused->DialogKey(key, true))
            return true;
    for (TControl* control : ControlsOf(form.Handle()))
        if (control->Handle() != focus && control->DialogKey(key, false))
            return true;
    return false;
}

void TControl::SetAccessibleName(const std::string& name)
{
    if (accessibleName_ == name)
        return;
    accessibleName_ = name;
    NotifyAccessible(Handle(), EVENT_OBJECT_NAMECHANGE);
}

std::wstring TControl::SpokenName() const
{
    return Utf8ToWide(accessibleName_.empty() ? Text() : accessibleName_);
}
