// Text crosses into Win32 as UTF-16; inside the program it is UTF-8.
#pragma once

#include <string>

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// The system's text for an error code, without the trailing line break;
// empty when the system has none.
std::string SysErrorMessage(unsigned long error);
