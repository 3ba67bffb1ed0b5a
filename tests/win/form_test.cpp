// Forms of the framework: the animated height, the end of the session, modal
// runs and dialog keys, hooks, timers and the clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"
#include "tests/win/TestApplication.h"

namespace {

// A dialog-framed form that records every outer height it takes and can
// run a handler when it reaches a given height.
class TestForm : public TForm {
public:
    TestForm()
    {
        static bool initialized = false;
        if (!initialized) {
            Application.Initialize(GetModuleHandleW(nullptr));
            initialized = true;
        }
        CreateForm({"test", {100, 100, 180, 230}, WS_POPUP | WS_DLGFRAME, 0, L"Tahoma", 11});
        Show();
    }
    std::vector<int> heights;
    int triggerAt = -1;
    std::function<void()> onTrigger;

protected:
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) override
    {
        if (message == WM_SIZE) {
            int h = Height();
            heights.push_back(h);
            if (h == triggerAt && onTrigger) {
                triggerAt = -1;
                onTrigger();
            }
        }
        return false;
    }
};

} // namespace

TEST(FormHeight, AnimatesInFivePixelSteps)
{
    TestForm form;
    ASSERT_EQ(form.Height(), 230);
    form.heights.clear();
    form.AnimateHeight(190);
    EXPECT_EQ(form.heights, (std::vector<int>{225, 220, 215, 210, 205, 200, 195, 190}));
    form.heights.clear();
    form.AnimateHeight(230);
    EXPECT_EQ(form.heights.size(), 8u);
    EXPECT_EQ(form.Height(), 230);
    form.heights.clear();
    form.AnimateHeight(230);
    EXPECT_TRUE(form.heights.empty()) << "starting at the target does nothing";
}

TEST(FormHeight, EndsAtTheTargetFromAnyDistance)
{
    TestForm form;
    form.SetHeight(233);
    form.heights.clear();
    form.AnimateHeight(190);
    EXPECT_EQ(form.Height(), 190);
    EXPECT_EQ(form.heights.back(), 190);
    for (size_t i = 1; i < form.heights.size(); ++i)
        EXPECT_LE(form.heights[i - 1] - form.heights[i], 5);
}

TEST(FormHeight, ARequestMadeDuringTheAnimationTurnsItToTheNewTarget)
{
    TestForm form;
    form.triggerAt = 210;
    bool returnedAtOnce = false;
    form.onTrigger = [&] {
        form.AnimateHeight(250);
        returnedAtOnce = form.Height() == 210;
    };
    form.heights.clear();
    form.AnimateHeight(190);
    EXPECT_TRUE(returnedAtOnce) << "the later request ran an animation of its own";
    EXPECT_EQ(form.heights, (std::vector<int>{225, 220, 215, 210, 215, 220, 225, 230, 235, 240, 245, 250}));
    EXPECT_EQ(form.Height(), 250) << "the last request wins";
    form.heights.clear();
    form.AnimateHeight(190);
    EXPECT_EQ(form.Height(), 190) << "a later animation runs as usual";
}

// --- The end of the session ---------------------------------------------------------

TEST(SessionEnd, OnlyARealEndRunsTheHandlerAndOnlyOnce)
{
    TestForm form;
    int ends = 0;
    Application.OnEndSession = [&] { ++ends; };
    EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE) << "the program never objects";
    EXPECT_EQ(SendMessageW(Application.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(ends, 0) << "a session end that was called off";
    // Windows tells every top-level window; the first one to hear it acts.
    SendMessageW(Application.Handle(), WM_ENDSESSION, TRUE, 0);
    SendMessageW(form.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(Application.SessionEnded());
    Application.OnEndSession = nullptr;
}

TEST(ApplicationWindow, ShownFromOutsideItShowsTheHiddenMainFormInstead)
{
    TestForm form;
    Application.SetMainForm(&form);
    form.Hide();
    ASSERT_FALSE(IsWindowVisible(Application.Handle())) << "the taskbar button goes with the main form";
    ShowWindow(Application.Handle(), SW_SHOW);
    PumpWait(50);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(GetForegroundWindow(), form.Handle());
    form.Hide();
    PumpWait(50);
    EXPECT_FALSE(form.Visible()) << "hiding it is no show from outside";
    Application.SetMainForm(nullptr);
}

// --- Modal runs, dialog keys, reflection, hooks, timers, the clipboard ----------------

#include "framework/Clipboard.h"
#include "framework/Controls.h"
#include "framework/Timer.h"
#include "framework/WindowHook.h"

namespace {

// A dialog with an edit and OK (default) and Cancel (cancel) buttons, on a
// panel, so that what the buttons send goes through a container.
class Dialog : public TForm {
public:
    Dialog()
    {
        CreateForm({"dialog", {200, 200, 240, 140}, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_CONTROLPARENT,
                    L"Tahoma", 11});
        panel.Create(*this, {0, 0, 230, 110});
        edit.Create(panel, {8, 8, 150, 20}, "", false, nullptr);
        ok.Create(panel, {8, 40, 70, 24}, "OK", nullptr);
        ok.SetModalResult(mrOk);
        ok.SetDefault(true);
        cancel.Create(panel, {90, 40, 70, 24}, "Cancel", nullptr);
        cancel.SetModalResult(mrCancel);
        cancel.SetCancel(true);
        OnDestroy = [this] { ++destroyed; };
    }
    ~Dialog() override { DestroyHandle(); }
    TPanel panel;
    TEdit edit;
    TButton ok;
    TButton cancel;
    int destroyed = 0;
};

} // namespace

TEST(ModalForm, EnterEscapeCloseAndButtonsEndTheRunWithTheirResults)
{
    InitializeTestApplication();
    Dialog dialog;
    // A run the keys do not end is ended after a while, as a failure.
    TTimer watchdog;
    watchdog.OnTimer = [&] { dialog.SetModalResult(-1); };
    watchdog.SetInterval(3000);
    watchdog.SetEnabled(true);
    PostMessageW(dialog.edit.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(dialog.ShowModal(), mrOk) << "Enter clicks the Default button";
    EXPECT_FALSE(dialog.Visible());
    PostMessageW(dialog.edit.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(dialog.ShowModal(), mrCancel) << "Escape clicks the Cancel button";
    PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), mrCancel) << "closing a modal form cancels it";
    int clicks = 0;
    dialog.ok.OnClick = [&] { ++clicks; };
    PostMessageW(dialog.ok.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), mrOk) << "a click through the panel reaches the button";
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dialog.destroyed, 0);
    dialog.DestroyHandle();
    EXPECT_EQ(dialog.destroyed, 1) << "the destroy hook runs";
}

TEST(ModalForm, KeyPreviewSeesKeysBeforeTheControlWithoutTakingThem)
{
    InitializeTestApplication();
    Dialog dialog;
    std::vector<WORD> previewed;
    dialog.SetKeyPreview(true);
    dialog.OnKeyDown = [&](WORD& key, TShiftState) {
        previewed.push_back(key);
        if (key == VK_F2)
            key = 0; // taken
    };
    dialog.Show();
    SetFocus(dialog.edit.Handle());
    PostMessageW(dialog.edit.Handle(), WM_KEYDOWN, 'C', 0);
    PostMessageW(dialog.edit.Handle(), WM_KEYDOWN, VK_F2, 0);
    PumpWait(100);
    EXPECT_EQ(previewed, (std::vector<WORD>{'C', VK_F2}));
}

// Makes the form the active window and waits until it is.
static bool Activate(const TForm& form)
{
    for (int i = 0; i < 100 && GetActiveWindow() != form.Handle(); ++i) {
        SetForegroundWindow(form.Handle());
        PumpWait(10);
    }
    return GetActiveWindow() == form.Handle();
}

TEST(ModalForm, TheFocusedControlGetsTheFocusBackWhenTheFormIsActivatedAgain)
{
    InitializeTestApplication();
    Dialog dialog;
    TestForm other;
    dialog.Show();
    ASSERT_TRUE(Activate(dialog));
    dialog.cancel.SetFocus();
    ASSERT_TRUE(Activate(other));
    EXPECT_EQ(dialog.FocusedControl(), dialog.cancel.Handle()) << "remembered while inactive";
    ASSERT_TRUE(Activate(dialog));
    EXPECT_EQ(GetFocus(), dialog.cancel.Handle());

    // A control that can no longer take the focus is passed over.
    dialog.edit.SetFocus();
    ASSERT_TRUE(Activate(other));
    EnableWindow(dialog.edit.Handle(), FALSE);
    ASSERT_TRUE(Activate(dialog));
    EXPECT_EQ(GetFocus(), dialog.Handle());
}

TEST(WindowHook, JoinsAndLeavesTheChainOfAWindowsProcedure)
{
    InitializeTestApplication();
    Dialog dialog;
    int seen = 0;
    {
        TWindowHook hook(dialog.Handle(), [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_USER + 7) {
                ++seen;
                return 42;
            }
            return hook.CallPrevious(message, wParam, lParam);
        });
        EXPECT_EQ(SendMessageW(dialog.Handle(), WM_USER + 7, 0, 0), 42);
        SetWindowTextW(dialog.Handle(), L"through the hook");
        EXPECT_EQ(dialog.Caption(), "through the hook") << "other messages reach the form";
    }
    EXPECT_EQ(SendMessageW(dialog.Handle(), WM_USER + 7, 0, 0), 0) << "the hook has left";
    EXPECT_EQ(seen, 1);
}

TEST(Timer, FiresWhileEnabledAndStopsWhenDisabled)
{
    InitializeTestApplication();
    TTimer timer;
    int fired = 0;
    timer.OnTimer = [&] {
        if (++fired == 3)
            timer.SetEnabled(false);
    };
    timer.SetInterval(20);
    timer.SetEnabled(true);
    PumpWait(400);
    EXPECT_EQ(fired, 3);
}

TEST(Clipboard, HoldsTheTextPutOnItAndIsClosedAgain)
{
    InitializeTestApplication();
    SetClipboardText(Application.Handle(), "line one\r\nzwei \xC3\xBC");
    EXPECT_EQ(ClipboardText(), "line one\r\nzwei \xC3\xBC");
    ASSERT_TRUE(OpenClipboard(nullptr)) << "the clipboard was left open";
    CloseClipboard();
}
