// Snapquill: start-up and the message loop.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include "app/CommandLine.h"
#include "app/fMain.h"
#include "core/Stream.h"
#include "framework/Application.h"
#include "framework/Resources.h"
#include "core/ScopeExit.h"
#include "core/Unicode.h"
#include "imaging/jpeg.h"
#include "resources/StringIds.h"

static std::vector<std::string> CommandLineParams()
{
    std::vector<std::string> params;
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        params.push_back(WideToUtf8(args[i]));
    LocalFree(args);
    return params;
}

static int ScreenBitsPerPixel()
{
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    Application.SetTitle("Snapquill");
    // The shell's folder browser needs COM on this thread.
    const HRESULT ole = OleInitialize(nullptr);
    if (FAILED(ole)) {
        Application.ShowError("Cannot start Snapquill: OLE could not be initialised (" +
                              SysErrorMessage(static_cast<unsigned long>(ole)) + ")");
        return 1;
    }
    const TScopeExit oleScope([] { OleUninitialize(); });
    SetJPEGDefaultDecodeDepth(ScreenBitsPerPixel());
    try {
        Application.Initialize(instance);
    } catch (const std::exception& error) {
        Application.ShowError(std::string("Cannot start Snapquill: ") + error.what());
        return 1;
    }
    SetFileCreateErrorFormat(LoadStr(IDS_CANNOT_CREATE_FILE));
    TStartOptions options = ParseCommandLine(CommandLineParams());
    if (options.hide)
        Application.SetShowMainForm(false);
    try {
        TfmMain form;
        if (options.noTray)
            form.icoTray.SetActive(false);
        Application.Run();
    } catch (const std::exception& error) {
        // Only a window that could not be made at all ends up here.
        Application.ShowException(error);
        return 1;
    }
    return 0;
}
