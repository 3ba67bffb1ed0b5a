// Owners of GDI device contexts and objects, and of the icons the program
// makes, so that no path leaks one.
#pragma once

#include <windows.h>

#include "core/Exception.h"

// A window's (or the screen's) device context from GetDC / GetWindowDC.
class TWindowDC {
public:
    explicit TWindowDC(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~TWindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of a window's WM_PAINT: BeginPaint for its lifetime,
// then EndPaint, which also validates what needed painting.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~TPaintDC() { EndPaint(window_, &paint_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    // Null when the window had nothing to paint on.
    HDC Handle() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A device context's state (selections, origin, clipping, modes) saved for
// a scope and put back after it.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDC()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// A memory device context with one object selected into it for its lifetime.
// A context that cannot be made, or an object that cannot be selected, is an
// error: drawing on would silently copy black.
class TMemoryDC {
public:
    TMemoryDC(HDC compatibleWith, HGDIOBJ selected) : dc_(CreateCompatibleDC(compatibleWith))
    {
        if (!dc_)
            throw EOutOfResources("Out of system resources");
        previous_ = SelectObject(dc_, selected);
        if (!previous_ || previous_ == HGDI_ERROR) {
            DeleteDC(dc_);
            throw EOutOfResources("Cannot select a picture into a device context");
        }
    }
    ~TMemoryDC()
    {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Handle() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// Selects an object into a device context for a scope and puts the previous
// one back; a failed selection is an error.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object))
    {
        if (!previous_ || previous_ == HGDI_ERROR)
            throw EOutOfResources("Cannot select a drawing object into a device context");
    }
    ~TSelectObject() { SelectObject(dc_, previous_); }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Any GDI object created by the program (bitmap, brush, pen, font, region).
class TGdiObject {
public:
    explicit TGdiObject(HGDIOBJ object = nullptr) : object_(object) {}
    ~TGdiObject()
    {
        if (object_)
            DeleteObject(object_);
    }
    TGdiObject(TGdiObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    TGdiObject& operator=(TGdiObject&& other) noexcept
    {
        if (this != &other) {
            if (object_)
                DeleteObject(object_);
            object_ = other.object_;
            other.object_ = nullptr;
        }
        return *this;
    }
    HGDIOBJ Handle() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Gives the object up, to a taker that deletes it (a window its region).
    HGDIOBJ Release()
    {
        HGDIOBJ object = object_;
        object_ = nullptr;
        return object;
    }

private:
    HGDIOBJ object_;
};

// An icon the program made (LoadImage without LR_SHARED, CreateIconIndirect),
// destroyed with its holder.
class TIcon {
public:
    explicit TIcon(HICON icon = nullptr) : icon_(icon) {}
    ~TIcon() { Reset(nullptr); }
    TIcon(TIcon&& other) noexcept : icon_(other.icon_) { other.icon_ = nullptr; }
    TIcon& operator=(TIcon&& other) noexcept
    {
        if (this != &other) {
            Reset(other.icon_);
            other.icon_ = nullptr;
        }
        return *this;
    }
    HICON Handle() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    void Reset(HICON icon)
    {
        if (icon_)
            DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_;
};

// A 32-bit device-independent bitmap, top row first, and its pixels (bits
// stays null when it cannot be made).
inline TGdiObject CreateTopDownDib32(HDC dc, int width, int height, void*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    return TGdiObject(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}
