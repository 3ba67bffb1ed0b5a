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
}
