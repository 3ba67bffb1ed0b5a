#include "framework/Files.h"

#include <windows.h>

#include <shlobj.h>
#include <cwctype>

#include "core/Unicode.h"

std::string CurrentDirectory()
{
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring path(length, L'\0');
    path.resize(GetCurrentDirectoryW(length, path.data()));
    return WideToUtf8(path);
}

namespace {

std::wstring WindowsFolder()
{
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// Whether path is folder or lies in it, letters compared without case.
bool InsideFolder(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty() || path.size() < folder.size())
        return false;
    for (size_t i = 0; i < folder.size(); ++i)
        if (std::towlower(path[i]) != std::towlower(folder[i]))
            return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\' || folder.back() == L'\\';
}

// Whether a file can be made in folder: one is made and removed at once.
bool FolderIsWritable(const std::wstring& folder)
{
    std::wstring probe = folder;
    if (probe.empty() || probe.back() != L'\\')
        probe += L'\\';
    probe += L"~snapquill-" + std::to_wstring(GetCurrentProcessId()) + L"-0.tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::wstring PicturesFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return L"";
    return path;
}

} // namespace

std::string FirstStartFolder()
{
    const std::wstring current = Utf8ToWide(CurrentDirectory());
    if (!InsideFolder(current, WindowsFolder()) && FolderIsWritable(current))
        return WideToUtf8(current);
    const std::wstring pictures = PicturesFolder();
    return WideToUtf8(pictures.empty() ? current : pictures);
}
