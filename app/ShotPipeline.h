// The road of every shot, whoever asks for it (the hotkeys, the menu's
// "Capture region", a pinned picture): the first free file name, the pixels
// of the screen, the foreground window or a region chosen (and perhaps
// marked up) on the overlay, the file, the balloon that announces it, the
// clipboard copy, and the half second after it in which no other shot
// starts. A marked-up region may instead go to the clipboard only, or be
// pinned to the screen. A request that comes meanwhile waits (one per kind
// of shot) and is taken once the shot before it is done. It reads nothing
// but the settings it is given with the request (a pin's request: those
// CurrentSettings gives at the time).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "app/CaptureAreas.h"
#include "app/ShotSettings.h"
#include "framework/Timer.h"
#include "framework/Window.h"
#include "app/PinWindow.h"
#include "app/ShotAction.h"
#include "imaging/Bitmap.h"

class TSxTrayIcon;

// A shot is being taken, written and announced: new requests wait.
extern bool Capturing;

// What to take: the screen (as settings.screens says), the foreground
// window, a region the user chooses, one the user chooses and marks up, or
// a picture already taken (a pin's).
enum class TShotKind { Screen, Window, Region, Markup, Picture };

class TShotPipeline {
public:
    // owner: the window the clipboard is opened for; tray: the icon whose
    // balloon announces shots. Both outlive the pipeline.
    TShotPipeline(const TWindow& owner, TSxTrayIcon& tray);

    // Takes one shot and writes it; while another one is under way, the
    // request waits for it unless one of its kind waits already. Errors are
    // raised after the settle wait.
    void Take(TShotKind kind, const TShotSettings& settings);
    // A picture already taken, saved (Save) or put on the clipboard (Copy)
    // as a marked-up region is, with the settings CurrentSettings gives.
    void TakePicture(TShotAction action, const TBitmap& picture);

    // The panel's settings now; set by the main form.
    std::function<TShotSettings()> CurrentSettings;

private:
    struct TWaitingShot {
        TShotKind kind;
        TShotSettings settings;
        TShotAction action = TShotAction::Save; // Picture only
        TBitmap picture;                        // Picture only
    };

    // The pixels, the file, the balloon, the clipboard and the wait.
    void Run(const TWaitingShot& shot, const std::string& fileName);
    // Fills the bitmap, and place with where it was on the screen; None
    // when the user chose nothing, and nothing is written.
    TShotAction Capture(const TWaitingShot& shot, TBitmap& bitmap, TScreenRect& place);
    void Deliver(TShotAction action, const TBitmap& bitmap, const std::string& fileName,
                 const TShotSettings& settings, const TScreenRect& place);
    void SaveAndAnnounce(const TBitmap& bitmap, const std::string& fileName, const TShotSettings& settings);
    void CopyAndAnnounce(const TBitmap& bitmap, const TShotSettings& settings);
    void CopyShotToClipboard(const TBitmap& bitmap, const std::string& fileName);
    void Start(const TWaitingShot& shot);
    void Keep(const TWaitingShot& shot);
    void TakeWaiting();

    const TWindow& owner_;
    TSxTrayIcon& tray_;
    TPinBoard pins_;
    std::optional<TScreenRect> lastRegion_; // the region chosen last in this run
    std::deque<TWaitingShot> waiting_;       // in the order they were asked for
    TTimer waitingTimer_;                    // takes the next one from the message loop
};
