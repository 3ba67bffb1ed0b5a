// Waiting in the tests and the demo driver. While a test waits for what
// another window or process does, the windows of its own thread go on being
// served; every wait processes messages and ends as soon as what it waits
// for holds, so a limit is only an upper bound that a passing run never
// reaches.
#pragma once

#include <windows.h>

#include <functional>

namespace support {

// How long to wait for what normally takes a moment: a start-up, a shot, a
// message box, a window repainting.
constexpr DWORD kPatience = 15000;

// Processes this thread's pending messages.
void PumpMessages();
// Processes messages for the given time.
void PumpFor(DWORD ms);
// Processes messages until condition() holds or timeoutMs passes; returns
// the last value of condition().
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatience);
// Processes messages until the kernel object (an event, a process) is
// signalled; false after the timeout.
bool PumpUntilSignalled(HANDLE object, DWORD timeoutMs = INFINITE);

} // namespace support
