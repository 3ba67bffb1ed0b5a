// Shots as a user takes them: snapquill.exe runs in a folder of its own,
// the test presses PrintScreen or Alt+PrintScreen and reads the files that
// appear, with a window of known colours on the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

// A borderless top-most window, clear of the program's own window.
const POINT kPatternPosition{600, 300};
const SIZE kPatternClient{120, 90};

// A framed window for window shots.
const POINT kFramedPosition{640, 220};
const SIZE kFramedClient{200, 150};

const int kScreenWidth = 1280;
const int kScreenHeight = 800;

POINT Offset(POINT p, int dx, int dy)
{
    return {p.x + dx, p.y + dy};
}

class Shots : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program_.Started()) << program_.StartError();
        ASSERT_NE(program_.WaitUntilReady(), nullptr) << "snapquill.exe did not come up";
    }

    fs::path File(const wchar_t* name) const { return folder_.Path() / name; }

    // Waits for a BMP file and reads it; checks that it holds the screen's
    // 32-bit pixels as they are.
    ::testing::AssertionResult ReadBmp(const wchar_t* name, Image& image) const
    {
        const fs::path file = File(name);
        if (!WaitForFile(file))
            return ::testing::AssertionFailure() << Narrow(name) << " did not appear in the images folder";
        const std::vector<uint8_t> bytes = ReadFileBytes(file);
        BmpInfo info;
        std::string error = ReadBmpInfo(bytes, info);
        if (error.empty() && info.bitCount != 32)
            error = "bit count " + std::to_string(info.bitCount) + " on a 32-bit screen";
        if (error.empty() && info.dataOffset != 54)
            error = "pixels at offset " + std::to_string(info.dataOffset) + ", expected 54";
        if (error.empty() && info.height <= 0)
            error = "rows are not stored bottom-up";
        if (error.empty() && bytes.size() != 54 + BmpRowBytes(info.width, 32) * uint64_t(info.height))
            error = "file size " + std::to_string(bytes.size()) + " does not fit the header";
        if (error.empty())
            error = DecodeBmp(bytes, image);
        if (!error.empty())
            return ::testing::AssertionFailure() << Narrow(name) << ": " << error;
        return ::testing::AssertionSuccess();
    }

    ScratchFolder folder_;
    Snapquill program_{folder_.Path()};
};

} // namespace

TEST_F(Shots, PrintScreenWritesTheWholeScreenIntoNumberedFiles)
{
    PatternWindow pattern(kPatternPosition, kPatternClient, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    ASSERT_TRUE(pattern.WaitUntilOnScreen());

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    Image first;
    ASSERT_TRUE(ReadBmp(L"shot1.bmp", first));
    EXPECT_EQ(first.width, kScreenWidth);
    EXPECT_EQ(first.height, kScreenHeight);
    EXPECT_TRUE(ShowsPattern(first, pattern.ClientOrigin(), pattern.ClientSize(), true));

    ASSERT_TRUE(program_.WaitUntilSettled());
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    Image second;
    ASSERT_TRUE(ReadBmp(L"shot2.bmp", second));
    EXPECT_EQ(second.width, kScreenWidth);
    EXPECT_EQ(second.height, kScreenHeight);
    EXPECT_TRUE(ShowsPattern(second, pattern.ClientOrigin(), pattern.ClientSize(), true));
    EXPECT_EQ(folder_.Entries(), (std::vector<std::wstring>{L"shot1.bmp", L"shot2.bmp"}));
}

TEST_F(Shots, WithoutTheTaskbarTheWorkAreaLandsAtThePicturesOrigin)
{
    const RECT work = WorkArea();
    ASSERT_LT(work.bottom - work.top, kScreenHeight) << "the desktop should have a taskbar";
    PatternWindow pattern(kPatternPosition, kPatternClient, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    ASSERT_TRUE(pattern.WaitUntilOnScreen());
    ASSERT_TRUE(program_.IsChecked(L"Include Taskbar"));
    ASSERT_NO_FATAL_FAILURE(program_.Click(L"Include Taskbar"));
    ASSERT_FALSE(program_.IsChecked(L"Include Taskbar"));

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    Image image;
    ASSERT_TRUE(ReadBmp(L"shot1.bmp", image));
    EXPECT_EQ(image.width, work.right - work.left);
    EXPECT_EQ(image.height, work.bottom - work.top);
    EXPECT_TRUE(ShowsPattern(image, Offset(pattern.ClientOrigin(), -work.left, -work.top), pattern.ClientSize(), true));
}

TEST_F(Shots, AltPrintScreenWritesTheForegroundWindowWithItsFrame)
{
    PatternWindow window(kFramedPosition, kFramedClient, WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(window.MakeForeground());
    ASSERT_TRUE(window.WaitUntilOnScreen());
    const RECT rect = window.WindowRect();
    const POINT client = window.ClientOrigin();
    ASSERT_GT(client.x, rect.left) << "the window should have a frame";
    ASSERT_GT(client.y, rect.top) << "the window should have a title bar";
    ASSERT_EQ(GetForegroundWindow(), window.Handle());

    EXPECT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
    Image image;
    ASSERT_TRUE(ReadBmp(L"shot1.bmp", image));
    EXPECT_EQ(image.width, rect.right - rect.left);
    EXPECT_EQ(image.height, rect.bottom - rect.top);
    EXPECT_TRUE(ShowsPattern(image, Offset(client, -rect.left, -rect.top), window.ClientSize(), true));

    // The frame is in the picture as the screen shows it.
    const POINT framePoints[] = {
        {(rect.left + rect.right) / 2, (rect.top + client.y) / 2}, // title bar
        {rect.left, (rect.top + rect.bottom) / 2},                 // left edge
        {rect.right - 1, rect.bottom - 1},                         // bottom right corner
    };
    for (POINT p : framePoints) {
        const COLORREF c = ScreenPixel(p);
        const Rgb onScreen{GetRValue(c), GetGValue(c), GetBValue(c)};
        ASSERT_TRUE(image.Contains(p.x - rect.left, p.y - rect.top));
        EXPECT_EQ(ToString(image.At(p.x - rect.left, p.y - rect.top)), ToString(onScreen))
            << "frame pixel at (" << p.x << ", " << p.y << ") on the screen";
    }
    EXPECT_EQ(folder_.Entries(), std::vector<std::wstring>{L"shot1.bmp"});
}

TEST_F(Shots, AltPrintScreenOnAWindowWithoutAreaReportsAnErrorAndWritesNothing)
{
    HWND empty = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"empty", WS_POPUP | WS_VISIBLE, 700, 200, 0, 0, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(empty, nullptr);
    struct Destroyer {
        HWND window;
        ~Destroyer() { DestroyWindow(window); }
    } destroyer{empty};
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(empty);
        return GetForegroundWindow() == empty;
    })) << "the empty window could not be brought to the foreground";

    EXPECT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
    HWND box = program_.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error was reported";
    EXPECT_EQ(Narrow(TextOf(box)), "Snapquill");
    EXPECT_NE(MessageBoxText(box), L"");
    ASSERT_TRUE(DismissMessageBox(box));
    EXPECT_EQ(folder_.Entries(), std::vector<std::wstring>{});

    // The next shot works again.
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    Image image;
    EXPECT_TRUE(ReadBmp(L"shot1.bmp", image));
}

// A key pressed while a shot is being taken waits for it: never two shots
// at once, and none lost.
TEST_F(Shots, TwoQuickPressesWriteTwoFilesOneAfterTheOther)
{
    EXPECT_TRUE(PressTwice({VK_SNAPSHOT}));
    ASSERT_TRUE(WaitForFile(File(L"shot1.bmp")));
    EXPECT_TRUE(WaitForFile(File(L"shot2.bmp"))) << "the second press was lost";
    ASSERT_TRUE(program_.WaitUntilSettled());
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    Sleep(100);
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(File(L"shot4.bmp"))) << "a press 100 ms after another was lost";
    PumpFor(2000);
    EXPECT_EQ(folder_.Entries(), (std::vector<std::wstring>{L"shot1.bmp", L"shot2.bmp", L"shot3.bmp", L"shot4.bmp"}));
}

TEST_F(Shots, AFailedSaveIsReportedAndTheNextShotWorks)
{
    const std::wstring missing = (folder_.Path() / L"missing").wstring();
    ASSERT_NO_FATAL_FAILURE(program_.SetFolder(missing));

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    HWND box = program_.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the failed save was not reported";
    EXPECT_EQ(Narrow(TextOf(box)), "Snapquill");
    const std::wstring text = MessageBoxText(box);
    const std::wstring start = L"Cannot create file \"" + missing + L"\\shot1.bmp\". ";
    EXPECT_EQ(Narrow(text.substr(0, start.size())), Narrow(start)) << "whole text: " << Narrow(text);
    EXPECT_GT(text.size(), start.size() + 1) << "the system's reason is missing: " << Narrow(text);
    EXPECT_EQ(text.back(), L'.') << Narrow(text);
    ASSERT_TRUE(DismissMessageBox(box));
    EXPECT_FALSE(fs::exists(missing));

    ASSERT_NO_FATAL_FAILURE(program_.SetFolder(folder_.Text()));
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    Image image;
    ASSERT_TRUE(ReadBmp(L"shot1.bmp", image));
    EXPECT_EQ(image.width, kScreenWidth);
    EXPECT_EQ(image.height, kScreenHeight);
}

// The other formats, each into a folder of its own: a JPEG only close to
// the screen's colours, a PNG exactly.
TEST_F(Shots, JpgAndPngFormatsWriteAPictureOfTheScreen)
{
    PatternWindow pattern(kPatternPosition, kPatternClient, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    ASSERT_TRUE(pattern.WaitUntilOnScreen());
    const struct {
        int format;
        const wchar_t* name;
        std::string (*decode)(const std::vector<uint8_t>&, Image&);
        bool exact;
        int tolerance;
    } formats[] = {
        {1, L"shot1.jpg", DecodeJpeg, false, 24},
        {2, L"shot1.png", DecodePng, true, 0},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(Narrow(f.name));
        ScratchFolder folder;
        ASSERT_NO_FATAL_FAILURE(program_.SetFolder(folder.Text()));
        ASSERT_NO_FATAL_FAILURE(program_.SelectFormat(f.format));
        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        const fs::path file = folder.Path() / f.name;
        ASSERT_TRUE(WaitForFile(file)) << Narrow(f.name) << " did not appear";
        ASSERT_TRUE(program_.WaitUntilSettled());
        Image image;
        ASSERT_EQ(f.decode(ReadFileBytes(file), image), "");
        EXPECT_EQ(image.width, kScreenWidth);
        EXPECT_EQ(image.height, kScreenHeight);
        EXPECT_TRUE(ShowsPattern(image, pattern.ClientOrigin(), pattern.ClientSize(), f.exact, f.tolerance));
        EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{f.name});
    }
}
