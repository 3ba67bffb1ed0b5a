// The road of every shot, whoever asks for it (the hotkeys, the menu's
// "Capture region"): the first free file name, the pixels of the screen, the
// foreground window or a region chosen on the overlay, the file, the balloon
// that announces it, the clipboard copy, and the half second after it in
// which no other shot starts. A request that comes meanwhile waits (one per
// kind of shot) and is taken once the shot before it is done. It reads
// nothing but the settings it is given with the request.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>

#include "app/CaptureAreas.h"
#include "app/ShotSettings.h"
#include "framework/Timer.h"
#include "framework/Window.h"
#include "imaging/Bitmap.h"

class TSxTrayIcon;

// A shot is being taken, written and announced: new requests wait.
extern bool Capturing;

// What to take: the screen (as settings.screens says), the foreground
// window, or a region the user chooses.
enum class TShotKind { Screen, Window, Region };

class TShotPipeline {
public:
    // owner: the window the clipboard is opened for; tray: the icon whose
    // balloon announces shots. Both outlive the pipeline.
    TShotPipeline(const TWindow& owner, TSxTrayIcon& tray);

    // Takes one shot and writes it; while another one is under way, the
    // request waits for it unless one of its kind waits already. Errors are
    // raised after the settle wait.
    void Take(TShotKind kind, const TShotSettings& settings);

private:
    // The pixels, the file, the balloon, the clipboard and the wait.
    void Run(TShotKind kind, const std::string& fileName, const TShotSettings& settings);
    // Fills the bitmap; false when the user chose nothing, and nothing is
    // written.
    bool Capture(TShotKind kind, const TShotSettings& settings, TBitmap& bitmap);
    void SaveAndAnnounce(const TBitmap& bitmap, const std::string& fileName, const TShotSettings& settings);
    void CopyShotToClipboard(const TBitmap& bitmap, const std::string& fileName);
    void Keep(TShotKind kind, const TShotSettings& settings);
    void TakeWaiting();

    struct TWaitingShot {
        TShotKind kind;
        TShotSettings settings;
    };

    const TWindow& owner_;
    TSxTrayIcon& tray_;
    std::optional<TScreenRect> lastRegion_; // the region chosen last in this run
    std::deque<TWaitingShot> waiting_;       // in the order they were asked for
    TTimer waitingTimer_;                    // takes the next one from the message loop
};
