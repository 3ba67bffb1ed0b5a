// Drives a running Snapquill as a user would, for the project's run command
// on a machine without a display: waits for its window, presses PrintScreen
// and Alt+PrintScreen, prints what was written, and closes the program.
// With --pose it instead shows the window and then the tray menu for
// pictures: it puts a marker file into FOLDER for each pose ("pose-window",
// "pose-menu", "pose-capture-menu") and goes on once the picture taker has deleted it.
//
//   snapquill_demo.exe FOLDER [--pose]
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/DisplayScale.h"
#include "kit/FileBytes.h"
#include "kit/Input.h"
#include "kit/Process.h"
#include "kit/Pump.h"

namespace fs = std::filesystem;
using namespace support;

static HWND WaitForMainWindow(DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil(
        [&] {
            window = FindWindowW(L"TSnapquillForm", L"Snapquill");
            return window && IsWindowVisible(window);
        },
        timeoutMs);
    return window && IsWindowVisible(window) ? window : nullptr;
}

// Waits until the folder holds count files, then a moment longer for the
// last one to be complete.
static std::vector<fs::path> WaitForFiles(const fs::path& folder, size_t count, DWORD timeoutMs)
{
    std::vector<fs::path> files;
    const bool all = WaitUntil(
        [&] {
            files.clear();
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            return files.size() >= count;
        },
        timeoutMs);
    if (all)
        Sleep(300);
    return files;
}

static bool BmpSize(const fs::path& file, int& width, int& height)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(file);
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    width = static_cast<int>(LE32(&bytes[18]));
    height = static_cast<int>(LE32(&bytes[22]));
    return true;
}

// Puts the marker file and waits (at most 30 s) until it is gone.
static void Pose(const fs::path& folder, const char* name)
{
    const fs::path marker = folder / name;
    std::ofstream(marker).put('\n');
    WaitUntil([&] { return !fs::exists(marker); }, 30000);
}

static int ShowPoses(const fs::path& folder, HWND window)
{
    Sleep(1000); // the window settles and paints
    Pose(folder, "pose-window");
    HWND icon = FindWindowW(L"TSxTrayIconWindow", nullptr);
    if (!icon)
        return 1;
    // The menu opens at the pointer: to the right of the window (designed
    // places from the window's corner at (246, 140), at the display scale).
    const TDisplayScale scale(static_cast<int>(GetDpiForSystem()));
    auto pointAt = [&scale](int x, int y) { SetCursorPos(246 + scale.Position(x), 140 + scale.Position(y)); };
    pointAt(194, 30);
    Sleep(300); // Wine takes a moment before other programs see the pointer there
    PostMessageW(icon, 0xB05A, 1, WM_RBUTTONDOWN);
    PostMessageW(icon, 0xB05A, 1, WM_RBUTTONUP);
    Sleep(1000);
    // The pointer over the second item shows the selected look.
    pointAt(214, 60);
    Sleep(500);
    Pose(folder, "pose-menu");
    // Resting on "Capture" opens its sub-menu.
    pointAt(214, 80);
    Sleep(1200);
    Pose(folder, "pose-capture-menu");
    PressKey(VK_ESCAPE);
    Sleep(200);
    PressKey(VK_ESCAPE);
    Sleep(300);
    CloseAndWait(window, 15000);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    // Pointer places in the screen's own pixels, as the program sees them:
    // on Windows a driver unaware of the display scale would have its
    // SetCursorPos multiplied by it.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc < 2) {
        std::fprintf(stderr, "usage: snapquill_demo FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[1];
    HWND window = WaitForMainWindow(30000);
    if (!window) {
        std::fprintf(stderr, "demo: Snapquill did not come up\n");
        return 1;
    }
    if (argc > 2 && std::wstring(argv[2]) == L"--pose")
        return ShowPoses(folder, window);
    PressKey(VK_SNAPSHOT);
    WaitForFiles(folder, 1, 15000);
    Sleep(700); // shots are refused for half a second after each one
    SetForegroundWindow(window);
    Press({VK_MENU, VK_SNAPSHOT});
    std::vector<fs::path> files = WaitForFiles(folder, 2, 15000);

    for (const fs::path& file : files) {
        int width = 0, height = 0;
        std::string size = BmpSize(file, width, height) ? std::to_string(width) + " x " + std::to_string(height)
                                                        : std::string("?");
        std::printf("%s  %s pixels  %llu bytes\n", file.string().c_str(), size.c_str(),
                    static_cast<unsigned long long>(fs::file_size(file)));
    }
    CloseAndWait(window, 15000);
    return files.size() == 2 ? 0 : 1;
}
