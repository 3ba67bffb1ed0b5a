#include "tests/e2e/SettingsSupport.h"

#include <commctrl.h>
#include <shlobj.h>

namespace e2e {

// --- Stored settings ------------------------------------------------------------

const wchar_t kSettingsKey[] = L"Software\\Vorlane\\Snapquill";

namespace {

// A registry key, closed on destruction.
class Key {
public:
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::string Hex(const std::vector<BYTE>& data)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (BYTE b : data) {
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string TypeName(DWORD type)
{
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_BINARY:
        return "REG_BINARY";
    default:
        return "type " + std::to_string(type);
    }
}

} // namespace

::testing::AssertionResult StoreSettings(const StoredValues& values)
{
    ForgetSettings();
    Key key;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, key.Out(), nullptr);
    if (result != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "cannot create the settings key: error " << result;
    auto text = [&](const wchar_t* name, const std::optional<std::wstring>& value) {
        if (!value)
            return ERROR_SUCCESS;
        return RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                              static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    };
    auto number = [&](const wchar_t* name, const std::optional<DWORD>& value) {
        if (!value)
            return ERROR_SUCCESS;
        return RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof(DWORD));
    };
    const LONG results[] = {
        text(L"DefaultPath", values.defaultPath), text(L"Filename", values.filename),
        number(L"FileFormat", values.fileFormat), number(L"PNG", values.png),
        number(L"JPG", values.jpg),             number(L"IncludeTask", values.includeTask),
        number(L"NotifyShots", values.notifyShots),
    };
    for (LONG r : results)
        if (r != ERROR_SUCCESS)
            return ::testing::AssertionFailure() << "cannot write a settings value: error " << r;
    return ::testing::AssertionSuccess();
}

int SelectedFormat(const Snapquill& program)
{
    return static_cast<int>(SendMessageW(program.FormatCombo(), CB_GETCURSEL, 0, 0));
}

StoredValues Defaults(const fs::path& folder)
{
    return {folder.wstring(), L"shot", kBmp, 7, 90, 1, 0};
}

::testing::AssertionResult CloseProgram(Snapquill& program)
{
    DWORD exitCode = 0xFFFFFFFF;
    if (!program.Close(exitCode))
        return ::testing::AssertionFailure() << "the program did not end when its window was closed";
    if (exitCode != 0)
        return ::testing::AssertionFailure() << "the program ended with exit code " << exitCode;
    return ::testing::AssertionSuccess();
}

std::optional<RegistryValue> ReadStoredValue(const std::wstring& name)
{
    Key key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

std::vector<std::wstring> StoredValueNames()
{
    std::vector<std::wstring> names;
    Key key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

::testing::AssertionResult StoresString(const std::wstring& name, const std::wstring& expected)
{
    std::optional<RegistryValue> value = ReadStoredValue(name);
    if (!value)
        return ::testing::AssertionFailure() << "no value " << Narrow(name) << " is stored";
    if (value->type != REG_SZ)
        return ::testing::AssertionFailure() << Narrow(name) << " is stored as " << TypeName(value->type)
                                             << ", not REG_SZ";
    std::vector<BYTE> wanted(reinterpret_cast<const BYTE*>(expected.c_str()),
                             reinterpret_cast<const BYTE*>(expected.c_str() + expected.size() + 1));
    if (value->data != wanted)
        return ::testing::AssertionFailure() << Narrow(name) << " holds the bytes " << Hex(value->data)
                                             << ", expected \"" << Narrow(expected) << "\" with its zero: "
                                             << Hex(wanted);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult StoresNumber(const std::wstring& name, int32_t expected)
{
    std::optional<RegistryValue> value = ReadStoredValue(name);
    if (!value)
        return ::testing::AssertionFailure() << "no value " << Narrow(name) << " is stored";
    if (value->type != REG_DWORD)
        return ::testing::AssertionFailure() << Narrow(name) << " is stored as " << TypeName(value->type)
                                             << ", not REG_DWORD";
    if (value->data.size() != 4)
        return ::testing::AssertionFailure() << Narrow(name) << " holds " << value->data.size()
                                             << " bytes, not 4";
    int32_t got = static_cast<int32_t>(value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) |
                                       (uint32_t(value->data[3]) << 24));
    if (got != expected)
        return ::testing::AssertionFailure() << Narrow(name) << " holds " << got << ", expected " << expected;
    return ::testing::AssertionSuccess();
}

// --- The panel ------------------------------------------------------------------

namespace {

bool IsClass(HWND window, const wchar_t* name)
{
    return _wcsicmp(ClassNameOf(window).c_str(), name) == 0;
}


} // namespace

HWND WaitUntilShown(Snapquill& program, DWORD timeoutMs)
{
    if (!program.Started())
        return nullptr;
    const DWORD start = GetTickCount();
    HWND main = nullptr;
    const bool shown = WaitUntil(
        [&] {
            if (!program.Running())
                return true;
            main = program.MainWindow();
            return main && IsWindowVisible(main);
        },
        timeoutMs);
    if (!shown || !program.Running())
        return nullptr;
    const DWORD elapsed = GetTickCount() - start;
    WaitForInputIdle(program.Process(), elapsed < timeoutMs ? timeoutMs - elapsed : 0);
    return main;
}

HWND QualitySlider(const Snapquill& program)
{
    return program.Child([](HWND child) { return IsClass(child, L"TsuiTrackBar"); });
}

HWND QualityLabel(const Snapquill& program)
{
    // The caption sits right above the slider, at the left edge.
    HWND slider = QualitySlider(program);
    if (!slider)
        return nullptr;
    const RECT below = PlaceInParent(slider);
    return program.Child([&](HWND child) {
        if (!IsClass(child, L"TLabel"))
            return false;
        const RECT rect = PlaceInParent(child);
        return rect.left == below.left && rect.bottom <= below.top + 4 && rect.bottom >= below.top - 8;
    });
}

HWND BrowseButton(const Snapquill& program)
{
    return program.Child([](HWND child) { return IsClass(child, L"TsuiButton") && TextOf(child) == L"..."; });
}

int SliderPosition(HWND slider)
{
    return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

int SliderMaximum(HWND slider)
{
    return static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
}

int SliderMinimum(HWND slider)
{
    return static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
}

void MoveSlider(const Snapquill& program, int position)
{
    HWND slider = QualitySlider(program);
    ASSERT_NE(slider, nullptr) << "no quality slider";
    // With the keys, as a user would: Home, then Right a step at a time.
    auto press = [slider](WPARAM key) {
        SendMessageW(slider, WM_KEYDOWN, key, 1);
        SendMessageW(slider, WM_KEYUP, key, 0xC0000001);
    };
    press(VK_HOME);
    for (int steps = position - SliderMinimum(slider); steps > 0; --steps)
        press(VK_RIGHT);
    ASSERT_EQ(SliderPosition(slider), position);
}

int OuterHeight(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

bool WaitForHeight(HWND window, int height, DWORD timeoutMs)
{
    if (!WaitUntil([&] { return OuterHeight(window) == height; }, timeoutMs))
        return false;
    PumpFor(300);
    return OuterHeight(window) == height;
}

void TypePrefix(const Snapquill& program, const std::wstring& prefix)
{
    HWND edit = program.PrefixEdit();
    ASSERT_NE(edit, nullptr) << "no file name box";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(prefix.c_str()));
    ASSERT_EQ(Narrow(TextOf(edit)), Narrow(prefix));
}

int TooltipCount(const Snapquill& program)
{
    int count = 0;
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (IsClass(window, TOOLTIPS_CLASSW))
            ++count;
    return count;
}

namespace {

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The window's rectangle in the main window's client coordinates.
RECT PlaceInMain(HWND main, HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string NameOf(HWND main, HWND control)
{
    return Narrow(ClassNameOf(control)) + " \"" + Narrow(TextOf(control)) + "\" at " +
           Describe(PlaceInMain(main, control));
}

} // namespace

::testing::AssertionResult ControlsShowInsideAndApart(const Snapquill& program)
{
    HWND main = program.MainWindow(), panel = program.PathEdit() ? GetParent(program.PathEdit()) : nullptr;
    if (!main || !panel)
        return ::testing::AssertionFailure() << "the main window shows no panel";
    RECT client{};
    GetClientRect(main, &client);
    std::vector<HWND> controls;
    for (HWND child : ChildrenOf(panel))
        if (GetParent(child) == panel)
            controls.push_back(child);
    if (controls.empty())
        return ::testing::AssertionFailure() << "the panel holds no controls";
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT r = PlaceInMain(main, controls[i]);
        if (!IsWindowVisible(controls[i]) || IsRectEmpty(&r))
            return ::testing::AssertionFailure() << NameOf(main, controls[i]) << " does not show";
        RECT inside{};
        IntersectRect(&inside, &r, &client);
        if (!EqualRect(&inside, &r))
            return ::testing::AssertionFailure() << NameOf(main, controls[i]) << " reaches out of the client area "
                                                 << Describe(client);
        for (size_t j = 0; j < i; ++j) {
            const RECT other = PlaceInMain(main, controls[j]);
            RECT both{};
            if (IntersectRect(&both, &r, &other))
                return ::testing::AssertionFailure() << NameOf(main, controls[i]) << " overlaps "
                                                     << NameOf(main, controls[j]);
        }
    }
    return ::testing::AssertionSuccess() << controls.size() << " controls";
}

// --- Folder picker ----------------------------------------------------------------

const wchar_t kPickerTitle[] = L"Select a folder to save your image files.";

namespace {

// The folder tree of a picker dialog, or null for other windows.
HWND PickerTree(HWND dialog)
{
    if (!IsClass(dialog, L"#32770"))
        return nullptr;
    for (HWND child : ChildrenOf(dialog))
        if (IsClass(child, WC_TREEVIEWW))
            return child;
    return nullptr;
}

} // namespace

HWND OpenFolderPicker(const Snapquill& program, DWORD timeoutMs)
{
    HWND button = BrowseButton(program);
    if (!button)
        return nullptr;
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(program.Id()))
                if (IsWindowVisible(window) && PickerTree(window)) {
                    dialog = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return dialog;
}

std::vector<std::wstring> StaticTextsOf(HWND dialog)
{
    std::vector<std::wstring> texts;
    for (HWND child : ChildrenOf(dialog))
        if (IsClass(child, L"Static"))
            texts.push_back(TextOf(child));
    return texts;
}

namespace {

// Memory in the program's address space, given back on destruction.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T bytes)
        : process_(process), address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteBlock()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    void* Get() const { return address_; }
    bool Write(const void* data, SIZE_T bytes) const
    {
        SIZE_T written = 0;
        return WriteProcessMemory(process_, address_, data, bytes, &written) && written == bytes;
    }
    bool Read(void* data, SIZE_T bytes) const
    {
        SIZE_T read = 0;
        return ReadProcessMemory(process_, address_, data, bytes, &read) && read == bytes;
    }

private:
    HANDLE process_;
    void* address_;
};

} // namespace

std::wstring SelectedPickerItem(const Snapquill& program, HWND dialog)
{
    HWND tree = PickerTree(dialog);
    if (!tree)
        return L"";
    auto* item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return L"";
    struct Query {
        TVITEMW item;
        wchar_t text[MAX_PATH];
    };
    RemoteBlock remote(program.Process(), sizeof(Query));
    if (!remote.Get())
        return L"";
    Query query{};
    query.item.mask = TVIF_TEXT;
    query.item.hItem = item;
    query.item.pszText = static_cast<Query*>(remote.Get())->text;
    query.item.cchTextMax = MAX_PATH;
    if (!remote.Write(&query, sizeof query) ||
        !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Get())) ||
        !remote.Read(&query, sizeof query))
        return L"";
    query.text[MAX_PATH - 1] = L'\0';
    return query.text;
}

::testing::AssertionResult SelectInPicker(const Snapquill& program, HWND dialog, const std::wstring& folder)
{
    // The dialog reads the path from its own memory.
    const SIZE_T bytes = (folder.size() + 1) * sizeof(wchar_t);
    RemoteBlock remote(program.Process(), bytes);
    if (!remote.Get())
        return ::testing::AssertionFailure() << "cannot reserve memory in the program: error " << GetLastError();
    if (!remote.Write(folder.c_str(), bytes))
        return ::testing::AssertionFailure() << "cannot write into the program: error " << GetLastError();
    // The tree fills itself while the dialog comes up; a selection asked
    // for before then goes nowhere, so it is asked for again until the
    // folder shows as selected, as a user clicks again.
    const std::wstring name = fs::path(folder).filename().wstring();
    const bool selected = WaitUntil([&] {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote.Get()), SMTO_NORMAL,
                            kPatience, &ignored);
        return SelectedPickerItem(program, dialog) == name;
    });
    if (!selected)
        return ::testing::AssertionFailure() << "the picker does not show " << Narrow(folder) << " as selected but \""
                                             << Narrow(SelectedPickerItem(program, dialog)) << "\"";
    return ::testing::AssertionSuccess();
}

bool PressPickerButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return WaitUntil([&] { return !IsWindow(dialog); });
}

::testing::AssertionResult ChooseFolder(const Snapquill& program, const std::wstring& folder)
{
    HWND dialog = OpenFolderPicker(program);
    if (!dialog)
        return ::testing::AssertionFailure() << "the browse button opened no folder picker";
    ::testing::AssertionResult selected = SelectInPicker(program, dialog, folder);
    if (!selected) {
        PressPickerButton(dialog, IDCANCEL);
        return selected;
    }
    if (!PressPickerButton(dialog, IDOK))
        return ::testing::AssertionFailure() << "the folder picker did not close on OK";
    return ::testing::AssertionSuccess();
}

// --- Hints ----------------------------------------------------------------------------

namespace {

// A visible window of this class of the program.
HWND VisibleWindowOf(const Snapquill& program, const wchar_t* className)
{
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (IsClass(window, className) && IsWindowVisible(window))
            return window;
    return nullptr;
}

// The text of the program's window of this class once one shows.
std::optional<std::wstring> TextOnceShown(const Snapquill& program, const wchar_t* className, DWORD timeoutMs)
{
    HWND shown = nullptr;
    WaitUntil(
        [&] {
            shown = VisibleWindowOf(program, className);
            return shown != nullptr;
        },
        timeoutMs);
    if (!shown)
        return std::nullopt;
    return TextOf(shown);
}

void PlaceMouse(POINT at)
{
    SetCursorPos(at.x, at.y);
}

} // namespace

void MoveMouseAway()
{
    PlaceMouse({1100, 400});
    PumpFor(50);
}

std::optional<std::wstring> HintOver(const Snapquill& program, HWND control, DWORD timeoutMs)
{
    // First onto a bare part of the main window, which takes down a hint
    // shown before; then onto the control.
    HWND main = program.MainWindow();
    if (!main || !control)
        return std::nullopt;
    POINT bare{150, 70};
    ClientToScreen(main, &bare);
    PlaceMouse(bare);
    PumpFor(100);
    WaitUntil([&] { return VisibleWindowOf(program, L"THintWindow") == nullptr; }, 2000);
    PlaceMouse(CentreOf(control));
    return TextOnceShown(program, L"THintWindow", timeoutMs);
}

std::optional<std::wstring> TooltipOver(const Snapquill& program, HWND control, DWORD timeoutMs)
{
    if (!control)
        return std::nullopt;
    // Off the program's windows first, which takes down a tip shown before.
    MoveMouseAway();
    WaitUntil([&] { return VisibleWindowOf(program, TOOLTIPS_CLASSW) == nullptr; }, 3000);
    // Two moves inside the control, as a hand that comes to rest there.
    const POINT centre = CentreOf(control);
    MovePointer({centre.x - 2, centre.y});
    PumpFor(50);
    MovePointer(centre);
    return TextOnceShown(program, TOOLTIPS_CLASSW, timeoutMs);
}

} // namespace e2e
