// The application object of a Win32 test program, set up once however
// many tests ask for it first.
#pragma once

#include <windows.h>

#include "framework/Application.h"

inline void InitializeTestApplication(const char* title = "")
{
    static bool initialized = false;
    if (initialized)
        return;
    Application.Initialize(GetModuleHandleW(nullptr));
    Application.SetTitle(title);
    initialized = true;
}
