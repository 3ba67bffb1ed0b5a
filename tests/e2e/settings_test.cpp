// The settings kept in the registry: what a start with no, partial or odd
// stored settings shows, and what the program stores when it ends, however
// it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

// The stored value names, sorted.
std::vector<std::wstring> SortedValueNames()
{
    std::vector<std::wstring> names = StoredValueNames();
    std::sort(names.begin(), names.end());
    return names;
}

// Ends the Windows session as signing out does: Wine's wineboot sends
// WM_QUERYENDSESSION and WM_ENDSESSION to the programs of the prefix.
::testing::AssertionResult EndTheSession()
{
    const ChildProcess wineboot(L"wineboot.exe", L"--end-session --shutdown");
    if (!wineboot.Started())
        return ::testing::AssertionFailure() << wineboot.StartError();
    DWORD exitCode = 0;
    if (!wineboot.WaitForExit(kPatience, exitCode))
        return ::testing::AssertionFailure() << "wineboot did not end the session";
    return ::testing::AssertionSuccess();
}

// Brings the main window forward, opens its window menu with Alt+Space and
// types the letter into it.
::testing::AssertionResult ChooseFromWindowMenu(const Snapquill& program, char letter)
{
    HWND main = program.MainWindow();
    if (!WaitUntil([&] {
            SetForegroundWindow(main);
            return GetForegroundWindow() == main;
        }))
        return ::testing::AssertionFailure() << "the window does not come forward";
    EXPECT_TRUE(Press({VK_MENU, VK_SPACE}));
    const bool menuShown = WaitUntil([&] {
        for (HWND window : TopLevelWindowsOf(program.Id()))
            if (ClassNameOf(window) == L"#32768" && IsWindowVisible(window))
                return true;
        return false;
    });
    if (!menuShown)
        return ::testing::AssertionFailure() << "Alt+Space opens no menu";
    PumpFor(200);
    PressKey(static_cast<WORD>(VkKeyScanW(static_cast<wchar_t>(letter)) & 0xFF));
    return ::testing::AssertionSuccess();
}

class SettingsStore : public ::testing::Test {
protected:
    CleanSettings clean_;
    ScratchFolder folder_;
};

} // namespace

// --- Reading and writing the stored settings ----------------------------------------

TEST_F(SettingsStore, DoubleClickOnTheControlBoxEndsTheProgramAndSavesTheSettings)
{
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    program.Click(L"Display Notification");
    HWND bar = program.TitleBar();
    ASSERT_NE(bar, nullptr);
    // The control box sits at (3, 1) of the title bar, 17 pixels square.
    PostMessageW(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(11, 9));
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(program.WaitForExit(kPatience, exitCode)) << "the double click did not end the program";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(StoresNumber(L"NotifyShots", 1));
}

TEST_F(SettingsStore, AltSpaceThenCEndsTheProgramAndSavesTheSettings)
{
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    program.Click(L"Display Notification");
    ASSERT_TRUE(ChooseFromWindowMenu(program, 'c'));
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(program.WaitForExit(kPatience, exitCode)) << "Close did not end the program";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(StoresNumber(L"NotifyShots", 1));
}

TEST_F(SettingsStore, AltSpaceThenNHidesTheWindowAndTheProgramRunsOn)
{
    Snapquill program(folder_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ChooseFromWindowMenu(program, 'n'));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "Minimize did not take the window away";
    EXPECT_TRUE(program.Running());
}

TEST_F(SettingsStore, TheEndOfTheSessionSavesTheSettings)
{
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    program.Click(L"Display Notification");
    program.SelectFormat(kPng);
    ASSERT_TRUE(EndTheSession());
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(program.WaitForExit(kPatience, exitCode)) << "the program outlived the session";
    EXPECT_TRUE(StoresNumber(L"NotifyShots", 1));
    EXPECT_TRUE(StoresNumber(L"FileFormat", kPng));
    EXPECT_TRUE(StoresString(L"DefaultPath", folder_.Text()));
}

TEST_F(SettingsStore, FirstStartShowsTheDefaultsAndStoresAllValues)
{
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(TextOf(program.PathEdit()), folder_.Text());
    EXPECT_EQ(Narrow(TextOf(program.PrefixEdit())), "shot");
    EXPECT_EQ(SelectedFormat(program), kBmp);
    EXPECT_TRUE(program.IsChecked(L"Include Taskbar"));
    EXPECT_FALSE(program.IsChecked(L"Display Notification"));
    EXPECT_TRUE(WaitForHeight(main, kShort)) << "the window is " << OuterHeight(main) << " high";
    EXPECT_EQ(TooltipCount(program), 7) << "one tooltip for each control";
    EXPECT_TRUE(SortedValueNames().empty()) << "settings were stored before the end";

    ASSERT_TRUE(CloseProgram(program));
    EXPECT_EQ(SortedValueNames(),
              (std::vector<std::wstring>{L"CaptureScreens", L"CopyToClipboard", L"DefaultPath", L"FileFormat",
                                         L"Filename", L"IncludeTask", L"JPG", L"NotifyShots", L"PNG"}));
    EXPECT_TRUE(StoresNumber(L"CaptureScreens", 0));
    EXPECT_TRUE(StoresNumber(L"CopyToClipboard", 0));
    EXPECT_TRUE(StoresString(L"DefaultPath", folder_.Text()));
    EXPECT_TRUE(StoresString(L"Filename", L"shot"));
    EXPECT_TRUE(StoresNumber(L"FileFormat", 0));
    EXPECT_TRUE(StoresNumber(L"PNG", 7));
    EXPECT_TRUE(StoresNumber(L"JPG", 90));
    EXPECT_TRUE(StoresNumber(L"IncludeTask", 1));
    EXPECT_TRUE(StoresNumber(L"NotifyShots", 0));
}

TEST_F(SettingsStore, WithoutAStoredFolderShotsGoToTheRootOfTheDrive)
{
    const std::wstring prefix = L"sqtest" + std::to_wstring(GetCurrentProcessId()) + L"_";
    const fs::path root = folder_.Path().root_path();
    const fs::path shot = root / (prefix + L"1.bmp");
    std::error_code ignored;
    fs::remove(shot, ignored);
    struct RemoveShot {
        fs::path file;
        ~RemoveShot()
        {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
    } removeShot{shot};

    StoredValues values = Defaults(folder_.Path());
    values.defaultPath.reset();
    values.filename = prefix;
    ASSERT_TRUE(StoreSettings(values));

    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(WaitUntilShown(program), nullptr);
    EXPECT_EQ(program.WaitForMessageBox(0), nullptr) << "an error box came up";
    EXPECT_EQ(Narrow(TextOf(program.PathEdit())), "");
    EXPECT_EQ(Narrow(TextOf(program.PrefixEdit())), Narrow(prefix));

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(shot)) << "no " << Narrow(shot.wstring()) << " was written";
    BmpInfo info;
    EXPECT_EQ(ReadBmpInfo(ReadFileBytes(shot), info), "");
    EXPECT_EQ(info.width, 1280);
    EXPECT_EQ(info.height, 800);
    EXPECT_EQ(folder_.Entries(), std::vector<std::wstring>{});

    ASSERT_TRUE(CloseProgram(program));
    EXPECT_TRUE(StoresString(L"DefaultPath", L""));
    EXPECT_TRUE(StoresString(L"Filename", prefix));
}

TEST_F(SettingsStore, AMissingQualityValueIsReportedAndTheValuesBeforeItApply)
{
    // Taskbar and notification are stored the other way round from their
    // defaults: reading stops before them.
    ASSERT_TRUE(StoreSettings({folder_.Text(), L"pic", kPng, 4, std::nullopt, 0, 1}));

    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(Narrow(TextOf(box)), "Snapquill");
    EXPECT_EQ(Narrow(MessageBoxText(box)), "Failed to get data for 'JPG'");
    ASSERT_TRUE(DismissMessageBox(box));

    HWND main = WaitUntilShown(program);
    ASSERT_NE(main, nullptr) << "the window did not come up after the error";
    EXPECT_EQ(TextOf(program.PathEdit()), folder_.Text());
    EXPECT_EQ(Narrow(TextOf(program.PrefixEdit())), "pic");
    EXPECT_EQ(SelectedFormat(program), kPng);
    EXPECT_TRUE(program.IsChecked(L"Include Taskbar"));
    EXPECT_FALSE(program.IsChecked(L"Display Notification"));

    // The slider and the window height were left as they come up, and no
    // tooltips were attached.
    EXPECT_TRUE(WaitForHeight(main, kTall)) << "the window is " << OuterHeight(main) << " high";
    PumpFor(500);
    EXPECT_EQ(OuterHeight(main), kTall);
    HWND slider = QualitySlider(program);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(SliderMinimum(slider), 1);
    EXPECT_EQ(SliderMaximum(slider), 3);
    EXPECT_EQ(SliderPosition(slider), 2);
    EXPECT_EQ(TooltipCount(program), 0);

    ASSERT_TRUE(CloseProgram(program));
    EXPECT_TRUE(StoresString(L"DefaultPath", folder_.Text()));
    EXPECT_TRUE(StoresString(L"Filename", L"pic"));
    EXPECT_TRUE(StoresNumber(L"FileFormat", kPng));
    EXPECT_TRUE(StoresNumber(L"PNG", 4));
    EXPECT_TRUE(StoresNumber(L"JPG", 90));
    EXPECT_TRUE(StoresNumber(L"IncludeTask", 1));
    EXPECT_TRUE(StoresNumber(L"NotifyShots", 0));
}

TEST_F(SettingsStore, AnUnknownFormatSelectsNothingAndShotsAreNotWritten)
{
    StoredValues values = Defaults(folder_.Path());
    values.fileFormat = 5;
    ASSERT_TRUE(StoreSettings(values));
    {
        Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
        ASSERT_TRUE(program.Started()) << program.StartError();
        HWND main = program.WaitUntilReady();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(SelectedFormat(program), -1);
        EXPECT_TRUE(WaitForHeight(main, kShort)) << "the window is " << OuterHeight(main) << " high";
        ASSERT_TRUE(CloseProgram(program));
        EXPECT_TRUE(StoresNumber(L"FileFormat", -1));
    }

    // The stored -1 comes back as no selection; shots are not written
    // until a format is picked.
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(SelectedFormat(program), -1);
    EXPECT_TRUE(WaitForHeight(main, kShort));
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    PumpFor(2000);
    EXPECT_EQ(folder_.Entries(), std::vector<std::wstring>{});

    program.SelectFormat(kBmp);
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(folder_.Path() / L"shot1.bmp")) << "PrintScreen wrote no file with BMP picked";
    EXPECT_EQ(folder_.Entries(), std::vector<std::wstring>{L"shot1.bmp"});
}

TEST_F(SettingsStore, AKeyOfTheSevenValuesOfAnEarlierVersionStartsWithoutAnError)
{
    ASSERT_TRUE(StoreSettings(Defaults(folder_.Path())));
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    EXPECT_EQ(program.WaitForMessageBox(1000), nullptr) << "an error box for the values the key lacks";

    ASSERT_TRUE(CloseProgram(program));
    EXPECT_TRUE(StoresNumber(L"CaptureScreens", 0));
    EXPECT_TRUE(StoresNumber(L"CopyToClipboard", 0));
}

TEST_F(SettingsStore, PngLevelZeroShowsAsOneAndIsStoredAsOne)
{
    StoredValues values = Defaults(folder_.Path());
    values.fileFormat = kPng;
    values.png = 0;
    ASSERT_TRUE(StoreSettings(values));

    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(SelectedFormat(program), kPng);
    EXPECT_TRUE(WaitForHeight(main, kTall));
    HWND slider = QualitySlider(program);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(SliderMaximum(slider), 9);
    EXPECT_EQ(SliderPosition(slider), 1);
    EXPECT_EQ(Narrow(TextOf(QualityLabel(program))), "PNG Compression: 1");

    ASSERT_TRUE(CloseProgram(program));
    EXPECT_TRUE(StoresNumber(L"PNG", 1));
    EXPECT_TRUE(StoresNumber(L"JPG", 90));
}
