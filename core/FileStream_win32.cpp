// TFileStream over the wide-character file API, so that every character
// Windows allows in a path works.
#include <windows.h>

#include "core/Exception.h"
#include "core/Stream.h"
#include "core/Unicode.h"

static std::string FullPath(const std::wstring& path)
{
    DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return WideToUtf8(path);
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(length);
    return WideToUtf8(full);
}

TFileStream::TFileStream(const std::string& path, TMode mode)
{
    std::wstring wide = Utf8ToWide(path);
    if (mode == OpenRead) {
        HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            throw EFOpenError(FileOpenErrorText(FullPath(wide), SysErrorMessage(error)));
        }
        handle_ = reinterpret_cast<intptr_t>(file);
        return;
    }
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              mode == CreateNew ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        std::string message = FileCreateErrorText(FullPath(wide), SysErrorMessage(error));
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            throw EFileExists(message, error);
        throw EFCreateError(message, error);
    }
    handle_ = reinterpret_cast<intptr_t>(file);
}

TFileStream::~TFileStream()
{
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

size_t TFileStream::Write(const void* buffer, size_t count)
{
    const char* bytes = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(handle_), bytes + done, chunk, &written, nullptr) || written == 0) {
            writeError_ = GetLastError();
            if (writeError_ == 0)
                writeError_ = ERROR_DISK_FULL; // no error, yet nothing stored
            break;
        }
        done += written;
    }
    return done;
}

size_t TFileStream::Read(void* buffer, size_t count)
{
    char* bytes = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), bytes + done, chunk, &read, nullptr) || read == 0)
            break;
        done += read;
    }
    return done;
}
