#include "app/ShotPipeline.h"

#include <exception>

#include "app/Capture.h"
#include "app/FileNaming.h"
#include "app/RegionOverlay.h"
#include "app/ShotFile.h"
#include "core/Exception.h"
#include "core/Text.h"
#include "framework/Application.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"
#include "shell/SxTrayIcon.h"

bool Capturing = false;

// How long the next shot waits after one has been written.
constexpr unsigned kSettleMs = 500;

TShotPipeline::TShotPipeline(const TWindow& owner, TSxTrayIcon& tray) : owner_(owner), tray_(tray)
{
    waitingTimer_.SetInterval(USER_TIMER_MINIMUM);
    waitingTimer_.OnTimer = [this] { TakeWaiting(); };
}

void TShotPipeline::Take(TShotKind kind, const TShotSettings& settings)
{
    if (Capturing) {
        Keep(kind, settings);
        return;
    }
    const std::string fileName = MakeFileName(settings.folder, settings.prefix, settings.format, FileOrFolderExists);
    Run(kind, fileName, settings);
}

void TShotPipeline::Keep(TShotKind kind, const TShotSettings& settings)
{
    for (const TWaitingShot& shot : waiting_)
        if (shot.kind == kind)
            return;
    waiting_.push_back({kind, settings});
    waitingTimer_.SetEnabled(true);
}

// From the message loop while shots wait: the first one is taken once the
// shot before it is done, also when that one failed and its error shows.
void TShotPipeline::TakeWaiting()
{
    if (Capturing)
        return;
    waitingTimer_.SetEnabled(waiting_.size() > 1);
    if (waiting_.empty())
        return;
    const TWaitingShot shot = waiting_.front();
    waiting_.pop_front();
    Take(shot.kind, shot.settings);
}

bool TShotPipeline::Capture(TShotKind kind, const TShotSettings& settings, TBitmap& bitmap)
{
    switch (kind) {
    case TShotKind::Screen:
        CaptureScreen(bitmap, settings.includeTaskbar, settings.screens);
        return true;
    case TShotKind::Window:
        CaptureWindow(bitmap, GetForegroundWindow());
        return true;
    case TShotKind::Region:
        return CaptureRegion(bitmap, lastRegion_);
    }
    return false;
}

void TShotPipeline::Run(TShotKind kind, const std::string& fileName, const TShotSettings& settings)
{
    std::exception_ptr failure;
    bool taken = false;
    {
        TBitmap bitmap;
        Capturing = true;
        try {
            taken = Capture(kind, settings, bitmap);
            if (taken)
                SaveAndAnnounce(bitmap, fileName, settings);
        } catch (...) {
            taken = true;
            failure = std::current_exception();
        }
    }
    // Later shots wait until this one has settled, whatever happened.
    if (taken)
        PumpWait(kSettleMs);
    Capturing = false;
    if (failure)
        std::rethrow_exception(failure);
}

void TShotPipeline::SaveAndAnnounce(const TBitmap& bitmap, const std::string& fileName,
                                    const TShotSettings& settings)
{
    const std::string written = SaveCapture(bitmap, fileName, settings);
    if (tray_.Active() && settings.notify) {
        tray_.SetInfoText(NotificationText(LoadStr(IDS_SHOT_SAVED), written, bitmap.Width(), bitmap.Height(),
                                           FileSizeKB(written)));
        tray_.ShowBalloon();
    }
    if (settings.copyToClipboard)
        CopyShotToClipboard(bitmap, written);
}

void TShotPipeline::CopyShotToClipboard(const TBitmap& bitmap, const std::string& fileName)
{
    try {
        CopyToClipboard(owner_.Handle(), bitmap);
    } catch (const Exception& error) {
        throw Exception(FormatText(LoadStr(IDS_CLIPBOARD_FAILED), {fileName, error.Message()}));
    }
}
