#include "framework/Timer.h"

static const UINT_PTR kTimerId = 1;

TTimer::~TTimer()
{
    if (Handle())
        KillTimer(Handle(), kTimerId);
    DestroyHandle();
}

void TTimer::SetInterval(unsigned ms)
{
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool value)
{
    enabled_ = value;
    Update();
}

void TTimer::Update()
{
    if (!Handle()) {
        if (!enabled_ || interval_ == 0)
            return;
        static const TWindowClass timerClass{L"TTimerWindow"};
        TCreateParams params;
        params.windowClass = &timerClass;
        params.parent = HWND_MESSAGE;
        CreateHandle(params);
    }
    KillTimer(Handle(), kTimerId);
    if (enabled_ && interval_ > 0)
        SetTimer(Handle(), kTimerId, interval_, nullptr);
}

LRESULT TTimer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        if (OnTimer)
            OnTimer();
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}
