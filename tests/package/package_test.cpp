// The installer as a user runs it: a silent install for the current user,
// the installed program taking a shot, and a silent uninstall that closes
// the running program, removes what the install made and leaves the
// program's settings alone.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Snapquill";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kSettingsKey[] = L"Software\\Vorlane\\Snapquill";
const wchar_t kMarker[] = L"PackageTestMarker";
const DWORD kInstallerPatience = 90000;

fs::path KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    fs::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

fs::path InstallFolder()
{
    return KnownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Snapquill";
}

fs::path Shortcut()
{
    return KnownFolder(FOLDERID_Programs) / L"Snapquill.lnk";
}

fs::path SetupProgram()
{
    wchar_t self[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    return fs::path(self).parent_path() / L"dist" / (std::wstring(L"Snapquill-") + SNAPQUILL_VERSION_TEXT + L"-setup.exe");
}

bool ReadString(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& value)
{
    wchar_t buffer[1024] = L"";
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

bool KeyExists(const wchar_t* key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

// Runs a program with arguments and waits for it; false if it did not end.
bool RunAndWait(const fs::path& program, const std::wstring& arguments, DWORD& exitCode)
{
    return ChildProcess(program, arguments).WaitForExit(kInstallerPatience, exitCode);
}

// The target of a shell link, read through the shell.
std::wstring ShortcutTarget(const fs::path& link)
{
    std::wstring target;
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = L"";
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

std::wstring ProductVersionOf(const fs::path& exe)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0)
        return L"";
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data()))
        return L"";
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", reinterpret_cast<void**>(&text),
                        &length) ||
        length == 0)
        return L"";
    return std::wstring(text, wcsnlen(text, length));
}

// The pixel sizes of the MAINICON group in the exe, as the loader sees them.
std::vector<int> IconSizesOf(const fs::path& exe)
{
    std::vector<int> sizes;
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return sizes;
    if (HRSRC found = FindResourceW(module, L"MAINICON", RT_GROUP_ICON)) {
        const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        const WORD count = group ? *reinterpret_cast<const WORD*>(group + 4) : 0;
        for (WORD i = 0; i < count; ++i) {
            const BYTE width = group[6 + 14 * i];
            sizes.push_back(width == 0 ? 256 : width);
        }
    }
    FreeLibrary(module);
    return sizes;
}

// The installed program, started in a folder of its own.
class InstalledProgram {
public:
    InstalledProgram(const fs::path& exe, const fs::path& folder) : process_(exe, L"", folder) {}

    bool Running() const { return process_.Running(); }
    HANDLE Process() const { return process_.Handle(); }

    std::string Describe() const
    {
        std::string text = Running() ? "running;" : "ended;";
        for (HWND window : TopLevelWindowsOf(process_.Id()))
            if (IsWindowVisible(window))
                text += " " + Narrow(ClassNameOf(window)) + " \"" + Narrow(TextOf(window)) + "\" " +
                        Narrow(MessageBoxText(window));
        return text;
    }

    bool WaitUntilShown() const
    {
        return WaitUntil([&] {
            for (HWND window : TopLevelWindowsOf(process_.Id()))
                if (ClassNameOf(window) == L"TSnapquillForm" && IsWindowVisible(window))
                    return true;
            return false;
        }) && WaitForInputIdle(process_.Handle(), kPatience) == 0;
    }

private:
    ChildProcess process_;
};

class Package : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(fs::exists(SetupProgram())) << Narrow(SetupProgram().wstring());
        // Whatever an earlier run left behind.
        std::error_code ignored;
        fs::remove_all(InstallFolder(), ignored);
        fs::remove(Shortcut(), ignored);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        ForgetSettings();
    }

    void TearDown() override
    {
        ForgetSettings();
        CoUninitialize();
    }
};

TEST_F(Package, InstallsRunsAndUninstallsSilently)
{
    DWORD exitCode = 1;
    ASSERT_TRUE(RunAndWait(SetupProgram(), L"/S", exitCode)) << "the installer did not end";
    ASSERT_EQ(exitCode, 0u);

    const fs::path folder = InstallFolder();
    const fs::path exe = folder / L"snapquill.exe";
    for (const wchar_t* name : {L"snapquill.exe", L"README.txt", L"LICENSE.txt", L"THIRD-PARTY-NOTICES.txt",
                                L"uninstall.exe"})
        EXPECT_TRUE(fs::exists(folder / name)) << Narrow(name) << " is not installed";
    EXPECT_EQ(ProductVersionOf(exe), SNAPQUILL_VERSION_TEXT);
    EXPECT_EQ(IconSizesOf(exe), (std::vector<int>{16, 20, 24, 32, 40, 48, 256}));

    ASSERT_TRUE(fs::exists(Shortcut())) << "no Start-menu shortcut";
    EXPECT_EQ(_wcsicmp(ShortcutTarget(Shortcut()).c_str(), exe.c_str()), 0) << Narrow(ShortcutTarget(Shortcut()));

    std::wstring value;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName", value) && value == L"Snapquill");
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion", value) &&
                value == SNAPQUILL_VERSION_TEXT);
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"Publisher", value) && !value.empty());
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayIcon", value) &&
                _wcsnicmp(value.c_str(), exe.c_str(), exe.wstring().size()) == 0)
        << Narrow(value);
    std::wstring uninstall;
    ASSERT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString", uninstall));
    EXPECT_EQ(_wcsicmp(uninstall.c_str(), (L"\"" + (folder / L"uninstall.exe").wstring() + L"\"").c_str()), 0)
        << Narrow(uninstall);
    DWORD size = 0, sizeBytes = sizeof size;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &size,
                           &sizeBytes),
              static_cast<LONG>(ERROR_SUCCESS));
    EXPECT_GT(size, 100u) << "KB";
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, kRunKey, L"Snapquill", value)) << "starts at sign-in unasked";

    // The installed program takes a shot.
    ScratchFolder shots;
    InstalledProgram program(exe, shots.Path());
    ASSERT_TRUE(program.WaitUntilShown()) << "the installed program did not come up: " << program.Describe();
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(shots.Path() / L"shot1.bmp")) << "no shot from the installed program";

    // A value in the settings key, which the program has read by now.
    HKEY settings = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &settings, nullptr),
              static_cast<LONG>(ERROR_SUCCESS));
    RegSetValueExW(settings, kMarker, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"kept"), sizeof L"kept");
    RegCloseKey(settings);

    // The uninstaller closes it, then removes what the install made.
    ASSERT_TRUE(RunAndWait(folder / L"uninstall.exe", L"/S", exitCode)) << "the uninstaller did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUntil([&] { return !program.Running(); }, kInstallerPatience)) << "the program was not closed";
    // The uninstaller runs on from a copy of itself: wait for its work.
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(folder) && !KeyExists(kUninstallKey); }, kInstallerPatience))
        << "the install folder or the uninstall entry is left";
    EXPECT_FALSE(fs::exists(Shortcut())) << "the Start-menu shortcut is left";
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kSettingsKey, kMarker, value) && value == L"kept")
        << "the settings key was touched";
}

// The program as it ships (the copy the packages are made from) stays
// small enough to download and start at once, whatever picture sets it
// carries.
TEST(PackageSize, TheShippedProgramIsUnderTwoMegabytes)
{
    wchar_t self[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    const fs::path shipped = fs::path(self).parent_path() / L"dist" / L"stage" / L"snapquill.exe";
    std::error_code error;
    const uintmax_t size = fs::file_size(shipped, error);
    ASSERT_FALSE(error) << Narrow(shipped.wstring()) << " is not there";
    EXPECT_GT(size, 500u * 1024) << "the program, not a stub";
    EXPECT_LT(size, 2u * 1024 * 1024) << "bytes";
}

} // namespace
