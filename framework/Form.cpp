#include "framework/Form.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "core/ScopeExit.h"
#include "core/Unicode.h"
#include "framework/FormHost.h"

static const TWindowClass& FormClass()
{
    static const TWindowClass formClass{L"TSnapquillForm", CS_DBLCLKS,
                                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr,
                                        LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")};
    return formClass;
}

TShiftState TShiftState::Current()
{
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0, GetKeyState(VK_CONTROL) < 0};
}

TForm::~TForm()
{
    DestroyHandle();
}

void TForm::CreateForm(const TFormLayout& layout)
{
    font_ = TGdiObject(CreateFontW(-layout.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, layout.fontName));
    const std::wstring caption = Utf8ToWide(layout.caption);
    TCreateParams params;
    params.windowClass = &FormClass();
    params.caption = caption.c_str();
    params.style = layout.style;
    params.exStyle = layout.exStyle;
    params.left = layout.bounds.left;
    params.top = layout.bounds.top;
    params.width = layout.bounds.width;
    params.height = layout.bounds.height;
    params.parent = FormHost().Handle();
    CreateHandle(params);
    icons_.Apply(Handle(), GetDpiForWindow(Handle()));
}

std::string TForm::Caption() const
{
    return WindowText(Handle());
}

void TForm::SetCaption(const std::string& caption)
{
    SetWindowTextW(Handle(), Utf8ToWide(caption).c_str());
}

bool TForm::Visible() const
{
    return Handle() && IsWindowVisible(Handle());
}

void TForm::SetVisible(bool value)
{
    if (FormHost().MainForm() == this)
        FormHost().MainFormShown(value);
    ShowWindow(Handle(), value ? SW_SHOW : SW_HIDE);
}

void TForm::BringToFront()
{
    SetForegroundWindow(Handle());
    BringWindowToTop(Handle());
}

void TForm::Close()
{
    const bool mainForm = FormHost().MainForm() == this;
    TCloseAction action = mainForm || modal_ ? TCloseAction::Free : TCloseAction::Hide;
    if (OnClose)
        OnClose(action);
    if (action == TCloseAction::None)
        return;
    if (mainForm)
        FormHost().Terminate();
    else if (modal_)
        modalResult_ = mrCancel;
    else if (action == TCloseAction::Hide)
        Hide();
    else
        FormHost().Release(this);
}

// The enabled top-level windows of this thread other than the modal form.
static std::vector<HWND> OtherEnabledWindows(HWND modal)
{
    std::vector<HWND> windows;
    struct Search {
        HWND modal;
        std::vector<HWND>* found;
    } search{modal, &windows};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (window != s->modal && IsWindowEnabled(window) && IsWindowVisible(window))
                s->found->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return windows;
}

int TForm::ShowModal()
{
    if (modal_)
        throw std::logic_error("The form is shown modally already");
    modalResult_ = mrNone;
    std::vector<HWND> disabled = OtherEnabledWindows(Handle());
    for (HWND window : disabled)
        EnableWindow(window, FALSE);
    const TScopeExit restore([this, &disabled] {
        modal_ = false;
        for (HWND window : disabled)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
        if (Handle())
            Hide();
    });
    modal_ = true;
    Show();
    SetForegroundWindow(Handle());
    if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE))
        SetFocus(first);
    while (modalResult_ == mrNone && Handle() && !FormHost().Terminated())
        FormHost().HandleMessageOrWait();
    if (!Handle() && modalResult_ == mrNone)
        modalResult_ = mrCancel;
    return modalResult_;
}

void TForm::PreviewKeyDown(WORD& key)
{
    if (keyPreview_ && OnKeyDown)
        OnKeyDown(key, TShiftState::Current());
}

int TForm::Height() const
{
    return BoundsRect().height;
}

void TForm::SetHeight(int value)
{
    TBounds b = BoundsRect();
    SetWindowPos(Handle(), nullptr, 0, 0, b.width, value, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::AnimateHeight(int target)
{
    heightTarget_ = target;
    if (animatingHeight_)
        return;
    animatingHeight_ = true;
    try {
        StepHeightToTarget();
    } catch (...) {
        animatingHeight_ = false;
        throw;
    }
    animatingHeight_ = false;
}

void TForm::StepHeightToTarget()
{
    for (int height = Height(); Handle() && height != heightTarget_; height = Height()) {
        int step = std::clamp(heightTarget_ - height, -heightStep_, heightStep_);
        SetHeight(height + step);
        if (Height() == height)
            return; // the window refuses the size
        // Each step is drawn whole before the next: never a frame that
        // shows the edge of the step before.
        RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpWait(1);
    }
}

TBounds TForm::BoundsRect() const
{
    RECT r{};
    GetWindowRect(Handle(), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int TForm::ClientWidth() const
{
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}

int TForm::ClientHeight() const
{
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

HWND TForm::FocusedControl() const
{
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus))
        return focus;
    return focused_ && IsWindow(focused_) && IsChild(Handle(), focused_) ? focused_ : nullptr;
}

void TForm::RememberFocus()
{
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus))
        focused_ = focus;
}

// The control must still be there and able to take the focus.
bool TForm::RestoreFocus()
{
    const HWND control = FocusedControl();
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    SetFocus(control);
    return true;
}

TForm* TForm::FormOf(HWND window)
{
    if (!window)
        return nullptr;
    return dynamic_cast<TForm*>(TWindow::FromHandle(GetAncestor(window, GA_ROOT)));
}

bool TForm::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT TForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (message == WM_DPICHANGED)
        icons_.Apply(Handle(), LOWORD(wParam));
    if (HandleMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_KEYDOWN:
        if (keyPreview_ || OnKeyDown) {
            WORD key = static_cast<WORD>(wParam);
            if (OnKeyDown)
                OnKeyDown(key, TShiftState::Current());
            if (key == 0)
                return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE && FormHost().MainForm() == this) {
            FormHost().Minimize();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // A minimised form takes no focus; otherwise the default would
        // focus the form itself.
        if (LOWORD(wParam) == WA_INACTIVE)
            RememberFocus();
        else if (!HIWORD(wParam) && RestoreFocus())
            return 0;
        break;
    case WM_ENDSESSION:
        if (wParam)
            FormHost().EndSession();
        return 0;
    case WM_DESTROY:
        if (OnDestroy)
            OnDestroy();
        break;
    case WM_GETMINMAXINFO: {
        result = DefaultProc(message, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minWidth_);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minHeight_);
        return result;
    }
    }
    return DefaultProc(message, wParam, lParam);
}
