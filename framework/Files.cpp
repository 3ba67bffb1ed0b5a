#include "framework/Files.h"

#include <windows.h>

#include "core/Unicode.h"

std::string CurrentDirectory()
{
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring path(length, L'\0');
    path.resize(GetCurrentDirectoryW(length, path.data()));
    return WideToUtf8(path);
}
