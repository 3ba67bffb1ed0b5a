#include "core/TrayRecord.h"

std::string CutText(const std::string& text, size_t maxChars)
{
    return text.size() > maxChars ? text.substr(0, maxChars) : text;
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
