#include "framework/Resources.h"

#include <windows.h>

#include "core/Unicode.h"

std::string LoadStr(unsigned id)
{
    const wchar_t* text = nullptr;
    // With a zero length LoadStringW hands out a pointer into the resource.
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return WideToUtf8(std::wstring(text, length));
}
