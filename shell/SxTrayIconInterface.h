// The icon's COM-style interface, for callers that ask the component for it
// by its IID (TSxTrayIcon::GetInterface). The component owns it: reference
// counting does not end it.
#pragma once

#include <windows.h>

#include <objidl.h>

// {749648CB-099C-477B-B93A-83E12488AF12}
extern const GUID IID_ISxTrayIcon;

struct ISxTrayIcon : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Click() = 0;
    virtual HRESULT STDMETHODCALLTYPE DblClick() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetActive(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetActive(BOOL value) = 0;
    // Stores the tip without telling the shell.
    virtual HRESULT STDMETHODCALLTYPE SetTipW(LPCWSTR tip) = 0;
    // Reads an icon file (.ico) from the stream and makes it the icon.
    virtual HRESULT STDMETHODCALLTYPE LoadIconFromStream(IStream* stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved() = 0;
};
