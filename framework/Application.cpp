#include "framework/Application.h"

#include "core/Text.h"
#include "framework/Form.h"
#include "framework/Unicode.h"

TApplication Application;

static const wchar_t kApplicationClass[] = L"TApplication";

void TApplication::Initialize(HINSTANCE instance)
{
    instance_ = instance;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    if (!wc.hIcon)
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationClass;
    RegisterClassW(&wc);
    // A zero-sized window: it is shown only to carry the taskbar button.
    handle_ = CreateWindowExW(0, kApplicationClass, Utf8ToWide(title_).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, instance, nullptr);
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    if (handle_)
        SetWindowTextW(handle_, Utf8ToWide(title).c_str());
}

void TApplication::Minimize()
{
    if (OnMinimize)
        OnMinimize();
}

void TApplication::MainFormShown(bool shown)
{
    if (handle_)
        ShowWindow(handle_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            RunGuarded([] { Application.Minimize(); });
            return 0;
        }
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            if (Application.mainForm_)
                RunGuarded([] { Application.mainForm_->Close(); });
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == THintWindow::kTimerId) {
            Application.hint_.TimerFired(window);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (Application.mainForm_ && IsWindowVisible(Application.mainForm_->Handle()))
            SetFocus(Application.mainForm_->Handle());
        return 0;
    case WM_CLOSE:
        if (Application.mainForm_)
            RunGuarded([] { Application.mainForm_->Close(); });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool TApplication::HandleMessage(MSG& msg)
{
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (msg.message == WM_MOUSEMOVE)
        hint_.MouseMovedOver(handle_, mainForm_ ? mainForm_->FindControl(msg.hwnd) : nullptr);
    else if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_KEYDOWN)
        hint_.Hide();
    HWND dialogHost = mainForm_ ? mainForm_->Handle() : nullptr;
    if (!dialogHost || !IsDialogMessageW(dialogHost, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (!terminated_ && HandleMessage(msg)) {
    }
}

void TApplication::Run()
{
    if (mainForm_ && showMainForm_ && !terminateRequested_)
        mainForm_->Show();
    while (!terminated_) {
        MSG msg;
        if (!HandleMessage(msg))
            WaitMessage();
    }
}

void TApplication::Terminate()
{
    if (!terminateRequested_)
        PostQuitMessage(0);
    terminateRequested_ = true;
}

void TApplication::ShowError(const std::string& message)
{
    HWND owner = mainForm_ && IsWindowVisible(mainForm_->Handle()) ? mainForm_->Handle() : handle_;
    MessageBoxW(owner, Utf8ToWide(ErrorBoxText(message)).c_str(), Utf8ToWide(title_).c_str(),
                MB_OK | MB_ICONSTOP);
}

void TApplication::ShowException(const std::exception& error)
{
    ShowError(error.what());
}

void RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        Application.ShowException(error);
    } catch (...) {
        Application.ShowError("Unknown error");
    }
}

void PumpWait(uint32_t ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD now = GetTickCount();
        Application.ProcessMessages();
        if (static_cast<uint32_t>(now - start) >= ms)
            return;
    }
}
