// TfmMain: the main window. It puts the program's parts together: the
// skinned frame with the settings panel on it, the tray icon and its menu,
// the single-instance guard, the hotkeys and the shot pipeline they start.
// It keeps the settings in the registry, and shows, hides and scales itself.
#pragma once

#include <cstdint>
#include <memory>

#include "app/HotKeyKeeper.h"
#include "app/KeyboardMenu.h"
#include "app/SettingsPanel.h"
#include "app/ShotPipeline.h"
#include "app/TrayMenu.h"
#include "framework/Form.h"
#include "shell/SxTrayIcon.h"
#include "shell/adpInstanceControl.h"
#include "skin/SUIForm.h"

class TfmMain;
extern TfmMain* fmMain;

class TfmMain : public TForm {
public:
    TfmMain();
    ~TfmMain() override;

    // Hotkeys: 1 PrintScreen, 2 Alt+PrintScreen, 3 Ctrl+F12, 4
    // Ctrl+PrintScreen.
    void WMHotKey(int id);

    // The panel and the menu's choices, from the registry and into it.
    void LoadSettings();
    void SaveSettings();

    // Opens the images folder in the shell (a click on the shot's balloon).
    void BalloonClick();
    void AppMinimize();
    void TrayDblClick();
    void mnuHideClick();
    void mnuAboutClick();
    void mnuExitClick();
    void FormClose(TCloseAction& action);
    // Windows ends the session: the settings are saved, the hotkeys and the
    // icon released as at a normal exit, and the program ends.
    void SessionEnding();

    // A refused second copy brings the running one forward.
    void MaxInstancesReached(uint32_t lastInstanceHandle);

    // The skinned frame; the panel's controls are placed on it.
    TsuiForm sknForm;
    TSxTrayIcon icoTray;
    TadpInstanceControl InstanceControl;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The display scale (fMainScale.cpp): the window's size and the panel at
    // the scale of the monitor the window is on.
    void ApplyScale(const TDisplayScale& scale);
    int OuterWidth() const;
    int OuterHeight(int designedOuter) const;
    void AnimateToHeight(int designedOuter);
    void DpiChanged(int dpi, const RECT& suggested);

    void CreateSkinFrame();
    void BindMenu();
    // The menu below the title bar, as its round button opens it.
    void PopupMenuBelowTitleBar();
    void SetUpGuard();
    void SetUpTrayIcon();
    void FormCreate();
    void FormDestroy();
    void UpdateTrayTip();
    void TakeShot(TShotKind kind);
    TSettings CurrentSettings() const;
    void ApplySettings(const TSettings& settings);

    TSettingsPanel panel_;
    TTrayMenu menu_;
    // After the skinned frame, whose own keys (Alt+Space) come first.
    std::unique_ptr<TKeyboardMenu> keyboardMenu_;
    THotKeyKeeper hotKeys_;
    TShotPipeline pipeline_{*this, icoTray};
    bool started_ = false; // FormCreate ran in a copy the guard let start
    TDisplayScale scale_;
    int designedHeight_ = 0; // the outer height last asked for, as designed
};
