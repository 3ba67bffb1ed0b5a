// A timer: OnTimer runs every Interval milliseconds while Enabled. Its
// messages arrive through a message-only window of its own.
#pragma once

#include <functional>

#include "framework/Window.h"

class TTimer : private TWindow {
public:
    TTimer() = default;
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    std::function<void()> OnTimer;

private:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Update();

    unsigned interval_ = 1000;
    bool enabled_ = false;
};
