// Owners of GDI device contexts and objects, so that no path leaks one.
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

private:
    HGDIOBJ object_;
};
