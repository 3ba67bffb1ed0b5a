// Shots that cannot be written whole, on a full disk or when the program is
// ended in the middle of a write: no file under a shot's name is ever
// incomplete, and nothing is left behind for good.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

// The 2 MB file system the test run mounts for a full disk (its Unix path
// in SNAPQUILL_SMALL_DISK, seen from Wine on drive Z:); empty where the
// machine does not allow it.
fs::path SmallDisk()
{
    const char* unixPath = std::getenv("SNAPQUILL_SMALL_DISK");
    if (!unixPath || !*unixPath)
        return {};
    std::wstring path = L"Z:" + std::wstring(unixPath, unixPath + std::strlen(unixPath));
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    if (!fs::is_directory(path) || fs::exists(fs::path(path) / L"not-mounted"))
        return {};
    return path;
}

void EmptyFolder(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path());
}

// A window full of noise over most of the screen: its shot is slow to
// compress, so that the test can end the program in the middle of writing.
class NoiseWindow {
public:
    NoiseWindow()
    {
        std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
        std::minstd_rand noise;
        for (uint32_t& pixel : pixels)
            pixel = static_cast<uint32_t>(noise()) & 0xFFFFFF;
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB};
        HDC dc = GetDC(window_);
        SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(window_, dc);
        ValidateRect(window_, nullptr);
        PumpFor(200);
    }
    ~NoiseWindow() { DestroyWindow(window_); }

private:
    static constexpr int kWidth = 1280, kHeight = 760;
    HWND window_ = nullptr;
};

bool IsTemporary(const std::wstring& name)
{
    return name.rfind(L"~snapquill-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == L".tmp";
}

} // namespace

TEST(Writes, AWriteThatFailsPartWayLeavesNoFileAndTheMessageSaysWhichAndWhy)
{
    const fs::path disk = SmallDisk();
    if (disk.empty())
        GTEST_SKIP() << "no small file system: the machine does not allow mounting one";
    EmptyFolder(disk);
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    ASSERT_NO_FATAL_FAILURE(program.SetFolder(disk.wstring()));

    // A BMP of the 1280x800 screen is 4 MB: it stops at the disk's 2 MB.
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the failed write was not reported";
    const std::string text = Narrow(MessageBoxText(box));
    EXPECT_NE(text.find(Narrow((disk / L"shot1.bmp").wstring())), std::string::npos) << text;
    EXPECT_NE(text.find("The disk is full."), std::string::npos) << text;
    ASSERT_TRUE(DismissMessageBox(box));
    EXPECT_TRUE(fs::is_empty(disk)) << "a partial file or its temporary file was left on the full disk";

    // With room again, the same number is taken and the file is whole.
    ASSERT_NO_FATAL_FAILURE(program.SelectFormat(2));
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(disk / L"shot1.png"));
    Image image;
    EXPECT_EQ(DecodePng(ReadFileBytes(disk / L"shot1.png"), image), "");
    ASSERT_TRUE(program.Close());
    EmptyFolder(disk);
}

TEST(Writes, ProgramEndedDuringAWriteLeavesNoBrokenShotAndTheNextStartRemovesWhatItLeft)
{
    ScratchFolder folder;
    NoiseWindow noise;
    bool caught = false;
    for (int attempt = 0; attempt < 10 && !caught; ++attempt) {
        Snapquill program(folder.Path());
        ASSERT_NE(program.WaitUntilReady(), nullptr);
        ASSERT_NO_FATAL_FAILURE(program.SelectFormat(2));
        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        // Ended the moment its temporary file shows, as Windows ends a
        // program that does not finish when the session ends.
        const size_t before = folder.Entries().size();
        const DWORD start = GetTickCount();
        bool complete = false;
        while (!caught && !complete && GetTickCount() - start < 3000) {
            const std::vector<std::wstring> entries = folder.Entries();
            caught = std::any_of(entries.begin(), entries.end(), IsTemporary);
            complete = !caught && entries.size() > before;
        }
        if (caught)
            TerminateProcess(program.Process(), 1);
        PumpFor(300);
        for (const std::wstring& name : folder.Entries())
            if (!IsTemporary(name)) {
                Image image;
                EXPECT_EQ(DecodePng(ReadFileBytes(folder.Path() / name), image), "") << Narrow(name) << " is broken";
            }
        program.Close();
    }
    ASSERT_TRUE(caught) << "the program was never ended during a write";

    Snapquill next(folder.Path());
    ASSERT_NE(next.WaitUntilReady(), nullptr);
    for (const std::wstring& name : folder.Entries())
        EXPECT_FALSE(IsTemporary(name)) << Narrow(name) << " is still there after the next start";
}
