// Which shell the program runs under, as the notification-area icon and the
// balloon window both need to know: shells before version 5 of Shell32 have
// no balloons of their own and take only the first, short form of the
// icon's record.
#pragma once

#include <windows.h>

#include <shlwapi.h>

// Asks a DLL for its version through its DllGetVersion. info is zeroed
// first and stays zero when the DLL or the function is missing.
bool GetDllVersion(const char* dllName, DLLVERSIONINFO& info);

// Shell32 is older than version 5 (or says no version); asked once.
bool ShellIsLegacy();
