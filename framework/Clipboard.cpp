#include "framework/Clipboard.h"

#include <cstring>

#include "core/Exception.h"
#include "core/Unicode.h"

namespace {

class TOpenClipboard {
public:
    explicit TOpenClipboard(HWND owner)
    {
        // Another program may hold it for a moment.
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
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

} // namespace

void SetClipboardText(HWND owner, const std::string& text)
{
    const std::wstring wide = Utf8ToWide(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        throw EOutOfResources("Out of memory");
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        throw EOutOfResources("Out of memory");
    }
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory);
    try {
        TOpenClipboard clipboard(owner);
        EmptyClipboard();
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            throw Exception("Cannot put the text on the clipboard");
        // The clipboard owns the memory now.
    } catch (...) {
        GlobalFree(memory);
        throw;
    }
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
