#include "tests/e2e/Support.h"

#include <algorithm>
#include <cstdlib>

namespace e2e {

// --- Messages and waiting -------------------------------------------------

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - elapsed, 20), QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// --- Windows of other processes ---------------------------------------------

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return L"";
    text.resize(std::min<size_t>(copied, length));
    return text;
}

namespace {

bool SameClass(HWND window, const wchar_t* name)
{
    return _wcsicmp(ClassNameOf(window).c_str(), name) == 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    std::vector<HWND> all, mine;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            mine.push_back(window);
    }
    return mine;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r')
            out += "\\r";
        else if (c == L'\n')
            out += "\\n";
        else if (c < 0x80)
            out += static_cast<char>(c);
        else
            out += '?';
    }
    return out;
}

std::wstring MessageBoxText(HWND box)
{
    for (HWND child : ChildrenOf(box)) {
        if (!SameClass(child, L"Static"))
            continue;
        std::wstring text = TextOf(child);
        if (!text.empty())
            return text;
    }
    return L"";
}

bool DismissMessageBox(HWND box)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(box); });
}

// --- Files --------------------------------------------------------------------

ScratchFolder::ScratchFolder()
{
    static int counter = 0;
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    fs::path candidate;
    do {
        candidate = fs::path(temp) /
                    (L"snapquill-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    } while (fs::exists(candidate));
    fs::create_directories(candidate);
    // The folder as the system spells it, without short names.
    wchar_t full[MAX_PATH * 2] = L"";
    DWORD length = GetLongPathNameW(candidate.c_str(), full, MAX_PATH * 2);
    path_ = length > 0 && length < MAX_PATH * 2 ? fs::path(full) : candidate;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::wstring> ScratchFolder::Entries() const
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(path_, error))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

bool WaitForFile(const fs::path& file, DWORD timeoutMs)
{
    // The program creates the file without sharing: it opens for reading
    // only once the program has closed it.
    long long lastSize = -1;
    return WaitUntil(
        [&] {
            HANDLE opened = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            if (opened == INVALID_HANDLE_VALUE) {
                lastSize = -1;
                return false;
            }
            OwnedHandle handle(opened);
            LARGE_INTEGER size{};
            if (!GetFileSizeEx(handle.Get(), &size))
                return false;
            const bool stable = size.QuadPart == lastSize;
            lastSize = size.QuadPart;
            return stable;
        },
        timeoutMs);
}

// --- Keys -----------------------------------------------------------------------

namespace {

INPUT Key(WORD vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(const std::vector<INPUT>& inputs)
{
    std::vector<INPUT> copy = inputs;
    UINT sent = SendInput(static_cast<UINT>(copy.size()), copy.data(), sizeof(INPUT));
    EXPECT_EQ(sent, copy.size()) << "SendInput failed";
}

} // namespace

void PressPrintScreen()
{
    Send({Key(VK_SNAPSHOT, false), Key(VK_SNAPSHOT, true)});
}

void PressAltPrintScreen()
{
    Send({Key(VK_MENU, false), Key(VK_SNAPSHOT, false), Key(VK_SNAPSHOT, true), Key(VK_MENU, true)});
}

void PressAltF4()
{
    Send({Key(VK_MENU, false), Key(VK_F4, false), Key(VK_F4, true), Key(VK_MENU, true)});
}

void PressAltSpace()
{
    Send({Key(VK_MENU, false), Key(VK_SPACE, false), Key(VK_SPACE, true), Key(VK_MENU, true)});
}

void PressPrintScreenTwice()
{
    Send({Key(VK_SNAPSHOT, false), Key(VK_SNAPSHOT, true), Key(VK_SNAPSHOT, false), Key(VK_SNAPSHOT, true)});
}

// --- The program --------------------------------------------------------------

fs::path ProgramPath()
{
    wchar_t self[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    return fs::path(self).parent_path() / L"snapquill.exe";
}

void ForgetSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vorlane\\Snapquill");
}

Snapquill::Snapquill(const fs::path& folder, const std::wstring& arguments, StoredSettings settings)
    : settings_(settings)
{
    if (settings_ == StoredSettings::Forget)
        ForgetSettings();
    const fs::path program = ProgramPath();
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        startError_ = "cannot start " + Narrow(program.wstring()) + ": error " + std::to_string(GetLastError());
        return;
    }
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    id_ = info.dwProcessId;
}

Snapquill::~Snapquill()
{
    Close();
    if (settings_ == StoredSettings::Forget)
        ForgetSettings();
}

bool Snapquill::Running() const
{
    return Started() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

// The processor time the process has used, in milliseconds.
static uint64_t ProcessorTimeMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](FILETIME t) { return ((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

bool Snapquill::WaitUntilSettled() const
{
    PumpFor(kSettle);
    const DWORD start = GetTickCount();
    uint64_t before = ProcessorTimeMs(process_.Get());
    while (GetTickCount() - start < kPatience) {
        PumpFor(100);
        const uint64_t now = ProcessorTimeMs(process_.Get());
        if (now - before <= 20)
            return true;
        before = now;
    }
    return false;
}

HWND Snapquill::WaitUntilReady(bool shown, DWORD timeoutMs)
{
    if (!Started())
        return nullptr;
    const DWORD start = GetTickCount();
    HWND main = nullptr;
    bool ready = WaitUntil(
        [&] {
            if (!Running())
                return true;
            main = MainWindow();
            HWND path = PathEdit();
            return main && path && !TextOf(path).empty() && (!shown || IsWindowVisible(main));
        },
        timeoutMs);
    if (!ready || !Running())
        return nullptr;
    const DWORD elapsed = GetTickCount() - start;
    WaitForInputIdle(process_.Get(), elapsed < timeoutMs ? timeoutMs - elapsed : 0);
    return main;
}

HWND Snapquill::MainWindow() const
{
    for (HWND window : TopLevelWindowsOf(id_))
        if (SameClass(window, L"TSnapquillForm") && TextOf(window) == L"Snapquill")
            return window; // not one of its dialogs, which are forms too
    return nullptr;
}

HWND Snapquill::Child(const std::function<bool(HWND)>& match) const
{
    HWND main = MainWindow();
    if (!main)
        return nullptr;
    for (HWND child : ChildrenOf(main))
        if (match(child))
            return child;
    return nullptr;
}

HWND Snapquill::PathEdit() const
{
    return Child([](HWND child) {
        return SameClass(child, L"Edit") && (GetWindowLongW(child, GWL_STYLE) & ES_READONLY);
    });
}

HWND Snapquill::PrefixEdit() const
{
    return Child([](HWND child) {
        return SameClass(child, L"Edit") && !(GetWindowLongW(child, GWL_STYLE) & ES_READONLY);
    });
}

HWND Snapquill::FormatCombo() const
{
    return Child([](HWND child) { return SameClass(child, L"ComboBox"); });
}

HWND Snapquill::CheckBox(const std::wstring& caption) const
{
    return Child([&](HWND child) { return SameClass(child, L"TsuiCheckBox") && TextOf(child) == caption; });
}

bool Snapquill::ShowsAnyWindow() const
{
    for (HWND window : TopLevelWindowsOf(id_))
        if (IsWindowVisible(window))
            return true;
    return false;
}

void Snapquill::SetFolder(const std::wstring& folder) const
{
    HWND edit = PathEdit();
    ASSERT_NE(edit, nullptr) << "no images folder box";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    ASSERT_EQ(Narrow(TextOf(edit)), Narrow(folder));
}

void Snapquill::SelectFormat(int index) const
{
    HWND combo = FormatCombo();
    ASSERT_NE(combo, nullptr) << "no file format list";
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    // A user's choice also tells the window about the change.
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    ASSERT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), index);
}

HWND Snapquill::TitleBar() const
{
    return Child([](HWND child) { return SameClass(child, L"TsuiTitleBar"); });
}

void Snapquill::Click(const std::wstring& caption) const
{
    HWND box = CheckBox(caption);
    ASSERT_NE(box, nullptr) << "no check box \"" << Narrow(caption) << "\"";
    SendMessageW(box, BM_CLICK, 0, 0);
}

bool Snapquill::IsChecked(const std::wstring& caption) const
{
    HWND box = CheckBox(caption);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND Snapquill::WaitForMessageBox(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(id_))
                if (SameClass(window, L"#32770") && IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

bool Snapquill::WaitForExit(DWORD timeoutMs, DWORD& exitCode) const
{
    if (!Started())
        return false;
    if (!WaitUntil([&] { return !Running(); }, timeoutMs))
        return false;
    return GetExitCodeProcess(process_.Get(), &exitCode) != 0;
}

bool Snapquill::Close(DWORD& exitCode)
{
    if (!Started())
        return false;
    if (Running()) {
        if (HWND main = MainWindow())
            PostMessageW(main, WM_CLOSE, 0, 0);
    }
    if (WaitForExit(10000, exitCode))
        return true;
    TerminateProcess(process_.Get(), 0xDEAD);
    WaitForSingleObject(process_.Get(), 10000);
    return false;
}

bool Snapquill::Close()
{
    DWORD ignored = 0;
    return Close(ignored);
}

// --- Windows with a known picture ---------------------------------------------

const Rgb kTopLeft{0xE0, 0x20, 0x40};
const Rgb kTopRight{0x20, 0xB0, 0x50};
const Rgb kBottomRight{0xF0, 0xC8, 0x10};
const Rgb kBottomLeft{0x30, 0x50, 0xD0};

namespace {

const wchar_t kPatternClass[] = L"SnapquillE2EPattern";

COLORREF ColourRef(Rgb c)
{
    return RGB(c.r, c.g, c.b);
}

Rgb FromColourRef(COLORREF c)
{
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        const int w = client.right / 2, h = client.bottom / 2;
        const struct {
            RECT rect;
            Rgb colour;
        } quadrants[] = {
            {{0, 0, w, h}, kTopLeft},
            {{w, 0, client.right, h}, kTopRight},
            {{w, h, client.right, client.bottom}, kBottomRight},
            {{0, h, w, client.bottom}, kBottomLeft},
        };
        for (const auto& q : quadrants) {
            HBRUSH brush = CreateSolidBrush(ColourRef(q.colour));
            FillRect(dc, &q.rect, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_SYSCOMMAND:
        // A lone Alt press and release would open the window menu and hold
        // the test in its loop.
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterPatternClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kPatternClass;
    registered = RegisterClassW(&wc) != 0;
}

// Points of a quadrant [left, right) x [top, bottom) to probe.
std::vector<POINT> Probes(int left, int top, int right, int bottom, bool exact)
{
    const int cx = (left + right) / 2, cy = (top + bottom) / 2;
    const int dx = (right - left) / 6, dy = (bottom - top) / 6;
    std::vector<POINT> points{{cx, cy}, {cx - dx, cy - dy}, {cx + dx, cy - dy}, {cx - dx, cy + dy}, {cx + dx, cy + dy}};
    if (exact) {
        points.push_back({left, top});
        points.push_back({right - 1, top});
        points.push_back({left, bottom - 1});
        points.push_back({right - 1, bottom - 1});
    }
    return points;
}

bool Near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

} // namespace

PatternWindow::PatternWindow(POINT position, SIZE client, DWORD style, DWORD exStyle) : client_(client)
{
    RegisterPatternClass();
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    handle_ = CreateWindowExW(exStyle, kPatternClass, L"Snapquill test pattern", style, position.x, position.y,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!handle_)
        return;
    // A framed window may come out wider than asked (its title bar has a
    // minimum width); the pattern fills the client area it got.
    RECT got{};
    GetClientRect(handle_, &got);
    client_ = {got.right, got.bottom};
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
    UpdateWindow(handle_);
    PumpMessages();
}

PatternWindow::~PatternWindow()
{
    if (handle_)
        DestroyWindow(handle_);
    PumpMessages();
}

RECT PatternWindow::WindowRect() const
{
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return rect;
}

POINT PatternWindow::ClientOrigin() const
{
    POINT origin{0, 0};
    ClientToScreen(handle_, &origin);
    return origin;
}

bool PatternWindow::WaitUntilOnScreen(DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            POINT origin = ClientOrigin();
            const int w = client_.cx, h = client_.cy;
            const struct {
                int x, y;
                Rgb colour;
            } points[] = {
                {w / 4, h / 4, kTopLeft},
                {3 * w / 4, h / 4, kTopRight},
                {3 * w / 4, 3 * h / 4, kBottomRight},
                {w / 4, 3 * h / 4, kBottomLeft},
                {0, 0, kTopLeft},
                {w - 1, h - 1, kBottomRight},
            };
            HDC screen = GetDC(nullptr);
            bool all = true;
            for (const auto& p : points)
                all = all && FromColourRef(GetPixel(screen, origin.x + p.x, origin.y + p.y)) == p.colour;
            ReleaseDC(nullptr, screen);
            return all;
        },
        timeoutMs);
}

bool PatternWindow::MakeForeground(DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == handle_)
                return true;
            SetForegroundWindow(handle_);
            return false;
        },
        timeoutMs);
}

::testing::AssertionResult ShowsPattern(const Image& image, POINT at, SIZE client, bool exact, int tolerance)
{
    const int w = client.cx / 2, h = client.cy / 2;
    const struct {
        RECT rect;
        Rgb colour;
        const char* name;
    } quadrants[] = {
        {{0, 0, w, h}, kTopLeft, "top left"},
        {{w, 0, static_cast<LONG>(client.cx), h}, kTopRight, "top right"},
        {{w, h, static_cast<LONG>(client.cx), static_cast<LONG>(client.cy)}, kBottomRight, "bottom right"},
        {{0, h, w, static_cast<LONG>(client.cy)}, kBottomLeft, "bottom left"},
    };
    for (const auto& q : quadrants)
        for (POINT p : Probes(q.rect.left, q.rect.top, q.rect.right, q.rect.bottom, exact)) {
            const int x = at.x + p.x, y = at.y + p.y;
            if (!image.Contains(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") of the " << q.name
                                                     << " quadrant lies outside the " << image.width << "x"
                                                     << image.height << " picture";
            const Rgb got = image.At(x, y);
            if (!Near(got, q.colour, tolerance))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") of the " << q.name
                                                     << " quadrant is " << ToString(got) << ", expected "
                                                     << ToString(q.colour);
        }
    if (exact) {
        // Just outside each edge the colour next to it must stop.
        const struct {
            int x, y;
            Rgb colour;
        } outside[] = {
            {-1, 0, kTopLeft},
            {0, -1, kTopLeft},
            {static_cast<int>(client.cx), 0, kTopRight},
            {static_cast<int>(client.cx) - 1, -1, kTopRight},
            {static_cast<int>(client.cx), static_cast<int>(client.cy) - 1, kBottomRight},
            {static_cast<int>(client.cx) - 1, static_cast<int>(client.cy), kBottomRight},
            {-1, static_cast<int>(client.cy) - 1, kBottomLeft},
            {0, static_cast<int>(client.cy), kBottomLeft},
        };
        for (const auto& o : outside) {
            const int x = at.x + o.x, y = at.y + o.y;
            if (image.Contains(x, y) && image.At(x, y) == o.colour)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y
                                                     << ") outside the pattern still shows " << ToString(o.colour)
                                                     << ": the pattern is misplaced or too large";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace e2e
