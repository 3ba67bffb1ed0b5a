// TfmMain: the main window. It holds the settings panel, registers the
// global hotkeys and runs the capture pipeline on them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/CaptureAreas.h"
#include "app/HotKeys.h"
#include "app/Settings.h"
#include "framework/Controls.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "framework/Menus.h"
#include "framework/Timer.h"
#include "imaging/Bitmap.h"
#include "shell/SxTrayIcon.h"
#include "skin/SUIButton.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIDlg.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUIPopupMenu.h"
#include "skin/SUITrackBar.h"
#include "shell/adpInstanceControl.h"

// Process-wide state of the program.
extern bool Capturing;     // a shot is being taken, written and announced
extern int32_t JpgQuality; // JPEG quality of the next shot
extern int32_t PngLevel;   // PNG compression level of the next shot

class TfmMain;
extern TfmMain* fmMain;

class TfmMain : public TForm {
public:
    TfmMain();
    ~TfmMain() override;

    // Hotkeys: 1 PrintScreen, 2 Alt+PrintScreen, 3 Ctrl+F12, 4
    // Ctrl+PrintScreen. Each is taken
    // on its own; RegisterHotKeys tries those still missing and says whether
    // all are held now.
    bool RegisterHotKeys();
    void UnregisterHotKeys();
    void WMHotKey(int id);

    // The next file name in the images folder, or "" when none is free.
    std::string MakeFileName(const std::string& folder) const;
    void CaptureAndSave(const std::string& fileName, bool windowMode);
    // Ctrl+PrintScreen and the menu's "Capture region": the overlay, then
    // the chosen pixels saved as every shot is.
    void CaptureRegionAndSave();

    // The panel and the registry store.
    void LoadSettings();
    void SaveSettings();
    void TypeChange();
    void tbQualityChange();
    void GrowPanel();
    void ShrinkPanel();
    HWND AddControlTip(const TControl& control, int icon, const std::string& title, const std::wstring& text);
    void BrowseFolders();

    // Opens the images folder in the shell (a click on the shot's balloon).
    void BalloonClick();
    void AppMinimize();
    void TrayDblClick();
    void mnuHideClick();
    void mnuAboutClick();
    void mnuExitClick();
    void SetCaptureScreens(TCaptureScreens mode);
    void mnuCopyToClipboardClick();
    void FormClose(TCloseAction& action);
    // Windows ends the session: the settings are saved, the hotkeys and the
    // icon released as at a normal exit, and the program ends.
    void SessionEnding();

    // A refused second copy brings the running one forward.
    void MaxInstancesReached(uint32_t lastInstanceHandle);

    // Fonts first: they outlive the controls that draw with them. The panel
    // font is the form's own at the design scale.
    TGdiObject labelFont_;
    TGdiObject panelFont_;

    // The skinned frame; the panel's controls are placed on it.
    TsuiForm sknForm;

    // The panel.
    TLabel lblPath;
    TsuiEdit edPath;
    TsuiButton btnBrowse;
    TLabel lblFormat;
    TsuiComboBox cbType;
    TLabel lblFile;
    TsuiEdit edFile;
    TsuiCheckBox ckTaskbar;
    TsuiCheckBox chkNotify;
    TLabel lblQuality;
    TsuiTrackBar tbQuality;

    TsuiPopupMenu Popup;
    int mnuHide = -1;
    int mnuAbout = -1;
    int mnuCapture = -1; // its sub-menu: the screens radio items, "Copy to clipboard too", "Capture region"
    int Separator = -1;
    int mnuExit = -1;

    TSxTrayIcon icoTray;
    TadpInstanceControl InstanceControl;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The display scale (fMainScale.cpp): the panel's places, fonts and
    // heights at the scale of the monitor the window is on.
    void ApplyScale(const TDisplayScale& scale);
    void PlaceControls();
    void MakeFonts();
    int OuterWidth() const;
    int OuterHeight(int designedOuter) const;
    void AnimateToHeight(int designedOuter);
    void DpiChanged(int dpi, const RECT& suggested);

    TDisplayScale scale_;
    int designedHeight_ = 0; // the outer height last asked for, as designed

    void CreateSkinFrame();
    void CreatePanel();
    void CreateMenu();
    void CreateCaptureMenu();
    void ShowCaptureChoices();
    void TakeMissingHotKeys();
    void ShowHotKeyNotice();
    void UpdateTrayTip();
    // The pipeline of every shot: take fills the bitmap (false: the user
    // chose nothing, and nothing is written), then the file, the balloon,
    // the clipboard and the settle wait.
    void SaveShot(const std::string& fileName, const std::function<bool(TBitmap&)>& take);
    void SaveAndAnnounce(const TBitmap& bitmap, const std::string& fileName);
    void CopyShotToClipboard(const TBitmap& bitmap, const std::string& fileName);
    void SetUpTrayIcon();
    void FormCreate();
    void FormDestroy();
    void AddControlTips();
    TSettings PanelSettings() const;
    void ApplySettings(const TSettings& settings);

    bool started_ = false; // FormCreate ran in a copy the guard let start
    THotKeys hotKeys_;
    TTimer hotKeyRetry_; // while a key is missing
    TCaptureScreens captureScreens_ = TCaptureScreens::Primary;
    bool copyToClipboard_ = false;
    std::optional<TScreenRect> lastRegion_; // the region chosen last in this run
};
