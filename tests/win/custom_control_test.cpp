// The base of owner-painted controls under Wine: how the mouse and the keys
// reach its methods, what goes on to the raw fallback, and the off-screen
// bitmap the program's windows paint through.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/PaintBuffer.h"
#include "kit/Screen.h"

namespace {

class TTestForm : public TForm {
public:
    TTestForm()
    {
        static bool initialized = false;
        if (!initialized) {
            Application.Initialize(GetModuleHandleW(nullptr));
            initialized = true;
        }
        CreateForm({"custom control", {100, 100, 200, 120}, WS_POPUP, 0, L"Tahoma", 11});
        Show();
    }
};

// A control that notes each call, as "name x,y" and the like; the input
// methods answer `handles`.
class TProbe : public TCustomControl {
public:
    void Create(TWindow& parent) { CreateCustom(parent, L"TCustomControlProbe", {10, 10, 50, 30}, ""); }
    std::vector<std::string> calls;
    bool handles = true;

protected:
    void Paint(HDC, const RECT&) override {}
    void MouseEnter() override { calls.push_back("enter"); }
    bool MouseDown(POINT at, bool doubleClick) override
    {
        return Note((doubleClick ? "double " : "down ") + Point(at));
    }
    bool MouseUp(POINT at) override { return Note("up " + Point(at)); }
    bool MouseMove(POINT at) override { return Note("move " + Point(at)); }
    bool KeyDown(WORD key, bool repeated) override
    {
        return Note((repeated ? "repeat " : "key ") + std::to_string(key));
    }
    bool KeyUp(WORD key) override { return Note("key up " + std::to_string(key)); }
    void CaptureLost() override { calls.push_back("capture lost"); }
    bool ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        if (message == WM_APP)
            throw std::runtime_error("the handler failed");
        if (message == WM_LBUTTONDOWN || message == WM_KEYDOWN || message == WM_MOUSEMOVE ||
            message == WM_CAPTURECHANGED)
            calls.push_back("raw " + std::to_string(message));
        result = 7;
        return message == WM_LBUTTONDOWN;
    }

private:
    static std::string Point(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    bool Note(const std::string& call)
    {
        calls.push_back(call);
        return handles;
    }
};

std::string Raw(UINT message)
{
    return "raw " + std::to_string(message);
}

} // namespace

TEST(CustomControl, MouseAndKeysReachTheirMethodsAndOnlyWhatTheyLeaveReachesTheFallback)
{
    TTestForm form;
    TProbe probe;
    probe.Create(form);
    HWND h = probe.Handle();
    EXPECT_EQ(SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4)), 0) << "handled: answered 0";
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(-2, 40)); // outside: the mouse was held
    SendMessageW(h, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageW(h, WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));
    SendMessageW(h, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"down 3,4", "double 3,4", "up -2,40", "key 32", "repeat 32",
                                                     "key up 32"}));

    probe.calls.clear();
    probe.handles = false;
    EXPECT_EQ(SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6)), 7) << "the fallback's answer";
    SendMessageW(h, WM_KEYDOWN, 'A', 1);
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(8, 9));
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"down 5,6", Raw(WM_LBUTTONDOWN), "key 65", Raw(WM_KEYDOWN),
                                                     "enter", "move 8,9", Raw(WM_MOUSEMOVE), "move 9,9",
                                                     Raw(WM_MOUSEMOVE)}))
        << "unhandled input goes on to the fallback; the first move is also the mouse coming in";
}

TEST(CustomControl, LosingTheMouseToAnotherWindowOrToNoneEndsAPressButTakingItAgainDoesNot)
{
    TTestForm form;
    TProbe probe, other;
    probe.Create(form);
    other.Create(form);
    SetCapture(probe.Handle());
    SetCapture(probe.Handle());
    EXPECT_EQ(probe.calls, std::vector<std::string>{Raw(WM_CAPTURECHANGED)}) << "the control keeps the mouse";
    probe.calls.clear();
    SetCapture(other.Handle());
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"capture lost", Raw(WM_CAPTURECHANGED)}));
    probe.calls.clear();
    SetCapture(probe.Handle());
    ReleaseCapture();
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"capture lost", Raw(WM_CAPTURECHANGED)}));
}

TEST(PaintBuffer, DrawsTheClientAreaOffScreenAndCopiesItWholeKeepingTheBitmapWhileTheSizeStays)
{
    TTestForm form;
    HWND window = form.Handle();
    support::TCanvasBitmap screen(300, 200);
    TPaintBuffer buffer;
    std::vector<HGDIOBJ> bitmaps;
    std::vector<RECT> clients;
    auto draw = [&](HDC dc, const RECT& client) {
        bitmaps.push_back(GetCurrentObject(dc, OBJ_BITMAP));
        clients.push_back(client);
        TGdiObject red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc, &client, static_cast<HBRUSH>(red.Handle()));
        SetPixelV(dc, client.right - 1, client.bottom - 1, RGB(0, 0, 255));
    };
    buffer.Paint(window, screen.DC(), draw);
    EXPECT_EQ(screen.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(screen.Pixel(199, 119), RGB(0, 0, 255)) << "the corner of the client area";
    EXPECT_EQ(screen.Pixel(200, 120), RGB(255, 255, 255)) << "nothing beyond it";
    buffer.Paint(window, screen.DC(), draw);
    ASSERT_EQ(bitmaps.size(), 2u);
    EXPECT_NE(bitmaps[0], screen.DC()) << "drawn off the screen";
    EXPECT_EQ(bitmaps[1], bitmaps[0]) << "the same size reuses the bitmap";

    SetWindowPos(window, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    buffer.Paint(window, screen.DC(), draw);
    ASSERT_EQ(clients.size(), 3u);
    EXPECT_EQ(clients[2].right, 120);
    EXPECT_EQ(clients[2].bottom, 80);
    EXPECT_EQ(screen.Pixel(119, 79), RGB(0, 0, 255)) << "a bitmap of the new size";

    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    buffer.Paint(window, screen.DC(), draw);
    EXPECT_EQ(clients.size(), 3u) << "an empty client area draws nothing";
}

TEST(CustomControl, AFailureInAHandlerGoesToTheReporterAndTheWindowGoesOn)
{
    TTestForm form;
    TProbe probe;
    probe.Create(form);
    static std::vector<std::string> reported;
    SetFailureReporter([](const std::string& message) { reported.push_back(message); });
    SendMessageW(probe.Handle(), WM_APP, 0, 0);
    SetFailureReporter([](const std::string& message) { Application.ShowError(message); });
    EXPECT_EQ(reported, std::vector<std::string>{"the handler failed"});
    EXPECT_EQ(SendMessageW(probe.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0), 0) << "the window still answers";
}
