#include "app/ShotPipeline.h"

#include <exception>

#include "app/Capture.h"
#include "app/FileNaming.h"
#include "app/RegionOverlay.h"
#include "core/Exception.h"
#include "core/Text.h"
#include "framework/Application.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"
#include "shell/SxTrayIcon.h"

bool Capturing = false;

// How long later shots are refused after one has been written.
constexpr unsigned kSettleMs = 500;

void TShotPipeline::Take(TShotKind kind, const TShotSettings& settings)
{
    if (Capturing)
        return;
    const std::string fileName = MakeFileName(settings.folder, settings.prefix, settings.format, FileOrFolderExists);
    Run(kind, fileName, settings);
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
