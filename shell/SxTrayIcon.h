// The notification-area icon: one icon in the taskbar's notification area,
// its mouse and balloon notifications as events, a popup menu on a right
// click, and balloons shown by the shell or by the program's own balloon
// window.
#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Input.h"
#include "framework/Window.h"
#include "imaging/GdiHandles.h"
#include "shell/BalloonOwner.h"
#include "shell/ShellVersion.h"
#include "shell/SxTrayIconInterface.h"

class TPopupMenu;
class TSxTrayIcon;

// The interface as the icon gives it out: each call goes to the icon.
class TSxTrayIconInterface : public ISxTrayIcon {
public:
    explicit TSxTrayIconInterface(TSxTrayIcon& icon) : icon_(icon) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Click() override;
    HRESULT STDMETHODCALLTYPE DblClick() override;
    HRESULT STDMETHODCALLTYPE GetActive(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE SetActive(BOOL value) override;
    HRESULT STDMETHODCALLTYPE SetTipW(LPCWSTR tip) override;
    HRESULT STDMETHODCALLTYPE LoadIconFromStream(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Reserved() override { return S_OK; }

private:
    TSxTrayIcon& icon_;
};

class TSxTrayIcon : public IBalloonOwner {
public:
    // The message the shell sends to the hidden window for the icon.
    static constexpr UINT kCallbackMessage = 0xB05A;
    // The icon's id within its hidden window; each component has its own.
    static constexpr UINT kIconId = 1;

    TSxTrayIcon();
    virtual ~TSxTrayIcon();
    TSxTrayIcon(const TSxTrayIcon&) = delete;
    TSxTrayIcon& operator=(const TSxTrayIcon&) = delete;

    // Properties, in the order layout data sets them.

    // The component keeps its own copy of the icon.
    HICON Icon() const { return icon_.Handle(); }
    void SetIcon(HICON icon);
    // Whether the icon is in the notification area; only a change adds or
    // removes it. A refused add still leaves the icon active.
    bool Active() const { return active_; }
    void SetActive(bool value);
    // Published, never set by the program. There is no form designer here:
    // setting it true while active adds the icon again (the shell refuses, which goes to OnFail).
    bool ShowDesignTime() const { return showDesignTime_; }
    void SetShowDesignTime(bool value);
    // A plain pointer, stored only. The owner must set it back to nullptr
    // before it destroys the menu.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
    const std::string& Tip() const { return tip_; }
    void SetTip(const std::string& value);
    const std::string& InfoText() const { return infoText_; }
    void SetInfoText(const std::string& value) { infoText_ = value; }
    const std::string& InfoTitle() const { return infoTitle_; }
    void SetInfoTitle(const std::string& value);
    // Milliseconds.
    int32_t InfoTimeout() const { return infoTimeout_; }
    void SetInfoTimeout(int32_t value) { infoTimeout_ = value; }
    TSxTrayIconInfoFlags InfoFlags() const { return infoFlags_; }
    void SetInfoFlags(TSxTrayIconInfoFlags value) { infoFlags_ = value; }
    // Balloons in the program's own window even where the shell has them.
    bool UseOwnInfo() const { return useOwnInfo_; }
    void SetUseOwnInfo(bool value) { useOwnInfo_ = value; }
    bool FadeEffect() const { return fadeEffect_; }
    void SetFadeEffect(bool value) { fadeEffect_ = value; }

    // Events; each is raised only when assigned. Coordinates are screen
    // pixels of the cursor.
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    std::function<void()> OnBalloonShow;
    std::function<void()> OnBalloonHide;
    std::function<void()> OnBalloonTimeout;
    std::function<void()> OnBalloonUserClick;
    // A shell call failed; setting doRetry makes the same call again.
    std::function<void(bool& doRetry)> OnFail;

    // Shows InfoText under InfoTitle with the InfoFlags picture.
    void ShowBalloon();
    void ShowBalloon(const std::string& text, const std::string& title, TSxTrayIconInfoFlags flags);

    // What the hidden window does with the shell's callback message.
    void HandleCallback(uint32_t lParam);

    // The component's interface query: ISxTrayIcon (or IUnknown) by its IID.
    HRESULT GetInterface(REFIID iid, void** out) { return interface_.QueryInterface(iid, out); }

    HWND WindowHandle() const { return window_.Handle(); }
    // The record as the last shell call was given it.
    const NOTIFYICONDATAW& Record() const { return record_; }

    // Whether Shell32.dll is too old for balloons (or its version cannot be
    // read); found out once per process.
    static bool LegacyShell();
    // The registered "TaskbarCreated" message.
    static UINT TaskbarCreatedMessage();

protected:
    // Brings the record up to date for an add or a modify.
    virtual void FillIconData();
    virtual void AddIcon();
    virtual void DeleteIcon();
    virtual void ModifyIcon();

    // The one path to the shell; failures go to OnFail.
    void NotifyShell(DWORD message);
    // Takes down a shell balloon that is up; closeOwn also destroys the own
    // balloon window.
    void HideBalloon(bool closeOwn);
    void Click();
    void DblClick();
    void PopupAtCursor(int x, int y);
    void ButtonDown(TMouseButton button, TShiftState shift, POINT at);
    void ButtonUp(TMouseButton button, TShiftState shift, POINT at);

private:
    friend class TSxTrayIconInterface;

    // The own balloon window's notifications.
    void BalloonShown() override;
    void BalloonHidden() override;
    void BalloonTimedOut() override;
    void BalloonClicked() override;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The hidden window; it stops reaching the component before it goes.
    class THiddenWindow : public TWindow {
    public:
        explicit THiddenWindow(TSxTrayIcon* owner);
        ~THiddenWindow() override;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        TSxTrayIcon* owner_;
    };

    NOTIFYICONDATAW record_{};
    TIcon icon_;
    bool active_ = false;
    bool showDesignTime_ = false;
    TPopupMenu* popupMenu_ = nullptr;
    std::string tip_;
    std::string infoText_;
    std::string infoTitle_;
    int32_t infoTimeout_ = 10000;
    TSxTrayIconInfoFlags infoFlags_ = niifNone;
    bool useOwnInfo_ = false;
    bool fadeEffect_ = true;
    bool leftPressed_ = false;
    bool rightPressed_ = false;
    THiddenWindow window_;
    TSxTrayIconInterface interface_{*this};
};
