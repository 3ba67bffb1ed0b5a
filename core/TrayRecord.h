// Rules for the notification-area icon's shell record that do not depend on
// Win32: how long its texts may be, how the balloon picture is numbered for
// the shell, and which shells cannot show balloons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/BalloonKinds.h"

// Longest texts the record's fields take, in UTF-16 units (each field has
// one more for the terminating NUL).
constexpr size_t kTrayTipChars = 127;
constexpr size_t kTrayInfoChars = 255;
constexpr size_t kTrayInfoTitleChars = 63;

// The shell's major version from which it shows balloons itself and takes
// the long record.
constexpr uint32_t kTrayBalloonShellMajor = 5;

// text cut to at most maxUnits UTF-16 units, never between the two halves
// of a character outside the basic plane.
std::u16string CutText(const std::u16string& text, size_t maxUnits);

// The shell's dwInfoFlags for a balloon picture: error 3, info 1, none 0,
// warning 2.
uint32_t ShellInfoFlags(TSxTrayIconInfoFlags flags);

// Whether the shell is too old for balloons (and takes the short record):
// its version could not be read, or its major version is below 5.
bool IsLegacyShell(bool gotVersion, uint32_t major);
