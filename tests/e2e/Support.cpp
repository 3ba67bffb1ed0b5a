#include "tests/e2e/Support.h"

#include "kit/Colours.h"

#include <algorithm>
#include <cstdlib>

namespace e2e {

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

RECT PlaceInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
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

// --- The program --------------------------------------------------------------

fs::path ProgramPath()
{
    return BesideThisProgram(L"snapquill.exe");
}

void ForgetSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vorlane\\Snapquill");
}

// The settings are forgotten, when asked, before the process starts.
static StoredSettings Prepared(StoredSettings settings)
{
    if (settings == StoredSettings::Forget)
        ForgetSettings();
    return settings;
}

Snapquill::Snapquill(const fs::path& folder, const std::wstring& arguments, StoredSettings settings)
    : settings_(Prepared(settings)), process_(ProgramPath(), arguments, folder)
{
}

Snapquill::~Snapquill()
{
    Close();
    if (settings_ == StoredSettings::Forget)
        ForgetSettings();
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
    uint64_t before = ProcessorTimeMs(process_.Handle());
    while (GetTickCount() - start < kPatience) {
        PumpFor(100);
        const uint64_t now = ProcessorTimeMs(process_.Handle());
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
    WaitForInputIdle(process_.Handle(), elapsed < timeoutMs ? timeoutMs - elapsed : 0);
    return main;
}

HWND Snapquill::MainWindow() const
{
    for (HWND window : TopLevelWindowsOf(Id()))
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
    for (HWND window : TopLevelWindowsOf(Id()))
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
            for (HWND window : TopLevelWindowsOf(Id()))
                if (SameClass(window, L"#32770") && IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
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
    process_.Terminate(0xDEAD);
    return false;
}

bool Snapquill::Close()
{
    DWORD ignored = 0;
    return Close(ignored);
}

HWND OpenMenuOf(const Snapquill& program)
{
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (ClassNameOf(window) == L"#32768" && IsWindowVisible(window))
            return window;
    return nullptr;
}

HWND AboutBoxOf(const Snapquill& program)
{
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (IsWindowVisible(window) && TextOf(window) == L"About...")
            return window;
    return nullptr;
}

// --- Windows with a known picture ---------------------------------------------

static Rgb FromColourRef(COLORREF c)
{
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

const Rgb kTopLeft = FromColourRef(kPatternColours.topLeft);
const Rgb kTopRight = FromColourRef(kPatternColours.topRight);
const Rgb kBottomRight = FromColourRef(kPatternColours.bottomRight);
const Rgb kBottomLeft = FromColourRef(kPatternColours.bottomLeft);

namespace {

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

} // namespace

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
            if (!ChannelsNear(got.Packed(), q.colour.Packed(), tolerance))
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
