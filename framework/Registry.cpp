#include "framework/Registry.h"

#include "core/Unicode.h"

static std::wstring KeyPath(const std::string& path)
{
    std::wstring wide = Utf8ToWide(path);
    while (!wide.empty() && wide.front() == L'\\')
        wide.erase(wide.begin());
    return wide;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    CloseKey();
    HKEY key = nullptr;
    LONG result = canCreate ? RegCreateKeyExW(root_, KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              KEY_ALL_ACCESS, nullptr, &key, nullptr)
                            : RegOpenKeyExW(root_, KeyPath(path).c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

void TRegistry::CloseKey()
{
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
}

bool TRegistry::KeyExists(const std::string& path) const
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, KeyPath(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

TRegValue TRegistry::Read(const std::string& name) const
{
    TRegValue value;
    if (!key_)
        return value;
    std::wstring wideName = Utf8ToWide(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    value.data.resize(size);
    if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS)
        return TRegValue{};
    value.data.resize(size);
    value.exists = true;
    value.type = type;
    return value;
}

bool TRegistry::WriteString(const std::string& name, const std::string& text)
{
    std::wstring wide = Utf8ToWide(text);
    DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return key_ && RegSetValueExW(key_, Utf8ToWide(name).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

bool TRegistry::WriteInteger(const std::string& name, int32_t value)
{
    DWORD data = static_cast<DWORD>(value);
    return key_ && RegSetValueExW(key_, Utf8ToWide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                  sizeof data) == ERROR_SUCCESS;
}
