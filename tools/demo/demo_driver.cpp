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

namespace fs = std::filesystem;

static HWND WaitForMainWindow(DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100))
        if (HWND window = FindWindowW(L"TSnapquillForm", L"Snapquill"); window && IsWindowVisible(window))
            return window;
    return nullptr;
}

static void Press(WORD key, bool withAlt)
{
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (withAlt)
        add(VK_MENU, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (withAlt)
        add(VK_MENU, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Waits until the folder holds count files whose sizes have stopped changing.
static std::vector<fs::path> WaitForFiles(const fs::path& folder, size_t count, DWORD timeoutMs)
{
    std::vector<fs::path> files;
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(200)) {
        files.clear();
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (files.size() >= count) {
            Sleep(300);
            return files;
        }
    }
    return files;
}

static bool BmpSize(const fs::path& file, int& width, int& height)
{
    std::ifstream in(file, std::ios::binary);
    unsigned char header[26] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'B' || header[1] != 'M')
        return false;
    auto le32 = [&header](int at) {
        return static_cast<int>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 | header[at + 3] << 24);
    };
    width = le32(18);
    height = le32(22);
    return true;
}

// Puts the marker file and waits (at most 30 s) until it is gone.
static void Pose(const fs::path& folder, const char* name)
{
    const fs::path marker = folder / name;
    std::ofstream(marker).put('\n');
    for (DWORD start = GetTickCount(); fs::exists(marker) && GetTickCount() - start < 30000;)
        Sleep(100);
}

static void CloseProgram(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (process) {
        WaitForSingleObject(process, 15000);
        CloseHandle(process);
    }
}

static int ShowPoses(const fs::path& folder, HWND window)
{
    Sleep(1000); // the window settles and paints
    Pose(folder, "pose-window");
    HWND icon = FindWindowW(L"TSxTrayIconWindow", nullptr);
    if (!icon)
        return 1;
    // The menu opens at the pointer: to the right of the window.
    SetCursorPos(440, 170);
    PostMessageW(icon, 0xB05A, 1, WM_RBUTTONDOWN);
    PostMessageW(icon, 0xB05A, 1, WM_RBUTTONUP);
    Sleep(1000);
    // The pointer over the second item shows the selected look.
    SetCursorPos(460, 200);
    Sleep(500);
    Pose(folder, "pose-menu");
    // Resting on "Capture" opens its sub-menu.
    SetCursorPos(460, 220);
    Sleep(1200);
    Pose(folder, "pose-capture-menu");
    Press(VK_ESCAPE, false);
    Sleep(200);
    Press(VK_ESCAPE, false);
    Sleep(300);
    CloseProgram(window);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
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
    Press(VK_SNAPSHOT, false);
    WaitForFiles(folder, 1, 15000);
    Sleep(700); // shots are refused for half a second after each one
    SetForegroundWindow(window);
    Press(VK_SNAPSHOT, true);
    std::vector<fs::path> files = WaitForFiles(folder, 2, 15000);

    for (const fs::path& file : files) {
        int width = 0, height = 0;
        std::string size = BmpSize(file, width, height) ? std::to_string(width) + " x " + std::to_string(height)
                                                        : std::string("?");
        std::printf("%s  %s pixels  %llu bytes\n", file.string().c_str(), size.c_str(),
                    static_cast<unsigned long long>(fs::file_size(file)));
    }
    CloseProgram(window);
    return files.size() == 2 ? 0 : 1;
}
