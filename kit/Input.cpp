#include "kit/Input.h"

#include <vector>

#include "kit/Pump.h"

namespace support {

namespace {

INPUT Key(WORD vk, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    return input;
}

// Each key down in order, then each key up in reverse.
void AddChord(std::vector<INPUT>& inputs, std::initializer_list<WORD> keys)
{
    for (WORD key : keys)
        inputs.push_back(Key(key, 0));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(Key(*key, KEYEVENTF_KEYUP));
}

bool Send(std::vector<INPUT> inputs)
{
    const UINT count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

// Screen coordinates in SendInput's absolute units, rounded up so that
// they come back to the same pixel.
LONG Absolute(LONG at, int metric)
{
    const int extent = GetSystemMetrics(metric);
    return static_cast<LONG>((at * 65536LL + extent - 1) / extent);
}

} // namespace

bool Press(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    AddChord(inputs, keys);
    return Send(inputs);
}

bool PressTwice(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    AddChord(inputs, keys);
    AddChord(inputs, keys);
    return Send(inputs);
}

bool PressByHand(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    AddChord(inputs, keys);
    bool all = true;
    for (const INPUT& input : inputs) {
        all = Send({input}) && all;
        Sleep(50);
    }
    Sleep(100);
    return all;
}

bool PressEnterOn(HWND window)
{
    SetForegroundWindow(window);
    PumpFor(300);
    return PressKey(VK_RETURN);
}

void MovePointer(POINT p, DWORD buttons)
{
    // A press or release carries its place but sets no position of its own:
    // under Wine, setting it again right before a press that drops a combo
    // box's list was seen to leave its tip unable to show afterwards.
    if (!buttons)
        SetCursorPos(p.x, p.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Absolute(p.x, SM_CXSCREEN);
    input.mi.dy = Absolute(p.y, SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    Send({input});
}

void MovePointerOnDesktop(POINT p, DWORD buttons)
{
    if (!buttons)
        SetCursorPos(p.x, p.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Absolute(p.x - GetSystemMetrics(SM_XVIRTUALSCREEN), SM_CXVIRTUALSCREEN);
    input.mi.dy = Absolute(p.y - GetSystemMetrics(SM_YVIRTUALSCREEN), SM_CYVIRTUALSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttons;
    Send({input});
}

bool PlacePointer(POINT p)
{
    return WaitUntil(
        [p] {
            POINT at{};
            if (GetCursorPos(&at) && at.x == p.x && at.y == p.y)
                return true;
            SetCursorPos(p.x, p.y);
            return false;
        },
        3000);
}

void ClickByHand(POINT p)
{
    MovePointer(p);
    Sleep(150);
    MovePointer(p, MOUSEEVENTF_LEFTDOWN);
    Sleep(80);
    MovePointer(p, MOUSEEVENTF_LEFTUP);
}

void DragByHand(POINT from, POINT to, int steps)
{
    MovePointerOnDesktop(from);
    PumpFor(100);
    MovePointerOnDesktop(from, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= steps; ++step) {
        PumpFor(100);
        MovePointerOnDesktop({from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps});
    }
    PumpFor(100);
    MovePointerOnDesktop(to, MOUSEEVENTF_LEFTUP);
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info))
        return nullptr;
    return info.hwndFocus;
}

POINT CentreOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace support
