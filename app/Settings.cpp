#include "app/Settings.h"

void ReadSettings(const TRegistryValues& values, TSettings& settings, const TRegistryMessages& messages)
{
    settings.defaultPath = ReadStringValue(values, "DefaultPath", messages);
    settings.filename = ReadStringValue(values, "Filename", messages);
    settings.fileFormat = ReadIntegerValue(values, "FileFormat", messages);
    settings.png = ReadIntegerValue(values, "PNG", messages);
    settings.jpg = ReadIntegerValue(values, "JPG", messages);
    settings.includeTask = ReadBoolValue(values, "IncludeTask", messages);
    settings.notifyShots = ReadBoolValue(values, "NotifyShots", messages);
    settings.captureScreens = ReadOptionalInteger(values, "CaptureScreens", 0, 0, 2);
    settings.copyToClipboard = ReadOptionalInteger(values, "CopyToClipboard", 0, 0, 1) != 0;
}

void WriteSettings(TRegistryValues& values, const TSettings& settings, const TRegistryMessages& messages)
{
    WriteStringValue(values, "DefaultPath", settings.defaultPath, messages);
    WriteStringValue(values, "Filename", settings.filename, messages);
    WriteIntegerValue(values, "FileFormat", settings.fileFormat, messages);
    WriteIntegerValue(values, "PNG", settings.png, messages);
    WriteIntegerValue(values, "JPG", settings.jpg, messages);
    WriteIntegerValue(values, "IncludeTask", settings.includeTask ? 1 : 0, messages);
    WriteIntegerValue(values, "NotifyShots", settings.notifyShots ? 1 : 0, messages);
    WriteIntegerValue(values, "CaptureScreens", settings.captureScreens, messages);
    WriteIntegerValue(values, "CopyToClipboard", settings.copyToClipboard ? 1 : 0, messages);
}

TShotSettings ShotSettingsFrom(const TSettings& settings)
{
    TShotSettings shot;
    shot.folder = settings.defaultPath;
    shot.prefix = settings.filename;
    shot.format = ShotFormatFromIndex(settings.fileFormat);
    shot.jpgQuality = settings.jpg;
    shot.pngLevel = settings.png;
    shot.includeTaskbar = settings.includeTask;
    shot.notify = settings.notifyShots;
    shot.copyToClipboard = settings.copyToClipboard;
    shot.screens = static_cast<TCaptureScreens>(settings.captureScreens);
    return shot;
}
