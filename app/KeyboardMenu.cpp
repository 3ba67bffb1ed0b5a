#include "app/KeyboardMenu.h"

#include "framework/Application.h"

namespace {

bool Down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

bool IsMenuKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    if (msg.wParam == VK_APPS)
        return true;
    return msg.wParam == VK_F10 && Down(VK_SHIFT) && !Down(VK_CONTROL) && !Down(VK_MENU);
}

TKeyboardMenu::TKeyboardMenu(std::function<HWND()> form, std::function<void()> open)
    : form_(std::move(form)), open_(std::move(open)),
      hook_(Application.AddMessageHook([this](MSG& msg) { return Message(msg); }))
{
}

TKeyboardMenu::~TKeyboardMenu()
{
    Application.RemoveMessageHook(hook_);
}

bool TKeyboardMenu::Message(const MSG& msg) const
{
    if (!IsMenuKey(msg))
        return false;
    const HWND form = form_();
    if (!form || (msg.hwnd != form && !IsChild(form, msg.hwnd)))
        return false;
    open_();
    return true;
}
