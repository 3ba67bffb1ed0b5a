// The settings panel as a user works it: the quality slider and the
// window height that follow the file format, the slider under the mouse and
// the keys, settings that carry over to the next shot and the next start,
// and the controls' places, tips and tab order.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>
#include <vector>

#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

// --- JPEG quantisation -------------------------------------------------------

// The luminance table of a baseline JPEG file as it is stored (zigzag order).
std::optional<std::array<int, 64>> LuminanceTable(const std::vector<uint8_t>& file)
{
    size_t i = 2;
    while (i + 4 <= file.size()) {
        if (file[i] != 0xFF)
            return std::nullopt;
        const uint8_t marker = file[i + 1];
        const size_t length = (file[i + 2] << 8) | file[i + 3];
        if (marker == 0xDA || i + 2 + length > file.size())
            return std::nullopt; // image data reached without a table
        if (marker == 0xDB) {
            size_t p = i + 4;
            while (p < i + 2 + length) {
                const int precision = file[p] >> 4, id = file[p] & 15;
                ++p;
                std::array<int, 64> table{};
                for (int k = 0; k < 64; ++k) {
                    table[k] = precision ? (file[p] << 8) | file[p + 1] : file[p];
                    p += precision ? 2 : 1;
                }
                if (id == 0)
                    return table;
            }
        }
        i += 2 + length;
    }
    return std::nullopt;
}

// The luminance table that the standard scaling gives for a quality, in
// zigzag order, limited to baseline values.
std::array<int, 64> ExpectedLuminanceTable(int quality)
{
    static const int base[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                 14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                 18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    static const int zigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                   12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                   35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                   58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    std::array<int, 64> table{};
    for (int k = 0; k < 64; ++k)
        table[k] = std::clamp((base[zigzag[k]] * scale + 50) / 100, 1, 255);
    return table;
}

::testing::AssertionResult IsJpegOfQuality(const fs::path& file, int quality)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(file);
    Image image;
    const std::string error = DecodeJpeg(bytes, image);
    if (!error.empty())
        return ::testing::AssertionFailure() << Narrow(file.wstring()) << " is no readable JPEG: " << error;
    if (image.width != 1280 || image.height != 800)
        return ::testing::AssertionFailure() << "the picture is " << image.width << "x" << image.height
                                             << ", not the 1280x800 screen";
    const std::optional<std::array<int, 64>> table = LuminanceTable(bytes);
    if (!table)
        return ::testing::AssertionFailure() << "the file has no luminance quantisation table";
    if (*table != ExpectedLuminanceTable(quality))
        return ::testing::AssertionFailure() << "the quantisation is not that of quality " << quality
                                             << " (first entry " << (*table)[0] << ", expected "
                                             << ExpectedLuminanceTable(quality)[0] << ")";
    return ::testing::AssertionSuccess();
}

// Samples a window's outer height from a thread of its own while the test
// thread is held up in a message to the program.
class HeightRecorder {
public:
    explicit HeightRecorder(HWND window) : window_(window)
    {
        // The first and the last height are taken here, so that a thread
        // that is slow to run on a busy machine cannot miss them.
        heights_.push_back(OuterHeight(window_));
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~HeightRecorder() { Stop(); }
    HeightRecorder(const HeightRecorder&) = delete;
    HeightRecorder& operator=(const HeightRecorder&) = delete;

    // The heights seen, each change once.
    const std::vector<int>& Stop()
    {
        if (thread_) {
            stop_ = true;
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
            const int last = OuterHeight(window_);
            if (heights_.back() != last)
                heights_.push_back(last);
        }
        return heights_;
    }

private:
    static DWORD WINAPI Run(void* self)
    {
        auto* recorder = static_cast<HeightRecorder*>(self);
        while (!recorder->stop_) {
            const int height = OuterHeight(recorder->window_);
            if (recorder->heights_.empty() || recorder->heights_.back() != height)
                recorder->heights_.push_back(height);
            Sleep(0);
        }
        return 0;
    }

    HWND window_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::vector<int> heights_;
};

// Every height seen lies on the 5-pixel grid between the two heights and
// moves one way only, from `from` to `to`.
::testing::AssertionResult StepsBetween(const std::vector<int>& heights, int from, int to)
{
    std::string seen;
    for (int h : heights)
        seen += (seen.empty() ? "" : " ") + std::to_string(h);
    if (heights.empty() || heights.front() != from || heights.back() != to)
        return ::testing::AssertionFailure() << "heights seen: " << seen << "; expected from " << from << " to "
                                             << to;
    for (size_t i = 0; i < heights.size(); ++i) {
        const int h = heights[i];
        if ((h - from) % 5 != 0 || h < std::min(from, to) || h > std::max(from, to))
            return ::testing::AssertionFailure() << "height " << h << " is off the 5-pixel steps; heights seen: "
                                                 << seen;
        if (i > 0 && (h - heights[i - 1]) * (to - from) < 0)
            return ::testing::AssertionFailure() << "the height went back; heights seen: " << seen;
    }
    return ::testing::AssertionSuccess();
}

class SettingsPanel : public ::testing::Test {
protected:
    CleanSettings clean_;
    ScratchFolder folder_;
};

} // namespace

// --- The panel ----------------------------------------------------------------------------

TEST_F(SettingsPanel, SwitchingFormatsShowsEachFormatsOwnValue)
{
    StoredValues values = Defaults(folder_.Path());
    values.fileFormat = kPng;
    ASSERT_TRUE(StoreSettings(values));

    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    HWND slider = QualitySlider(program);
    HWND label = QualityLabel(program);
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(label, nullptr);

    EXPECT_EQ(SliderMaximum(slider), 9);
    EXPECT_EQ(SliderPosition(slider), 7);
    EXPECT_EQ(Narrow(TextOf(label)), "PNG Compression: 7");

    program.SelectFormat(kJpg);
    EXPECT_EQ(SliderMaximum(slider), 100);
    EXPECT_EQ(SliderPosition(slider), 90);
    EXPECT_EQ(Narrow(TextOf(label)), "JPG Quality: 90");

    program.SelectFormat(kPng);
    EXPECT_EQ(SliderMaximum(slider), 9);
    EXPECT_EQ(SliderPosition(slider), 7);
    EXPECT_EQ(Narrow(TextOf(label)), "PNG Compression: 7");

    ASSERT_TRUE(CloseProgram(program));
    EXPECT_TRUE(StoresNumber(L"FileFormat", kPng));
    EXPECT_TRUE(StoresNumber(L"PNG", 7));
    EXPECT_TRUE(StoresNumber(L"JPG", 90));
}

TEST_F(SettingsPanel, TheSliderRowComesAndGoesWithTheFormat)
{
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForHeight(main, kShort)) << "the window is " << OuterHeight(main) << " high";

    {
        HeightRecorder recorder(main);
        program.SelectFormat(kJpg);
        EXPECT_TRUE(WaitForHeight(main, kTall)) << "the window is " << OuterHeight(main) << " high";
        EXPECT_TRUE(StepsBetween(recorder.Stop(), kShort, kTall));
    }
    {
        HeightRecorder recorder(main);
        program.SelectFormat(kBmp);
        EXPECT_TRUE(WaitForHeight(main, kShort)) << "the window is " << OuterHeight(main) << " high";
        EXPECT_TRUE(StepsBetween(recorder.Stop(), kTall, kShort));
    }
    RECT rect{};
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.top, 140) << "the window moved";
    EXPECT_EQ(rect.right - rect.left, 180) << "the window's width changed";
}

TEST_F(SettingsPanel, AFormatPickedWhileTheHeightMovesEndsAtItsOwnHeight)
{
    Snapquill program(folder_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForHeight(main, kShort)) << "the window is " << OuterHeight(main) << " high";
    HWND combo = program.FormatCombo();
    // Both keys wait in the queue together: the second is handled between
    // the steps of the height animation the first one starts.
    const auto pressTwice = [&](WORD first, WORD second) {
        PostMessageW(combo, WM_KEYDOWN, first, 0);
        PostMessageW(combo, WM_KEYDOWN, second, 0);
    };
    pressTwice(VK_DOWN, VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return SelectedFormat(program) == kBmp; }));
    EXPECT_TRUE(WaitForHeight(main, kShort)) << "BMP left the window " << OuterHeight(main) << " high";

    program.SelectFormat(kJpg);
    ASSERT_TRUE(WaitForHeight(main, kTall));
    pressTwice(VK_UP, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return SelectedFormat(program) == kJpg; }));
    EXPECT_TRUE(WaitForHeight(main, kTall)) << "JPG left the window " << OuterHeight(main) << " high";
}

TEST_F(SettingsPanel, TheMouseAndTheKeysOnTheSliderChangeTheStoredLevel)
{
    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    program.SelectFormat(kPng);
    HWND slider = QualitySlider(program);
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(SliderPosition(slider), 7);
    // A press on the track left of the slider pages down by 2, a Right key
    // moves one step back up.
    PostMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    PostMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
    ASSERT_TRUE(program.WaitUntilSettled());
    EXPECT_EQ(SliderPosition(slider), 5);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(SliderPosition(slider), 6);
    EXPECT_EQ(Narrow(TextOf(QualityLabel(program))), "PNG Compression: 6");
    ASSERT_TRUE(CloseProgram(program));
    EXPECT_TRUE(StoresNumber(L"PNG", 6));
}

TEST_F(SettingsPanel, ChangedSettingsAreUsedByTheNextShotAndSurviveARestart)
{
    {
        Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitUntilReady(), nullptr);

        program.SelectFormat(kPng);
        TypePrefix(program, L"snap");
        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        const fs::path png = folder_.Path() / L"snap1.png";
        ASSERT_TRUE(WaitForFile(png)) << "no snap1.png";
        Image image;
        EXPECT_EQ(DecodePng(ReadFileBytes(png), image), "");
        EXPECT_EQ(image.width, 1280);
        EXPECT_EQ(image.height, 800);
        ASSERT_TRUE(program.WaitUntilSettled());

        program.SelectFormat(kJpg);
        MoveSlider(program, 40);
        EXPECT_EQ(Narrow(TextOf(QualityLabel(program))), "JPG Quality: 40");
        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        const fs::path jpg = folder_.Path() / L"snap1.jpg";
        ASSERT_TRUE(WaitForFile(jpg)) << "no snap1.jpg";
        EXPECT_TRUE(IsJpegOfQuality(jpg, 40));
        EXPECT_EQ(folder_.Entries(), (std::vector<std::wstring>{L"snap1.jpg", L"snap1.png"}));

        ASSERT_TRUE(CloseProgram(program));
        EXPECT_TRUE(StoresString(L"Filename", L"snap"));
        EXPECT_TRUE(StoresNumber(L"FileFormat", kJpg));
        EXPECT_TRUE(StoresNumber(L"JPG", 40));
        EXPECT_TRUE(StoresNumber(L"PNG", 7));
    }

    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(SelectedFormat(program), kJpg);
    EXPECT_EQ(Narrow(TextOf(program.PrefixEdit())), "snap");
    HWND slider = QualitySlider(program);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(SliderMaximum(slider), 100);
    EXPECT_EQ(SliderPosition(slider), 40);
    EXPECT_EQ(Narrow(TextOf(QualityLabel(program))), "JPG Quality: 40");
    EXPECT_TRUE(WaitForHeight(main, kTall));

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    const fs::path jpg = folder_.Path() / L"snap2.jpg";
    ASSERT_TRUE(WaitForFile(jpg)) << "no snap2.jpg after the restart";
    EXPECT_TRUE(IsJpegOfQuality(jpg, 40));
}

// --- What the panel shows ------------------------------------------------------------------

TEST_F(SettingsPanel, EveryControlShowsApartWithATipOfItsOwnAndTabsInOrder)
{
    Snapquill program(folder_.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    // With a JPEG the slider row shows too.
    program.SelectFormat(kJpg);
    ASSERT_TRUE(WaitForHeight(main, kTall)) << "the window is " << OuterHeight(main) << " high";
    EXPECT_TRUE(ControlsShowInsideAndApart(program));
    EXPECT_EQ(SendMessageW(program.FormatCombo(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_NE(GetWindowLongW(program.PathEdit(), GWL_STYLE) & ES_READONLY, 0);

    // The tab stops in the order the keys visit them.
    const std::vector<HWND> order = {program.PathEdit(), program.FormatCombo(), BrowseButton(program),
                                     program.CheckBox(L"Include Taskbar"), program.CheckBox(L"Display Notification"),
                                     QualitySlider(program), program.PrefixEdit()};
    for (HWND control : order)
        ASSERT_NE(control, nullptr);

    // Each control has a tip of its own: the one that comes up when the
    // pointer rests on it says something no other control's tip says.
    std::vector<std::wstring> tips;
    for (HWND control : order) {
        const std::optional<std::wstring> tip = TooltipOver(program, control);
        ASSERT_TRUE(tip.has_value()) << "no tip over " << Narrow(ClassNameOf(control));
        EXPECT_FALSE(tip->empty()) << "an empty tip over " << Narrow(ClassNameOf(control));
        EXPECT_EQ(std::count(tips.begin(), tips.end(), *tip), 0) << "the tip \"" << Narrow(*tip) << "\" over "
                                                                 << Narrow(ClassNameOf(control)) << " shows twice";
        tips.push_back(*tip);
    }
    MoveMouseAway();

    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(main);
        return GetForegroundWindow() == main;
    })) << "the window does not come forward";
    ClickByHand(CentreOf(order.front()));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(thread) == order.front(); })) << "a click does not focus the folder";
    for (size_t i = 1; i <= order.size(); ++i) {
        const HWND before = FocusOf(thread);
        PressKey(VK_TAB);
        WaitUntil([&] { return FocusOf(thread) != before; }, 3000);
        const HWND next = order[i % order.size()];
        EXPECT_EQ(FocusOf(thread), next) << "Tab number " << i << " goes to " << Narrow(ClassNameOf(FocusOf(thread)))
                                         << " instead of " << Narrow(ClassNameOf(next));
    }
}
