// Marking up a region as a user does it: Ctrl+Shift+PrintScreen freezes the
// screen, the test drags a region over a window of known colours, draws on
// it with the tools' keys and the mouse (or the keyboard alone), and reads
// back the file, the clipboard or the pinned picture. The timing lines say
// how soon the strip shows after the release and how long the save takes.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "kit/Accessibility.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

const POINT kPatternPosition{500, 260};
const SIZE kPatternClient{240, 160};
const POINT kRestingPointer{100, 100};
const Rgb kRed{255, 0, 0};

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

HWND VisibleWindowOfClass(const Snapquill& program, const wchar_t* className)
{
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (IsWindowVisible(window) && ClassNameOf(window) == className)
            return window;
    return nullptr;
}

HWND OverlayOf(const Snapquill& program)
{
    return VisibleWindowOfClass(program, L"SnapquillRegion");
}

HWND StripOf(const Snapquill& program)
{
    if (HWND overlay = OverlayOf(program))
        for (HWND child : ChildrenOf(overlay))
            if (IsWindowVisible(child) && ClassNameOf(child) == L"SnapquillMarkupStrip")
                return child;
    return nullptr;
}

Rgb ToRgb(COLORREF colour)
{
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

POINT Plus(POINT p, LONG dx, LONG dy)
{
    return {p.x + dx, p.y + dy};
}

// The clipboard's CF_DIB as a BMP file, decoded.
std::string ClipboardImage(Image& image)
{
    if (!OpenClipboard(nullptr))
        return "the clipboard cannot be opened";
    std::vector<uint8_t> file;
    if (HGLOBAL data = GetClipboardData(CF_DIB)) {
        const size_t size = GlobalSize(data);
        if (const auto* bytes = static_cast<const uint8_t*>(GlobalLock(data))) {
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
            BITMAPFILEHEADER fileHeader{};
            fileHeader.bfType = 0x4D42;
            fileHeader.bfSize = DWORD(sizeof fileHeader + size);
            fileHeader.bfOffBits = DWORD(sizeof fileHeader + header->biSize +
                                         (header->biCompression == BI_BITFIELDS ? 12 : 0));
            file.resize(sizeof fileHeader);
            std::memcpy(file.data(), &fileHeader, sizeof fileHeader);
            file.insert(file.end(), bytes, bytes + size);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (file.empty())
        return "the clipboard holds no picture";
    return DecodeBmp(file, image);
}

void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

class Markup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program_.Started()) << program_.StartError();
        ASSERT_NE(program_.WaitUntilReady(false), nullptr) << "snapquill.exe did not come up";
        ASSERT_TRUE(pattern_.WaitUntilOnScreen());
        PlacePointer(kRestingPointer);
        PumpFor(100);
    }

    // Ctrl+Shift+PrintScreen, until the overlay is up.
    ::testing::AssertionResult Open()
    {
        if (!pattern_.WaitUntilOnScreen())
            return ::testing::AssertionFailure() << "the pattern is not on the screen";
        if (!Press({VK_CONTROL, VK_SHIFT, VK_SNAPSHOT}))
            return ::testing::AssertionFailure() << "the keys did not go in";
        if (!WaitUntil([&] { return OverlayOf(program_) != nullptr; }))
            return ::testing::AssertionFailure() << "Ctrl+Shift+PrintScreen shows no overlay";
        PumpFor(200);
        return ::testing::AssertionSuccess();
    }

    // Opens the overlay and drags the whole pattern; the strip then shows.
    ::testing::AssertionResult SelectPattern()
    {
        if (::testing::AssertionResult opened = Open(); !opened)
            return opened;
        const Clock::time_point start = Clock::now();
        DragByHand(Origin(), Plus(Origin(), kPatternClient.cx, kPatternClient.cy));
        const Clock::time_point released = Clock::now();
        if (!WaitUntil([&] { return StripOf(program_) != nullptr; }))
            return ::testing::AssertionFailure() << "no tool strip after the drag";
        std::printf("[timing] the strip was on screen %.0f ms after the release (%dx%d; drag %.0f ms)\n",
                    MsSince(released), GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                    std::chrono::duration<double, std::milli>(released - start).count());
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult ReadShot(const wchar_t* name, Image& image)
    {
        const fs::path file = folder_.Path() / name;
        if (!WaitForFile(file))
            return ::testing::AssertionFailure() << Narrow(name) << " was not written";
        const std::string error = DecodeBmp(ReadFileBytes(file), image);
        if (!error.empty())
            return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess();
    }

    POINT Origin() const { return pattern_.ClientOrigin(); }
    Rgb TopLeft() const { return ToRgb(pattern_.Colours().topLeft); }

    ScratchFolder folder_;
    Snapquill program_{folder_.Path(), L"-hide"};
    PatternWindow pattern_{kPatternPosition, kPatternClient, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW};
};

// Every pixel is the pattern's.
::testing::AssertionResult IsWholePattern(const Image& image, const TQuadrants& colours, SIZE client)
{
    if (image.width != client.cx || image.height != client.cy)
        return ::testing::AssertionFailure() << "the shot is " << image.width << "x" << image.height;
    const int w = client.cx / 2, h = client.cy / 2;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = y < h ? (x < w ? colours.topLeft : colours.topRight)
                                     : (x < w ? colours.bottomLeft : colours.bottomRight);
            if (image.At(x, y) != ToRgb(c))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                     << ToString(image.At(x, y));
        }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(Markup, ARedRectangleWritesItsOutlineAndLeavesTheRestExactAndUndoLeavesThePlainRegion)
{
    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('R'));
    PumpFor(100);
    // 4 pixels wide at 100 %, inside the pixels dragged over (20..60 x 20..50).
    DragByHand(Plus(Origin(), 20, 20), Plus(Origin(), 60, 50));
    PumpFor(100);
    const Clock::time_point saved = Clock::now();
    ASSERT_TRUE(PressKey(VK_RETURN));
    Image marked;
    ASSERT_TRUE(ReadShot(L"shot1.bmp", marked));
    std::printf("[timing] the marked-up %dx%d file was complete %.0f ms after Enter\n", marked.width, marked.height,
                MsSince(saved));
    ASSERT_EQ(marked.width, kPatternClient.cx);
    ASSERT_EQ(marked.height, kPatternClient.cy);
    for (POINT outline : {POINT{20, 20}, POINT{23, 35}, POINT{60, 50}, POINT{40, 47}, POINT{57, 30}})
        EXPECT_EQ(marked.At(outline.x, outline.y), kRed) << "outline at " << outline.x << ", " << outline.y;
    for (POINT inside : {POINT{24, 24}, POINT{40, 35}, POINT{56, 46}, POINT{19, 19}, POINT{61, 51}, POINT{5, 5}})
        EXPECT_EQ(marked.At(inside.x, inside.y), TopLeft()) << "untouched at " << inside.x << ", " << inside.y;
    ASSERT_TRUE(program_.WaitUntilSettled());

    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('R'));
    DragByHand(Plus(Origin(), 20, 20), Plus(Origin(), 60, 50));
    ASSERT_TRUE(Press({VK_CONTROL, 'Z'}));
    ASSERT_TRUE(PressKey(VK_RETURN));
    Image undone;
    ASSERT_TRUE(ReadShot(L"shot2.bmp", undone));
    EXPECT_TRUE(IsWholePattern(undone, pattern_.Colours(), kPatternClient));
    ASSERT_TRUE(program_.WaitUntilSettled());

    // The plain region shot of the same rectangle is the same file.
    ASSERT_TRUE(Press({VK_CONTROL, VK_SNAPSHOT}));
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program_) != nullptr; }));
    PumpFor(200);
    DragByHand(Origin(), Plus(Origin(), kPatternClient.cx, kPatternClient.cy));
    Image plain;
    ASSERT_TRUE(ReadShot(L"shot3.bmp", plain));
    EXPECT_EQ(ReadFileBytes(folder_.Path() / L"shot2.bmp"), ReadFileBytes(folder_.Path() / L"shot3.bmp"));
}

TEST_F(Markup, TheStripReadsAsAToolBarWithTheChosenToolCheckedAndTellsItsKeysInTooltips)
{
    TComApartment com;
    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('A'));
    HWND strip = StripOf(program_);
    ASSERT_NE(strip, nullptr);
    TAccessibleNode read;
    ASSERT_TRUE(WaitUntil([&] {
        read = ReadAccessible(strip);
        const TAccessibleNode* arrow = read.Find(L"Arrow (A)");
        return arrow && arrow->Has(STATE_SYSTEM_CHECKED);
    })) << Narrow(TreeText(read));
    EXPECT_EQ(read.name, L"Mark-up tools");
    EXPECT_EQ(read.role, ROLE_SYSTEM_TOOLBAR);
    EXPECT_EQ(read.children.size(), 17u);
    const TAccessibleNode* rectangle = read.Find(L"Rectangle (R)");
    ASSERT_NE(rectangle, nullptr);
    EXPECT_FALSE(rectangle->Has(STATE_SYSTEM_CHECKED));
    const TAccessibleNode* undo = read.Find(L"Undo (Ctrl+Z)");
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->Has(STATE_SYSTEM_UNAVAILABLE)) << "nothing to undo yet";

    // Resting on the first button shows its tooltip (a hand comes to rest
    // there again when the first rest brought none).
    RECT place{};
    GetWindowRect(strip, &place);
    const int half = (place.bottom - place.top) / 2;
    const POINT first = Plus(POINT{place.left, place.top}, half, half);
    std::wstring tip;
    for (int rest = 0; rest < 3 && tip != L"Rectangle (R)"; ++rest) {
        MovePointerOnDesktop(Plus(first, 0, -3 * half));
        PumpFor(200);
        MovePointerOnDesktop(Plus(first, -2, 0));
        PumpFor(50);
        MovePointerOnDesktop(first);
        WaitUntil(
            [&] {
                for (HWND window : TopLevelWindowsOf(program_.Id()))
                    if (IsWindowVisible(window) && ClassNameOf(window) == TOOLTIPS_CLASSW)
                        tip = TextOf(window);
                return tip == L"Rectangle (R)";
            },
            3000);
    }
    EXPECT_EQ(tip, L"Rectangle (R)");
    ASSERT_TRUE(PressKey(VK_ESCAPE));
}

TEST_F(Markup, PixelateOnTheClipboardHidesThePatternWhereBlocksStraddleItsColoursAndWritesNoFile)
{
    EmptyTheClipboard();
    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('X'));
    const POINT centre = Plus(Origin(), kPatternClient.cx / 2, kPatternClient.cy / 2);
    DragByHand(Plus(centre, -37, -29), Plus(centre, 41, 33));
    ASSERT_TRUE(Press({VK_CONTROL, 'C'}));
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program_) == nullptr; }));
    Image copied;
    ASSERT_TRUE(WaitUntil([&] { return ClipboardImage(copied).empty(); })) << ClipboardImage(copied);
    ASSERT_EQ(copied.width, kPatternClient.cx);
    ASSERT_EQ(copied.height, kPatternClient.cy);
    const TQuadrants& q = pattern_.Colours();
    const int cx = kPatternClient.cx / 2, cy = kPatternClient.cy / 2;
    // Around the centre every block holds two or four colours of the pattern.
    for (int y = cy - 2; y < cy + 2; ++y)
        for (int x = cx - 2; x < cx + 2; ++x)
            for (COLORREF original : {q.topLeft, q.topRight, q.bottomLeft, q.bottomRight})
                EXPECT_NE(copied.At(x, y), ToRgb(original)) << "the pattern shows through at " << x << ", " << y;
    EXPECT_EQ(copied.At(5, 5), TopLeft()) << "outside the pixelated part";
    ASSERT_TRUE(program_.WaitUntilSettled());
    EXPECT_TRUE(folder_.Entries().empty()) << "Ctrl+C writes no file";
}

TEST_F(Markup, TextAndAStepNumberPutInkWhereTheyArePlacedAndEscapeWritesNothing)
{
    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('T'));
    ClickByHand(Plus(Origin(), 10, 10));
    for (WORD key : {'H', 'I', 'H', 'I'})
        ASSERT_TRUE(PressKey(key));
    ASSERT_TRUE(PressKey(VK_RETURN));
    ASSERT_TRUE(PressKey('N'));
    ClickByHand(Plus(Origin(), 180, 120));
    ASSERT_TRUE(PressKey(VK_RETURN));
    Image marked;
    ASSERT_TRUE(ReadShot(L"shot1.bmp", marked));
    int inked = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 60; ++x)
            inked += marked.At(x, y) == kRed;
    EXPECT_GT(inked, 20) << "red letters right of and below the click";
    EXPECT_EQ(marked.At(9, 9), TopLeft()) << "nothing above and left of it";
    // The step's circle is red around its number.
    EXPECT_EQ(marked.At(180 - 9, 120), kRed);
    EXPECT_EQ(marked.At(180, 120 - 11), kRed);
    ASSERT_TRUE(program_.WaitUntilSettled());

    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('R'));
    DragByHand(Plus(Origin(), 20, 20), Plus(Origin(), 60, 50));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program_) == nullptr; }));
    PumpFor(700);
    EXPECT_EQ(folder_.Entries().size(), 1u) << "Escape writes nothing";
}

// Ten pixels at a time with Shift and an arrow key, at a hand's pace. The
// pointer on the screen is not waited for: under Wine it can bounce back to
// a place the keys have left, which the overlay knows to ignore.
::testing::AssertionResult Step(WORD arrow, int times)
{
    for (int i = 0; i < times; ++i) {
        if (!Press({VK_SHIFT, arrow}))
            return ::testing::AssertionFailure() << "the keys did not go in";
        PumpFor(40);
    }
    return ::testing::AssertionSuccess();
}

TEST_F(Markup, TheKeyboardAloneSelectsDrawsAndSaves)
{
    ASSERT_TRUE(PlacePointer(Origin()));
    ASSERT_TRUE(Open());
    PumpFor(300);
    ASSERT_TRUE(PressKey(VK_SPACE));
    ASSERT_TRUE(Step(VK_RIGHT, 10));
    ASSERT_TRUE(Step(VK_DOWN, 8));
    ASSERT_TRUE(PressKey(VK_SPACE));
    ASSERT_TRUE(WaitUntil([&] { return StripOf(program_) != nullptr; }));
    // Tab to the rectangle (the first button) and Space chooses it.
    ASSERT_TRUE(PressKey(VK_TAB));
    ASSERT_TRUE(PressKey(VK_SPACE));
    ASSERT_TRUE(Step(VK_LEFT, 4));
    ASSERT_TRUE(Step(VK_UP, 4));
    ASSERT_TRUE(PressKey(VK_SPACE)); // at 60, 40
    ASSERT_TRUE(Step(VK_RIGHT, 2));
    ASSERT_TRUE(Step(VK_DOWN, 1));
    ASSERT_TRUE(PressKey(VK_SPACE)); // at 80, 50
    ASSERT_TRUE(PressKey(VK_RETURN));
    Image marked;
    ASSERT_TRUE(ReadShot(L"shot1.bmp", marked));
    EXPECT_EQ(marked.width, 100);
    EXPECT_EQ(marked.height, 80);
    EXPECT_EQ(marked.At(60, 40), kRed);
    EXPECT_EQ(marked.At(80, 50), kRed);
    EXPECT_EQ(marked.At(70, 45), TopLeft());
}

TEST_F(Markup, APinShowsThePictureWhereItWasAndCopiesItAndEscapeClosesIt)
{
    EmptyTheClipboard();
    ASSERT_TRUE(SelectPattern());
    ASSERT_TRUE(PressKey('R'));
    DragByHand(Plus(Origin(), 20, 20), Plus(Origin(), 60, 50));
    ASSERT_TRUE(Press({VK_CONTROL, 'P'}));
    HWND pin = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (pin = VisibleWindowOfClass(program_, L"SnapquillPin")) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program_) == nullptr; }));
    RECT place{};
    GetWindowRect(pin, &place);
    EXPECT_EQ(place.left, Origin().x);
    EXPECT_EQ(place.top, Origin().y);
    EXPECT_TRUE(WaitUntil([&] { return ToRgb(ScreenPixel(Plus(Origin(), 20, 20))) == kRed; }));
    EXPECT_EQ(ToRgb(ScreenPixel(Plus(Origin(), 5, 5))), TopLeft());
    ASSERT_TRUE(program_.WaitUntilSettled());

    SetForegroundWindow(pin);
    PumpFor(200);
    ASSERT_TRUE(Press({VK_CONTROL, 'C'}));
    Image copied;
    ASSERT_TRUE(WaitUntil([&] { return ClipboardImage(copied).empty(); })) << ClipboardImage(copied);
    EXPECT_EQ(copied.width, kPatternClient.cx);
    EXPECT_EQ(copied.At(20, 20), kRed);
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return VisibleWindowOfClass(program_, L"SnapquillPin") == nullptr; }));
}

// Not a check of speed: the timing line compares saving a marked-up whole
// screen with a plain region shot of it, at whatever size the display has
// (tools/wine-run's SNAPQUILL_SCREEN gives other sizes).
TEST_F(Markup, TimingOfSavingTheWholeScreenMarkedUpAgainstThePlainRegion)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const auto dragWholeScreen = [&] {
        MovePointerOnDesktop({0, 0});
        PumpFor(100);
        MovePointerOnDesktop({0, 0}, MOUSEEVENTF_LEFTDOWN);
        PumpFor(100);
        MovePointerOnDesktop({width - 1, height - 1});
        PumpFor(100);
        MovePointerOnDesktop({width - 1, height - 1}, MOUSEEVENTF_LEFTUP);
    };
    ASSERT_TRUE(Open());
    dragWholeScreen();
    ASSERT_TRUE(WaitUntil([&] { return StripOf(program_) != nullptr; }));
    ASSERT_TRUE(PressKey('A'));
    DragByHand({width / 4, height / 4}, {width * 3 / 4, height * 3 / 4}, 8);
    PumpFor(200);
    const Clock::time_point entered = Clock::now();
    ASSERT_TRUE(PressKey(VK_RETURN));
    Image marked;
    ASSERT_TRUE(ReadShot(L"shot1.bmp", marked));
    const double markedMs = MsSince(entered);
    EXPECT_EQ(marked.width, width);
    ASSERT_TRUE(program_.WaitUntilSettled());

    ASSERT_TRUE(Press({VK_CONTROL, VK_SNAPSHOT}));
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program_) != nullptr; }));
    PumpFor(300);
    const Clock::time_point start = Clock::now();
    dragWholeScreen();
    const double dragMs = MsSince(start);
    Image plain;
    ASSERT_TRUE(ReadShot(L"shot2.bmp", plain));
    std::printf("[timing] %dx%d: the marked-up file complete %.0f ms after Enter, the plain region's %.0f ms after "
                "the release\n",
                width, height, markedMs, MsSince(start) - dragMs);
}
