// Pictures pinned to the screen: a marked-up region can stay on top of
// everything, where it was taken, as a borderless window of its pixels. A
// pin is moved by dragging it with the mouse and closed by Escape or a
// double click; Ctrl+C puts its picture on the clipboard and Ctrl+S saves
// it, as the region would have been. Any number of pins may be open; the
// board that holds them closes them all when it goes (at the program's end).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/CaptureAreas.h"
#include "framework/Timer.h"
#include "framework/Window.h"
#include "imaging/Bitmap.h"
#include "imaging/ScreenBitmap.h"

class TPinWindow : public TWindow {
public:
    // Shows picture with its top-left pixel at place's top-left corner.
    TPinWindow(const TBitmap& picture, const TScreenRect& place);
    ~TPinWindow() override;

    bool Closed() const { return closed_; }
    const TBitmap& Picture() const { return picture_; }

    std::function<void(const TBitmap&)> OnSave;
    std::function<void(const TBitmap&)> OnCopy;
    std::function<void()> OnClosed;

    bool Describe(TAccessibleInfo& info) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void KeyDown(WPARAM key);
    void Close();

    TBitmap picture_;
    TBitmapCanvas canvas_;
    bool closed_ = false;
};

class TPinBoard {
public:
    TPinBoard();
    void Pin(const TBitmap& picture, const TScreenRect& place);
    size_t Count() const;

    // What a pin's Ctrl+S and Ctrl+C ask for.
    std::function<void(const TBitmap&)> OnSave;
    std::function<void(const TBitmap&)> OnCopy;

private:
    void RemoveClosed();

    std::vector<std::unique_ptr<TPinWindow>> pins_;
    TTimer reaper_; // a closed pin goes from the message loop, not from its own handler
};
