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
    pins_.OnSave = [this](const TBitmap& picture) { TakePicture(TShotAction::Save, picture); };
    pins_.OnCopy = [this](const TBitmap& picture) { TakePicture(TShotAction::Copy, picture); };
}

void TShotPipeline::Take(TShotKind kind, const TShotSettings& settings)
{
    Start({kind, settings, TShotAction::Save, TBitmap()});
}

void TShotPipeline::TakePicture(TShotAction action, const TBitmap& picture)
{
    if (CurrentSettings)
        Start({TShotKind::Picture, CurrentSettings(), action, picture});
}

void TShotPipeline::Start(const TWaitingShot& shot)
{
    if (Capturing) {
        Keep(shot);
        return;
    }
    const TShotSettings& settings = shot.settings;
    const std::string fileName = MakeFileName(settings.folder, settings.prefix, settings.format, FileOrFolderExists);
    Run(shot, fileName);
}

// A pin's pictures all wait; of the other kinds, one each.
void TShotPipeline::Keep(const TWaitingShot& shot)
{
    for (const TWaitingShot& waiting : waiting_)
        if (waiting.kind == shot.kind && shot.kind != TShotKind::Picture)
            return;
    waiting_.push_back(shot);
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
    Start(shot);
}

TShotAction TShotPipeline::Capture(const TWaitingShot& shot, TBitmap& bitmap, TScreenRect& place)
{
    switch (shot.kind) {
    case TShotKind::Screen:
        CaptureScreen(bitmap, shot.settings.includeTaskbar, shot.settings.screens);
        return TShotAction::Save;
    case TShotKind::Window:
        CaptureWindow(bitmap, GetForegroundWindow());
        return TShotAction::Save;
    case TShotKind::Region:
        return CaptureRegion(bitmap, lastRegion_) ? TShotAction::Save : TShotAction::None;
    case TShotKind::Markup:
        return MarkUpRegion(bitmap, place, lastRegion_);
    case TShotKind::Picture:
        bitmap = shot.picture;
        return shot.action;
    }
    return TShotAction::None;
}

void TShotPipeline::Run(const TWaitingShot& shot, const std::string& fileName)
{
    std::exception_ptr failure;
    bool taken = false;
    {
        TBitmap bitmap;
        TScreenRect place;
        Capturing = true;
        try {
            const TShotAction action = Capture(shot, bitmap, place);
            taken = action != TShotAction::None;
            Deliver(action, bitmap, fileName, shot.settings, place);
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

void TShotPipeline::Deliver(TShotAction action, const TBitmap& bitmap, const std::string& fileName,
                            const TShotSettings& settings, const TScreenRect& place)
{
    switch (action) {
    case TShotAction::None:
        break;
    case TShotAction::Save:
        SaveAndAnnounce(bitmap, fileName, settings);
        break;
    case TShotAction::Copy:
        CopyAndAnnounce(bitmap, settings);
        break;
    case TShotAction::Pin:
        pins_.Pin(bitmap, place);
        break;
    }
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

void TShotPipeline::CopyAndAnnounce(const TBitmap& bitmap, const TShotSettings& settings)
{
    CopyToClipboard(owner_.Handle(), bitmap);
    if (tray_.Active() && settings.notify) {
        tray_.SetInfoText(FormatText(LoadStr(IDS_COPIED), {int64_t(bitmap.Width()), int64_t(bitmap.Height())}));
        tray_.ShowBalloon();
    }
}
