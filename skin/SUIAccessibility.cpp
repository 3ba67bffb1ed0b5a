// What the skinned controls tell screen readers: each one's name, role,
// states, value and default action, as the system's own controls of the
// same kind tell them (TWindow::Describe). The controls raise the events
// of their changes where they change.
#include <windows.h>

#include <oleacc.h>

#include "core/Unicode.h"
#include "framework/Accessible.h"
#include "skin/SUIButton.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUITitleBar.h"
#include "skin/SUITrackBar.h"
#include "skin/frmMessage.h"

bool TsuiCustomButton::Describe(TAccessibleInfo& info)
{
    info.name = SpokenName();
    info.role = ROLE_SYSTEM_PUSHBUTTON;
    info.state = pressed_ ? STATE_SYSTEM_PRESSED : 0;
    if (auto* button = dynamic_cast<const TsuiButton*>(this); button && button->Default())
        info.state |= STATE_SYSTEM_DEFAULT;
    info.defaultAction = L"Press";
    return true;
}

void TsuiCustomButton::AccessibleAction(long part)
{
    if (part == CHILDID_SELF && Enabled())
        Click();
}

bool TsuiCheckBox::Describe(TAccessibleInfo& info)
{
    info.name = SpokenName();
    info.role = ROLE_SYSTEM_CHECKBUTTON;
    info.state = checked_ ? STATE_SYSTEM_CHECKED : 0;
    info.defaultAction = checked_ ? L"Uncheck" : L"Check";
    return true;
}

// As a click of the user: OnClick hears of it.
void TsuiCheckBox::AccessibleAction(long part)
{
    if (part == CHILDID_SELF && Enabled())
        UserToggle();
}

bool TsuiTrackBarSlider::Describe(TAccessibleInfo& info)
{
    info.name = L"Position";
    info.role = ROLE_SYSTEM_INDICATOR;
    return true;
}

bool TsuiTrackBar::Describe(TAccessibleInfo& info)
{
    info.name = SpokenName();
    info.role = ROLE_SYSTEM_SLIDER;
    info.value = Utf8ToWide(std::to_string(range_.position));
    return true;
}

bool TsuiEdit::Describe(TAccessibleInfo& info)
{
    info.name = SpokenName();
    info.role = ROLE_SYSTEM_TEXT;
    info.state = ReadOnly() ? STATE_SYSTEM_READONLY : 0;
    info.value = Utf8ToWide(Text());
    return true;
}

// The text of the selected item; empty when none is.
static std::wstring SelectedItemText(HWND combo)
{
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    const LRESULT length = index == CB_ERR ? CB_ERR : SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

bool TsuiCustomComboBox::Describe(TAccessibleInfo& info)
{
    info.name = SpokenName();
    info.role = ROLE_SYSTEM_COMBOBOX;
    info.state = DroppedDown() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    info.value = SelectedItemText(Handle());
    info.defaultAction = DroppedDown() ? L"Close" : L"Open";
    return true;
}

void TsuiCustomComboBox::AccessibleAction(long part)
{
    if (part == CHILDID_SELF && Enabled())
        SendMessageW(Handle(), CB_SHOWDROPDOWN, !DroppedDown(), 0);
}

// The title bar's buttons as readers know the system's own, by button type.
struct TTitleButtonWords {
    const wchar_t* name;
    long role;
    const wchar_t* action;
};
static const TTitleButtonWords kTitleButtonWords[] = {
    {L"Maximize", ROLE_SYSTEM_PUSHBUTTON, L"Press"}, // suiMax ("Restore" while maximised)
    {L"Minimize", ROLE_SYSTEM_PUSHBUTTON, L"Press"}, // suiMin
    {L"Close", ROLE_SYSTEM_PUSHBUTTON, L"Press"},    // suiClose
    {L"Help", ROLE_SYSTEM_PUSHBUTTON, L"Press"},     // suiHelp
    {L"Menu", ROLE_SYSTEM_BUTTONMENU, L"Open"},      // suiControlBox
    {L"Button", ROLE_SYSTEM_PUSHBUTTON, L"Press"},   // suiCustom
};

static TAccessiblePart TitleButtonPart(TsuiTitleBarBtnType type, bool maximized)
{
    const TTitleButtonWords& words = kTitleButtonWords[type <= suiCustom ? type : suiCustom];
    TAccessiblePart part;
    part.name = type == suiMax && maximized ? L"Restore" : words.name;
    part.role = words.role;
    part.state = type == suiControlBox ? STATE_SYSTEM_HASPOPUP : 0;
    part.defaultAction = words.action;
    return part;
}

// Every button is a part, the hidden ones invisible, so that a part's id
// stays its button's index plus one.
bool TsuiTitleBar::Describe(TAccessibleInfo& info)
{
    info.name = Utf8ToWide(caption_);
    info.role = ROLE_SYSTEM_TITLEBAR;
    const TsuiTitleLayout layout = Layout();
    for (int i = 0; i < ButtonCount(); ++i) {
        TAccessiblePart part = TitleButtonPart(buttons_[i]->ButtonType(), FormMaximized());
        const TsuiRect r = i < static_cast<int>(layout.buttons.size()) ? layout.buttons[i] : TsuiRect{};
        part.bounds = {r.left, r.top, r.right, r.bottom};
        if (!buttons_[i]->Visible() || r.Width() <= 0)
            part.state |= STATE_SYSTEM_INVISIBLE;
        if (pressedButton_ == i)
            part.state |= STATE_SYSTEM_PRESSED;
        info.parts.push_back(part);
    }
    return true;
}

void TsuiTitleBar::AccessibleAction(long part)
{
    if (part >= 1 && part <= ButtonCount() && buttons_[part - 1]->Visible())
        ButtonUp(part - 1);
}

bool TMessagePicture::Describe(TAccessibleInfo& info)
{
    info.role = ROLE_SYSTEM_GRAPHIC;
    return true;
}

bool TfrmMsg::Describe(TAccessibleInfo& info)
{
    info.name = Utf8ToWide(suiForm1.Caption());
    info.role = ROLE_SYSTEM_DIALOG;
    info.description = Utf8ToWide(lbl.Text());
    return true;
}

bool TsuiForm::Describe(TAccessibleInfo& info)
{
    info.name = Utf8ToWide(Caption());
    info.role = ROLE_SYSTEM_CLIENT;
    return true;
}
