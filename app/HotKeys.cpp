#include "app/HotKeys.h"

#include <algorithm>

#include "framework/Registry.h"

const std::array<THotKey, THotKeys::kKeyCount> THotKeys::kKeys{{
    {hkScreen, 0, VK_SNAPSHOT, "PrintScreen"},
    {hkWindow, MOD_ALT, VK_SNAPSHOT, "Alt+PrintScreen"},
    {hkTrayIcon, MOD_CONTROL, VK_F12, "Ctrl+F12"},
    {hkRegion, MOD_CONTROL, VK_SNAPSHOT, "Ctrl+PrintScreen"},
    {hkMarkup, MOD_CONTROL | MOD_SHIFT, VK_SNAPSHOT, "Ctrl+Shift+PrintScreen"},
}};

static const char kKeyboardKey[] = "\\Control Panel\\Keyboard";
static const char kSnippingValue[] = "PrintScreenKeyForSnippingEnabled";

bool THotKeys::TakeMissing()
{
    bool taken = false;
    for (size_t i = 0; i < kKeys.size(); ++i) {
        if (held_[i])
            continue;
        held_[i] = RegisterHotKey(owner_, kKeys[i].id, kKeys[i].modifiers, kKeys[i].key) != FALSE;
        taken = taken || held_[i];
    }
    return taken;
}

void THotKeys::Release()
{
    for (size_t i = 0; i < kKeys.size(); ++i) {
        if (held_[i])
            UnregisterHotKey(owner_, kKeys[i].id);
        held_[i] = false;
    }
}

bool THotKeys::AllHeld() const
{
    return std::all_of(held_.begin(), held_.end(), [](bool held) { return held; });
}

bool THotKeys::PrintScreenHeld() const
{
    for (size_t i = 0; i < kKeys.size(); ++i)
        if (kKeys[i].key == VK_SNAPSHOT && !held_[i])
            return false;
    return true;
}

std::vector<std::string> THotKeys::MissingNames() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < kKeys.size(); ++i)
        if (!held_[i])
            names.push_back(kKeys[i].name);
    return names;
}

bool SnippingOwnsPrintScreen()
{
    TRegistry registry(HKEY_CURRENT_USER);
    if (!registry.OpenKey(kKeyboardKey, false))
        return false;
    TRegValue value = registry.Read(kSnippingValue);
    return value.exists && value.type == kRegDWord && value.data.size() == 4 &&
           (value.data[0] | value.data[1] | value.data[2] | value.data[3]) != 0;
}

bool TurnOffSnippingPrintScreen()
{
    TRegistry registry(HKEY_CURRENT_USER);
    return registry.OpenKey(kKeyboardKey, true) && registry.WriteInteger(kSnippingValue, 0);
}
