#include "shell/JvSelectDirectory.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "framework/Application.h"
#include "core/Unicode.h"

namespace {

// The shell's allocator, released when done.
class TShellMalloc {
public:
    TShellMalloc()
    {
        if (FAILED(SHGetMalloc(&malloc_)))
            malloc_ = nullptr;
    }
    ~TShellMalloc()
    {
        if (malloc_)
            malloc_->Release();
    }
    TShellMalloc(const TShellMalloc&) = delete;
    TShellMalloc& operator=(const TShellMalloc&) = delete;
    IMalloc* operator->() const { return malloc_; }
    explicit operator bool() const { return malloc_ != nullptr; }

private:
    IMalloc* malloc_ = nullptr;
};

// A block from the shell's allocator (item lists, the path buffer).
class TShellBlock {
public:
    TShellBlock(const TShellMalloc& malloc, void* block) : malloc_(malloc), block_(block) {}
    ~TShellBlock()
    {
        if (block_)
            malloc_->Free(block_);
    }
    TShellBlock(const TShellBlock&) = delete;
    TShellBlock& operator=(const TShellBlock&) = delete;
    void* Get() const { return block_; }

private:
    const TShellMalloc& malloc_;
    void* block_;
};

// Disables the other windows of the thread while the browser is up, and
// keeps drives without media from raising system error boxes. Afterwards
// the window that was active is active again and the control that had the
// focus has it back: the browser's owner is the hidden application window,
// which would keep the focus otherwise.
class TModalState {
public:
    TModalState()
        : errorMode_(SetErrorMode(SEM_FAILCRITICALERRORS)), active_(GetActiveWindow()), focus_(GetFocus())
    {
        EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled_));
    }
    ~TModalState()
    {
        SetErrorMode(errorMode_);
        for (HWND window : disabled_)
            EnableWindow(window, TRUE);
        RestoreFocus();
    }
    TModalState(const TModalState&) = delete;
    TModalState& operator=(const TModalState&) = delete;

private:
    static BOOL CALLBACK DisableWindow(HWND window, LPARAM param)
    {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            EnableWindow(window, FALSE);
        }
        return TRUE;
    }
    void RestoreFocus() const
    {
        if (active_ && IsWindow(active_) && IsWindowVisible(active_))
            SetForegroundWindow(active_);
        if (focus_ && IsWindow(focus_) && IsWindowVisible(focus_) && IsWindowEnabled(focus_))
            SetFocus(focus_);
    }
    UINT errorMode_;
    HWND active_;
    HWND focus_;
    std::vector<HWND> disabled_;
};

int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

bool IsDirectory(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool TJvSelectDirectory::Execute()
{
    directory_ = initialDir_;
    std::wstring directory = Utf8ToWide(directory_);
    if (!IsDirectory(directory)) {
        directory.clear();
        directory_.clear();
    }

    TShellMalloc malloc;
    if (!malloc)
        return false;
    // Long enough for any path the wide APIs give.
    const size_t bufferChars = 32768;
    TShellBlock buffer(malloc, malloc->Alloc(bufferChars * sizeof(wchar_t)));
    if (!buffer.Get())
        return false;
    auto* text = static_cast<wchar_t*>(buffer.Get());

    LPITEMIDLIST root = nullptr;
    std::wstring rootText = Utf8ToWide(initialDir_);
    if (!rootText.empty()) {
        IShellFolder* desktop = nullptr;
        if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
            ULONG eaten = 0;
            if (FAILED(desktop->ParseDisplayName(Application.Handle(), nullptr, rootText.data(), &eaten, &root,
                                                 nullptr)))
                root = nullptr;
            desktop->Release();
        }
    }
    TShellBlock rootBlock(malloc, root);

    std::wstring title = Utf8ToWide(title_);
    BROWSEINFOW info{};
    info.hwndOwner = Application.Handle();
    info.pidlRoot = root;
    info.pszDisplayName = text;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (!directory.empty()) {
        info.lpfn = SelectInitialFolder;
        info.lParam = reinterpret_cast<LPARAM>(directory.c_str());
    }

    LPITEMIDLIST chosen = nullptr;
    {
        TModalState modal;
        chosen = SHBrowseForFolderW(&info);
    }
    if (!chosen)
        return false;
    TShellBlock chosenBlock(malloc, chosen);
    text[0] = L'\0';
    if (!SHGetPathFromIDListEx(chosen, text, bufferChars, GPFIDL_DEFAULT))
        return false;
    directory_ = WideToUtf8(text);
    return true;
}
