// The application object: the hidden application window that owns the forms
// and carries the taskbar button, the message loop, and the standard error
// box for failures that reach a message handler.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/FormHost.h"
#include "framework/HintWindow.h"
// RunGuarded, which the application completes with its error box.
#include "framework/Window.h"

class TForm;
class TApplicationWindow;

class TApplication : public IFormHost {
public:
    // Failures escaping a window's message handler go to ShowError.
    TApplication();
    // Creates the hidden application window.
    // Raises an error when the window cannot be made.
    void Initialize(HINSTANCE instance);
    HINSTANCE Instance() const { return instance_; }
    HWND Handle() const override;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Whether Run shows the main form before the loop starts.
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }

    TForm* MainForm() const override { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // Called when the user minimises the program.
    std::function<void()> OnMinimize;
    void Minimize() override;

    // Called once when Windows really ends the session (sign-out, restart,
    // shut down). The process may be ended as soon as the handler returns,
    // before any window is destroyed: what a normal exit would save must be
    // saved here.
    std::function<void()> OnEndSession;
    // Runs OnEndSession the first time only; any window of the program that
    // hears WM_ENDSESSION calls it.
    void EndSession() override;
    bool SessionEnded() const { return sessionEnded_; }

    // Shows the main form unless asked not to, then dispatches messages
    // until Terminate.
    void Run();
    // Dispatches the messages waiting now; returns at once when none wait.
    void ProcessMessages();
    // Dispatches one message, waiting for it when none is there (modal runs).
    void HandleMessageOrWait() override;
    // Ends the message loop.
    void Terminate() override;
    bool Terminated() const override { return terminated_; }

    // The standard error box: captioned with the title, stop icon, OK.
    void ShowException(const std::exception& error);
    void ShowError(const std::string& message);

    // Shows or hides the taskbar button with the main form. When anyone
    // else shows the application window (a second copy of the program
    // bringing this one forward), the main form is shown and brought to the
    // front instead, as the taskbar button alone would do nothing.
    void MainFormShown(bool shown) override;

    // An application-wide message hook sees every message the loop takes
    // before it is translated and dispatched; returning true consumes it.
    using TMessageHook = std::function<bool(MSG& msg)>;
    int AddMessageHook(TMessageHook hook);
    void RemoveMessageHook(int id);
    bool HasMessageHooks() const { return !hooks_.empty(); }

    // Destroys a form's window once the message at hand is done.
    void Release(TForm* form) override;

private:
    friend class TApplicationWindow;
    LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(MSG& msg);
    bool PreTranslate(MSG& msg);
    void ShownFromOutside();
    void ShowMainFormNow();
    struct THook {
        int id;
        TMessageHook hook;
    };

    HINSTANCE instance_ = nullptr;
    std::unique_ptr<TApplicationWindow> window_;
    std::string title_;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool terminateRequested_ = false;
    bool sessionEnded_ = false;
    bool showingButton_ = false;
    TForm* mainForm_ = nullptr;
    THintWindow hint_;
    std::vector<THook> hooks_;
    int nextHookId_ = 1;
};

extern TApplication Application;
