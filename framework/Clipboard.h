// The clipboard as text.
#pragma once

#include <windows.h>

#include <string>

// Puts text (UTF-8) on the clipboard as Unicode text, replacing what was
// there; owner is the window that owns it. Raises an error when the
// clipboard cannot be opened; it is closed again on every path.
void SetClipboardText(HWND owner, const std::string& text);
// The clipboard's text, or "" when it holds none.
std::string ClipboardText();
