#include "framework/Clipboard.h"

#include <cstring>

#include "core/Exception.h"
#include "core/Unicode.h"

namespace {

class TOpenClipboard {
public:
    // Another program may hold it for a moment: tries every 10 ms.
    explicit TOpenClipboard(HWND owner, int attempts = 10)
    {
        for (int attempt = 0; attempt < attempts && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_)
                Sleep(10);
        }
        if (!open_)
            throw Exception("Cannot open clipboard");
    }
    ~TOpenClipboard() { CloseClipboard(); }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;

private:
    bool open_ = false;
};

// Movable global memory holding a copy of the bytes.
HGLOBAL GlobalCopy(const void* data, size_t bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        throw EOutOfResources("Out of memory");
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        throw EOutOfResources("Out of memory");
    }
    std::memcpy(target, data, bytes);
    GlobalUnlock(memory);
    return memory;
}

void PutOnClipboard(HWND owner, UINT format, HGLOBAL memory, int attempts)
{
    try {
        TOpenClipboard clipboard(owner, attempts);
        EmptyClipboard();
        if (!SetClipboardData(format, memory))
            throw Exception("Cannot put the data on the clipboard");
        // The clipboard owns the memory now.
    } catch (...) {
        GlobalFree(memory);
        throw;
    }
}

} // namespace

void SetClipboardText(HWND owner, const std::string& text)
{
    const std::wstring wide = Utf8ToWide(text);
    PutOnClipboard(owner, CF_UNICODETEXT, GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)), 10);
}

void SetClipboardDib(HWND owner, const std::vector<uint8_t>& packedDib)
{
    PutOnClipboard(owner, CF_DIB, GlobalCopy(packedDib.data(), packedDib.size()), 100);
}

std::string ClipboardText()
{
    TOpenClipboard clipboard(nullptr);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return "";
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text)
        return "";
    std::string result = WideToUtf8(text);
    GlobalUnlock(data);
    return result;
}
