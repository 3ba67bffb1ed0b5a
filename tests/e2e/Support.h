// What the end-to-end tests share: running snapquill.exe in a folder of its
// own, finding its windows and controls, pressing keys as a user does,
// waiting for the files it writes, and windows with a known picture to
// take shots of.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "kit/Input.h"
#include "kit/PatternWindow.h"
#include "kit/Process.h"
#include "kit/Pump.h"
#include "kit/Screen.h"
#include "tests/e2e/ImageFiles.h"

namespace e2e {

using namespace support;
namespace fs = std::filesystem;

// The program ignores its capture hotkeys for half a second after each shot
// (Snapquill::WaitUntilSettled waits for that by watching it).
constexpr DWORD kSettle = 500;

// --- Windows of other processes ---------------------------------------------

std::wstring ClassNameOf(HWND window);
std::wstring TextOf(HWND window); // by WM_GETTEXT, so it works across processes
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> ChildrenOf(HWND parent); // all below it, children's children too
// The window's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND window);
std::string Narrow(const std::wstring& text); // for messages in test output

// The message of a standard message box, read from the static control that
// shows it.
std::wstring MessageBoxText(HWND box);
// Presses the box's OK and waits until the box is gone.
bool DismissMessageBox(HWND box);

// --- Files --------------------------------------------------------------------

// A new empty folder under the temporary folder, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }
    std::wstring Text() const { return path_.wstring(); }
    // Names of the entries in the folder, sorted.
    std::vector<std::wstring> Entries() const;

private:
    fs::path path_;
};

// Waits until the file exists and is complete: the writer has closed it
// and its size no longer changes.
bool WaitForFile(const fs::path& file, DWORD timeoutMs = kPatience);

// --- The program --------------------------------------------------------------

// snapquill.exe, found next to the running test program.
fs::path ProgramPath();

// Removes the settings the program stores for the current user, so that
// the next start comes up with its defaults.
void ForgetSettings();

// What a Snapquill does with the settings stored for the current user:
// Forget removes them before the start and after the end; Keep leaves them
// alone, for tests that prepare them and read back what the program wrote.
enum class StoredSettings { Forget, Keep };

// snapquill.exe started in the given folder (its current directory), with
// the given command-line arguments and, by default, without stored
// settings. It is always ended on destruction, and unless told to keep
// them, the settings it stored are removed.
class Snapquill {
public:
    explicit Snapquill(const fs::path& folder, const std::wstring& arguments = L"",
                       StoredSettings settings = StoredSettings::Forget);
    ~Snapquill();
    Snapquill(const Snapquill&) = delete;
    Snapquill& operator=(const Snapquill&) = delete;

    bool Started() const { return process_.Started(); }
    const std::string& StartError() const { return process_.StartError(); }
    DWORD Id() const { return process_.Id(); }
    HANDLE Process() const { return process_.Handle(); }
    bool Running() const { return process_.Running(); }
    // After a shot's file is complete: waits until the program has ended the
    // half second in which it ignores further shots. That wait keeps it busy
    // processing messages, so it is over once at least kSettle has passed
    // and the program has gone quiet (hardly any processor time for a tenth
    // of a second). Returns false if it never goes quiet within kPatience.
    bool WaitUntilSettled() const;

    // Waits until the main window is set up (hotkeys registered, images
    // folder filled in) and the program waits for input; with shown, also
    // until the window is on screen. Returns the main window or null.
    HWND WaitUntilReady(bool shown = true, DWORD timeoutMs = kPatience);

    HWND MainWindow() const; // the TSnapquillForm window, or null
    HWND PathEdit() const;   // the read-only images folder
    HWND PrefixEdit() const; // the file name prefix
    HWND FormatCombo() const;
    HWND CheckBox(const std::wstring& caption) const;
    HWND TitleBar() const;   // the skinned frame's title bar
    // The first window below the main window that match accepts, or null.
    HWND Child(const std::function<bool(HWND)>& match) const;
    // Any visible window of the program (the main window, the application
    // window, message boxes).
    bool ShowsAnyWindow() const;

    void SetFolder(const std::wstring& folder) const;
    // Selects an entry of the file format list as a user would.
    void SelectFormat(int index) const;
    // Clicks the check box with this caption.
    void Click(const std::wstring& caption) const;
    bool IsChecked(const std::wstring& caption) const;

    // A message box of the program, once it appears; null after the timeout.
    HWND WaitForMessageBox(DWORD timeoutMs = kPatience) const;

    // Waits for the program to end; true with its exit code if it did.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const { return process_.WaitForExit(timeoutMs, exitCode); }
    // Ends the program: closes its main window and waits; if it does not
    // end, terminates it. True if it ended by itself.
    bool Close(DWORD& exitCode);
    bool Close();

private:
    StoredSettings settings_ = StoredSettings::Forget; // first: forgotten before the start
    ChildProcess process_;
};

// The program's popup menu while one is open, and its About box while it
// shows; null otherwise.
HWND OpenMenuOf(const Snapquill& program);
HWND AboutBoxOf(const Snapquill& program);

// --- Windows with a known picture ---------------------------------------------

// The four quadrants of a pattern window (see PatternWindow.h), clockwise
// from the top left.
extern const Rgb kTopLeft, kTopRight, kBottomRight, kBottomLeft;

// Checks that image shows a pattern window's client area of the given size
// with its top-left pixel at `at`. exact: corners of the quadrants exactly,
// and the pixels just outside the area not in the colour next to them;
// otherwise only the inner parts of the quadrants, each channel within
// tolerance.
::testing::AssertionResult ShowsPattern(const Image& image, POINT at, SIZE client, bool exact,
                                        int tolerance = 0);

} // namespace e2e
