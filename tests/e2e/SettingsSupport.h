// What the tests of the settings panel, its stored settings and the folder
// picker share: the program's registry key as the test writes and reads it,
// the panel's quality slider and window height, the folder picker dialog
// and the hint of the folder field.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Support.h"

namespace e2e {

// --- Stored settings ------------------------------------------------------------

// The key under HKEY_CURRENT_USER where the program keeps its settings.
extern const wchar_t kSettingsKey[];

// Settings as the test stores them before a start: values left empty are
// not written at all.
struct StoredValues {
    std::optional<std::wstring> defaultPath;
    std::optional<std::wstring> filename;
    std::optional<DWORD> fileFormat;
    std::optional<DWORD> png;
    std::optional<DWORD> jpg;
    std::optional<DWORD> includeTask;
    std::optional<DWORD> notifyShots;
};

// Replaces the key with one that holds exactly the given values.
::testing::AssertionResult StoreSettings(const StoredValues& values);

// The window's outer heights with and without the slider row.
constexpr int kTall = 230;
constexpr int kShort = 190;

// The format list's entries.
enum Format { kBmp = 0, kJpg = 1, kPng = 2 };
int SelectedFormat(const Snapquill& program);

// The settings as the program writes them on a first start in this folder.
StoredValues Defaults(const fs::path& folder);

// Ends the program as closing its window does, which stores the settings.
::testing::AssertionResult CloseProgram(Snapquill& program);

// One value of the key as the program left it.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
std::optional<RegistryValue> ReadStoredValue(const std::wstring& name);
// The names of all values of the key, in the order the registry lists them.
std::vector<std::wstring> StoredValueNames();

// The value is a REG_SZ holding the text with its terminating zero.
::testing::AssertionResult StoresString(const std::wstring& name, const std::wstring& expected);
// The value is a REG_DWORD holding the number.
::testing::AssertionResult StoresNumber(const std::wstring& name, int32_t expected);

// Removes the key on construction and again on destruction, so that a test
// neither sees the settings of an earlier one nor leaves its own behind.
class CleanSettings {
public:
    CleanSettings() { ForgetSettings(); }
    ~CleanSettings() { ForgetSettings(); }
    CleanSettings(const CleanSettings&) = delete;
    CleanSettings& operator=(const CleanSettings&) = delete;
};

// --- The panel ------------------------------------------------------------------

// Waits until the main window is on screen and the program waits for
// input, whatever the folder field holds. Returns the main window or null.
HWND WaitUntilShown(Snapquill& program, DWORD timeoutMs = kPatience);

HWND QualitySlider(const Snapquill& program);
HWND QualityLabel(const Snapquill& program); // the caption above the slider
HWND BrowseButton(const Snapquill& program);

int SliderPosition(HWND slider);
int SliderMaximum(HWND slider);
int SliderMinimum(HWND slider);
// Moves the slider to the position as a user's drag does: the thumb moves
// and the window hears about it.
void MoveSlider(const Snapquill& program, int position);

int OuterHeight(HWND window);
// Waits until the window's outer height is the given one and stays so for
// a moment (an animation has ended there).
bool WaitForHeight(HWND window, int height, DWORD timeoutMs = kPatience);

// Sets the text of the file name prefix as typing it would.
void TypePrefix(const Snapquill& program, const std::wstring& prefix);

// Tooltip windows ("tooltips_class32") of the program.
int TooltipCount(const Snapquill& program);

// The controls of the panel (the title bar, the labels and the fields, as
// they lie on the skinned form inside the main window), as they show: each
// one visible, inside the main window's client area and clear of every
// other one.
::testing::AssertionResult ControlsShowInsideAndApart(const Snapquill& program);

// --- Folder picker ----------------------------------------------------------------

extern const wchar_t kPickerTitle[];

// Presses the browse button (without waiting, since the picker is modal)
// and waits for the picker dialog. Returns it or null.
HWND OpenFolderPicker(const Snapquill& program, DWORD timeoutMs = kPatience);
// The texts of the dialog's static controls.
std::vector<std::wstring> StaticTextsOf(HWND dialog);
// The name of the folder selected in the picker's tree, as it shows there.
std::wstring SelectedPickerItem(const Snapquill& program, HWND dialog);
// Selects the folder in the picker's tree, as clicking it would, and waits
// until the tree shows it selected.
::testing::AssertionResult SelectInPicker(const Snapquill& program, HWND dialog, const std::wstring& folder);
// Presses OK or Cancel (IDOK / IDCANCEL) and waits until the dialog is gone.
bool PressPickerButton(HWND dialog, int id);
// Opens the picker, selects the folder and confirms it.
::testing::AssertionResult ChooseFolder(const Snapquill& program, const std::wstring& folder);

// --- Hints ----------------------------------------------------------------------------

// Rests the mouse on the middle of the control and returns the text of the
// hint window of the program that comes up, or nothing when none shows
// within the time given.
std::optional<std::wstring> HintOver(const Snapquill& program, HWND control, DWORD timeoutMs = kPatience);
// The same for the program's tooltip (a control's tip of the
// tooltips_class32 kind) that comes up when the pointer rests on it.
std::optional<std::wstring> TooltipOver(const Snapquill& program, HWND control, DWORD timeoutMs = kPatience);
// Moves the mouse off the program's windows.
void MoveMouseAway();

} // namespace e2e
