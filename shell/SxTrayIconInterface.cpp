#include "shell/SxTrayIconInterface.h"

#include <vector>

#include "core/Unicode.h"
#include "shell/SxTrayIcon.h"

const GUID IID_ISxTrayIcon = {0x749648CB, 0x099C, 0x477B, {0xB9, 0x3A, 0x83, 0xE1, 0x24, 0x88, 0xAF, 0x12}};

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_ISxTrayIcon)) {
        *out = static_cast<ISxTrayIcon*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::Click()
{
    icon_.Click();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::DblClick()
{
    icon_.DblClick();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::GetActive(BOOL* value)
{
    if (!value)
        return E_POINTER;
    *value = icon_.Active();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::SetActive(BOOL value)
{
    icon_.SetActive(value != FALSE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::SetTipW(LPCWSTR tip)
{
    icon_.tip_ = tip ? WideToUtf8(tip) : std::string();
    return S_OK;
}

// An icon file: a 6-byte directory header, 16-byte entries, image data.
static HICON IconFromFile(const std::vector<BYTE>& file)
{
    auto u16 = [&file](size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    auto u32 = [&file](size_t at) {
        return static_cast<size_t>(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24);
    };
    if (file.size() < 22 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0)
        return nullptr;
    size_t size = u32(6 + 8), offset = u32(6 + 12);
    if (offset > file.size() || size > file.size() - offset || size == 0)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<BYTE*>(file.data() + offset), static_cast<DWORD>(size), TRUE,
                                    0x00030000, 0, 0, LR_DEFAULTCOLOR);
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::LoadIconFromStream(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    std::vector<BYTE> file;
    BYTE buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0)
        file.insert(file.end(), buffer, buffer + read);
    HICON icon = IconFromFile(file);
    if (!icon)
        return E_FAIL;
    icon_.SetIcon(icon); // keeps its own copy
    DestroyIcon(icon);
    return S_OK;
}
