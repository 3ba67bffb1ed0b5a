// Owners of GDI device contexts and objects, so that no path leaks one.
#pragma once

#include <windows.h>

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
class TMemoryDC {
public:
    TMemoryDC(HDC compatibleWith, HGDIOBJ selected)
        : dc_(CreateCompatibleDC(compatibleWith)), previous_(dc_ ? SelectObject(dc_, selected) : nullptr) {}
    ~TMemoryDC()
    {
        if (dc_) {
            SelectObject(dc_, previous_);
            DeleteDC(dc_);
        }
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Handle() const { return dc_; }

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

private:
    HGDIOBJ object_;
};
