#include "core/TrayRecord.h"

std::u16string CutText(const std::u16string& text, size_t maxUnits)
{
    if (text.size() <= maxUnits)
        return text;
    size_t length = maxUnits;
    const bool cutsPair = length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF;
    if (cutsPair)
        --length;
    return text.substr(0, length);
}

uint32_t ShellInfoFlags(TSxTrayIconInfoFlags flags)
{
    switch (flags) {
    case niifError:
        return 3;
    case niifInfo:
        return 1;
    case niifWarning:
        return 2;
    case niifNone:
        break;
    }
    return 0;
}

bool IsLegacyShell(bool gotVersion, uint32_t major)
{
    return !gotVersion || major < kTrayBalloonShellMajor;
}
