#include "kit/Pump.h"

#include <algorithm>

namespace support {

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - elapsed, 20), QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool PumpUntilSignalled(HANDLE object, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = timeoutMs == INFINITE ? INFINITE : timeoutMs - std::min(elapsed, timeoutMs);
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
    }
}

} // namespace support
