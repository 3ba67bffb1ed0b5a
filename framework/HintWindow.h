// The hint window: after the mouse has rested on a control with a hint for
// a moment, a small window near the pointer shows the hint; it goes when
// the mouse leaves the control.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TControl;
class THintPopup;

class THintWindow {
public:
    THintWindow();
    ~THintWindow();
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;
    // Called for every mouse move the message loop sees, with the control
    // under the pointer (or nullptr).
    void MouseMovedOver(HWND timerOwner, const TControl* control);
    // The hint delay has passed.
    void TimerFired(HWND timerOwner);
    void Hide();

    static const UINT_PTR kTimerId = 0x4E1;

private:
    void Show(const std::string& text);

    std::unique_ptr<THintPopup> popup_;
    const TControl* pending_ = nullptr;
    const TControl* shownFor_ = nullptr;
};
