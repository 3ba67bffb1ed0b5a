// The menu of the tray icon and of the title bar's control box: Hide (or
// Show), About, the Capture sub-menu and Exit. The sub-menu holds the
// choices of what PrintScreen takes on several monitors, "Copy to clipboard
// too" and "Capture region"; the menu keeps those two choices itself. Its
// items and its look are data; what the items do is the owner's, through
// the events.
#pragma once

#include <functional>

#include "app/CaptureAreas.h"
#include "skin/SUIPopupMenu.h"

class TTrayMenu {
public:
    TTrayMenu();

    // The items, as the tray icon and the title bar show them.
    TsuiPopupMenu& Popup() { return popup_; }

    std::function<void()> OnHide;
    std::function<void()> OnAbout;
    std::function<void()> OnCaptureRegion;
    std::function<void()> OnCaptureMarkup;
    std::function<void()> OnExit;

    // The first item's caption after it hid (false) or showed the window.
    void ShowHideCaption(bool windowShown);

    TCaptureScreens Screens() const { return screens_; }
    bool CopyToClipboard() const { return copyToClipboard_; }
    void SetChoices(TCaptureScreens screens, bool copyToClipboard);

private:
    void AddItems();
    void AddCaptureMenu();
    void ShowChoices();
    void ToggleCopyToClipboard();

    TsuiPopupMenu popup_;
    int hideItem_ = -1;
    int captureItem_ = -1;
    TCaptureScreens screens_ = TCaptureScreens::Primary;
    bool copyToClipboard_ = false;
};
