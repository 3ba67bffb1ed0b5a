#include "framework/Application.h"

#include "core/Text.h"
#include "core/Unicode.h"
#include "framework/Controls.h"
#include "framework/Form.h"
#include "framework/WindowIcons.h"

TApplication Application;

static const wchar_t kApplicationClass[] = L"TApplication";
// Posted to the application window: destroy the form in lParam's window.
static const UINT kReleaseMessage = WM_APP + 0x51;
// Posted to the application window: show the main form and bring it forward.
static const UINT kShowMainFormMessage = WM_APP + 0x52;

// The hidden application window.
class TApplicationWindow : public TWindow {
public:
    void Create(const std::string& title)
    {
        static const TWindowClass applicationClass{kApplicationClass, 0, nullptr, nullptr,
                                                   LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")};
        const std::wstring caption = Utf8ToWide(title);
        TCreateParams params;
        params.windowClass = &applicationClass;
        params.caption = caption.c_str();
        // A zero-sized window: it is shown only to carry the taskbar button.
        params.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
        params.left = GetSystemMetrics(SM_CXSCREEN) / 2;
        params.top = GetSystemMetrics(SM_CYSCREEN) / 2;
        CreateHandle(params);
        icons_.Apply(Handle(), GetDpiForWindow(Handle()));
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return Application.WindowMessage(Handle(), message, wParam, lParam);
    }

private:
    TWindowIcons icons_;
};

TApplication::TApplication()
{
    SetFailureReporter([](const std::string& message) { Application.ShowError(message); });
}

void TApplication::Initialize(HINSTANCE instance)
{
    instance_ = instance;
    if (!window_)
        window_ = std::make_unique<TApplicationWindow>();
    if (!window_->Handle())
        window_->Create(title_);
}

HWND TApplication::Handle() const
{
    return window_ ? window_->Handle() : nullptr;
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    if (Handle())
        SetWindowTextW(Handle(), Utf8ToWide(title).c_str());
}

void TApplication::Minimize()
{
    if (OnMinimize)
        OnMinimize();
}

void TApplication::EndSession()
{
    if (sessionEnded_)
        return;
    sessionEnded_ = true;
    if (OnEndSession)
        RunGuarded(OnEndSession);
}

void TApplication::MainFormShown(bool shown)
{
    if (!Handle())
        return;
    showingButton_ = true;
    ShowWindow(Handle(), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    showingButton_ = false;
}

// Another program (a second copy refused by the instance guard) shows the
// application window: the user wants the main form, not a taskbar button
// without a window.
void TApplication::ShownFromOutside()
{
    if (!showingButton_ && mainForm_ && !mainForm_->Visible())
        PostMessageW(Handle(), kShowMainFormMessage, 0, 0);
}

void TApplication::ShowMainFormNow()
{
    if (!mainForm_ || !mainForm_->Handle() || terminateRequested_)
        return;
    mainForm_->Show();
    mainForm_->BringToFront();
}

LRESULT TApplication::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            Minimize();
            return 0;
        }
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            if (mainForm_)
                mainForm_->Close();
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == THintWindow::kTimerId) {
            hint_.TimerFired(window);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (mainForm_ && IsWindowVisible(mainForm_->Handle()))
            SetFocus(mainForm_->Handle());
        return 0;
    case WM_CLOSE:
        if (mainForm_)
            mainForm_->Close();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            EndSession();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && !lParam)
            ShownFromOutside();
        break;
    case kShowMainFormMessage:
        RunGuarded([this] { ShowMainFormNow(); });
        return 0;
    case kReleaseMessage:
        // The form may have gone meanwhile: only a window of the program
        // that is still a form is destroyed.
        if (auto* form = dynamic_cast<TForm*>(TWindow::FromHandle(reinterpret_cast<HWND>(lParam))))
            form->DestroyHandle();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool TApplication::PreTranslate(MSG& msg)
{
    for (size_t i = 0; i < hooks_.size(); ++i) {
        // A hook may remove itself: call a copy.
        TMessageHook hook = hooks_[i].hook;
        bool consumed = false;
        RunGuarded([&] { consumed = hook(msg); });
        if (consumed)
            return true;
    }
    if (msg.message == WM_MOUSEMOVE)
        hint_.MouseMovedOver(Handle(), dynamic_cast<TControl*>(TWindow::FromHandle(msg.hwnd)));
    else if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_KEYDOWN)
        hint_.Hide();
    TForm* form = TForm::FormOf(msg.hwnd);
    if (!form)
        return false;
    if (msg.message == WM_KEYDOWN && msg.hwnd != form->Handle() && form->KeyPreview()) {
        WORD key = static_cast<WORD>(msg.wParam);
        RunGuarded([&] { form->PreviewKeyDown(key); });
        if (key == 0)
            return true;
    }
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        const LRESULT wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (!(wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
            bool acted = false;
            RunGuarded([&] { acted = DialogKeyToControls(*form, static_cast<WORD>(msg.wParam)); });
            if (acted)
                return true;
        }
    }
    // Tab and arrow navigation between the controls of whichever form the
    // message is for.
    return IsDialogMessageW(form->Handle(), &msg) != FALSE;
}

bool TApplication::HandleMessage(MSG& msg)
{
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::HandleMessageOrWait()
{
    MSG msg;
    if (!HandleMessage(msg) && !terminated_)
        WaitMessage();
}

int TApplication::AddMessageHook(TMessageHook hook)
{
    hooks_.push_back({nextHookId_, std::move(hook)});
    return nextHookId_++;
}

void TApplication::RemoveMessageHook(int id)
{
    for (auto it = hooks_.begin(); it != hooks_.end(); ++it)
        if (it->id == id) {
            hooks_.erase(it);
            return;
        }
}

void TApplication::Release(TForm* form)
{
    if (form && form->Handle())
        PostMessageW(Handle(), kReleaseMessage, 0, reinterpret_cast<LPARAM>(form->Handle()));
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
    while (!terminated_)
        HandleMessageOrWait();
}

void TApplication::Terminate()
{
    if (!terminateRequested_)
        PostQuitMessage(0);
    terminateRequested_ = true;
}

void TApplication::ShowError(const std::string& message)
{
    HWND owner = mainForm_ && IsWindowVisible(mainForm_->Handle()) ? mainForm_->Handle() : Handle();
    MessageBoxW(owner, Utf8ToWide(ErrorBoxText(message)).c_str(), Utf8ToWide(title_).c_str(),
                MB_OK | MB_ICONSTOP);
}

void TApplication::ShowException(const std::exception& error)
{
    ShowError(error.what());
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

IFormHost& FormHost()
{
    return Application;
}
