#include "core/InstanceRules.h"

#include "core/Text.h"

std::string MappingName(const std::string& exePath)
{
    std::string name;
    name.reserve(exePath.size());
    for (char c : exePath) {
        if (c != '\\' && c != ' ')
            name += c;
    }
    return name;
}

bool AdmitInstance(TInstanceRecord& record, uint32_t maxInstances, uint32_t ownHandle)
{
    if (record.InstanceCount >= maxInstances)
        return false;
    record.LastInstanceHandle = ownHandle;
    record.InstanceCount += 1;
    return true;
}

TInstanceRecord FirstInstanceRecord(uint32_t ownHandle)
{
    return TInstanceRecord{ownHandle, 1};
}

void ReleaseInstance(TInstanceRecord& record)
{
    if (record.InstanceCount > 0)
        record.InstanceCount -= 1;
}

std::string OSErrorMessage(uint32_t code, const std::string& systemText)
{
    if (code == 0)
        return "A call to an OS function failed";
    // The code is shown the way a signed 32-bit number prints.
    return FormatText("System Error.  Code: %d.\r\n%s",
                      {int64_t(static_cast<int32_t>(code)), systemText});
}
