// The message that tells the user which hotkeys the program could not take.
// When PrintScreen is among them because Windows gives that key to its own
// screen capture, the message offers to turn that setting off.
#pragma once

#include <string>
#include <vector>

#include "framework/Window.h"

// Shows the message, skinned like the program's other dialogs, modally for
// owner. Returns true when the user chose to turn the screen capture's use
// of PrintScreen off (only offered with offerSnippingSwitch).
bool ShowHotKeyNotice(const TWindow* owner, const std::vector<std::string>& missingKeys, bool offerSnippingSwitch);

// The names joined for a sentence: "PrintScreen, Alt+PrintScreen".
std::string KeyList(const std::vector<std::string>& names);
