// The skin under Wine: its pictures as the program's resources, the popup
// menu's drawing, and painting that gives back every GDI object it takes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "SkinBitmaps.h"
#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Label.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"
#include "skin/SUIPopupMenu.h"
#include "skin/SUIThemeFileWriter.h"
#include "skin/SUIThemes.h"

namespace {

COLORREF PictureColor(const char* name, int x, int y)
{
    TGdiObject picture = LoadSkinBitmap(name);
    TCanvasBitmap canvas(1, 1);
    TMemoryDC source(canvas.DC(), picture.Handle());
    return GetPixel(source.Handle(), x, y);
}

} // namespace

TEST(SkinPictures, EveryBitmapLoadsWithTheSizeAndDepthOfTheTable)
{
    ASSERT_GT(std::size(kSkinBitmaps), 100u);
    for (const TSkinBitmapInfo& expected : kSkinBitmaps) {
        TGdiObject bitmap = LoadSkinBitmap(expected.name);
        ASSERT_TRUE(bitmap) << expected.name << " is not among the resources";
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(bitmap.Handle(), sizeof dib, &dib), int(sizeof dib)) << expected.name;
        EXPECT_EQ(dib.dsBm.bmWidth, expected.width) << expected.name;
        EXPECT_EQ(dib.dsBm.bmHeight, expected.height) << expected.name;
        EXPECT_EQ(dib.dsBmih.biBitCount, expected.bitsPerPixel) << expected.name;
    }
    // The table's own sizes, whatever the manifest says.
    EXPECT_EQ(BitmapSize(LoadSkinBitmap("MACOS_TITLEBTN").Handle()).cx, 306);
    EXPECT_EQ(BitmapSize(LoadSkinBitmap("WINXP_TITLEBTN").Handle()).cx, 378);
    EXPECT_EQ(BitmapSize(LoadSkinBitmap("MSGDLG").Handle()).cx, 168);
    TGdiObject frame18 = CutFrame(LoadSkinBitmap("MACOS_TITLEBTN").Handle(), 18, 18);
    EXPECT_EQ(BitmapSize(frame18.Handle()).cx, 17);
    EXPECT_EQ(BitmapSize(frame18.Handle()).cy, 17);
}

TEST(SkinPictures, TheMenuCheckMarkHasNoPaleEdgeToRingItOnAGreyBar)
{
    // White is the transparent colour; any other pixel shows, so none may
    // be a pale blend of the tick and white.
    int pale = 0, tick = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const COLORREF c = PictureColor("MENU_CHECKED", x, y);
            if (c == RGB(255, 255, 255))
                continue;
            ++tick;
            pale += GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 0x90;
        }
    EXPECT_GT(tick, 20);
    EXPECT_EQ(pale, 0);
}

namespace {

int Luminance(COLORREF c)
{
    return (30 * GetRValue(c) + 59 * GetGValue(c) + 11 * GetBValue(c)) / 100;
}

} // namespace

TEST(SkinPictures, TheMaximiseButtonShowsAWindowAndTheMacOSControlBoxATriangleThatReads)
{
    // Each style's title buttons: the middle of the maximise picture and a
    // point on its left side, 3 pixels away.
    const struct {
        const char* strip;
        int x, y;
    } styles[] = {{"MACOS_TITLEBTN", 8, 8},    {"WINXP_TITLEBTN", 10, 10},    {"DEEPBLUE_TITLEBTN", 9, 10},
                  {"PROTEIN_TITLEBTN", 9, 10}, {"BLUEGLASS_TITLEBTN", 9, 9}};
    for (const auto& style : styles) {
        TGdiObject strip = LoadSkinBitmap(style.strip);
        ASSERT_TRUE(strip) << style.strip;
        for (int frame = 7; frame <= 9; ++frame) {
            TGdiObject picture = CutFrame(strip.Handle(), 18, frame);
            const SIZE size = BitmapSize(picture.Handle());
            TCanvasBitmap pixels(size.cx, size.cy);
            DrawBitmap(pixels.DC(), picture.Handle(), 0, 0);
            // A window is hollow, its side drawn; a "+" is drawn through its
            // middle as on its arm.
            EXPECT_GT(std::abs(Luminance(pixels.Pixel(style.x, style.y)) - Luminance(pixels.Pixel(style.x - 3, style.y))),
                      40)
                << style.strip << " frame " << frame;
        }
    }
    TGdiObject box = CutFrame(LoadSkinBitmap("MACOS_TITLEBTN").Handle(), 18, 1);
    TCanvasBitmap pixels(17, 17);
    DrawBitmap(pixels.DC(), box.Handle(), 0, 0);
    EXPECT_LT(2 * Luminance(pixels.Pixel(8, 8)), Luminance(pixels.Pixel(4, 8)))
        << "the normal control box's triangle at most half as bright as the button beside it";
}

TEST(SkinPictures, RotateBitmapTurnsAQuarter)
{
    TGdiObject bar = LoadSkinBitmap("MACOS_TRACKBAR_SLIDER"); // 11 x 20
    TGdiObject turned = RotateBitmap(bar.Handle());
    ASSERT_EQ(BitmapSize(turned.Handle()).cx, 20);
    ASSERT_EQ(BitmapSize(turned.Handle()).cy, 11);
    TCanvasBitmap canvas(1, 1);
    TMemoryDC from(canvas.DC(), bar.Handle());
    TMemoryDC to(canvas.DC(), turned.Handle());
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 11; x += 2)
            EXPECT_EQ(GetPixel(to.Handle(), y, 11 - 1 - x), GetPixel(from.Handle(), x, y)) << x << "," << y;
}

class SkinMenu : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitializeTestApplication();
    }
    SkinMenu()
    {
        menu_.SetUIStyle(MacOS);
        hide_ = &menu_.Items().Add("&Hide");
        line_ = &menu_.Items().Add("-");
        exit_ = &menu_.Items().Add("Exit");
    }
    // Draws an item into a fresh 160 x 20 canvas.
    void Draw(TMenuItem& item, TCanvasBitmap& canvas, bool selected)
    {
        menu_.DrawItem(item, canvas.DC(), RECT{0, 0, 160, 20}, selected);
    }
    TsuiPopupMenu menu_;
    TMenuItem* hide_;
    TMenuItem* line_;
    TMenuItem* exit_;
};

TEST_F(SkinMenu, MacOSItemsMeasureAndShowTheirPictures)
{
    menu_.SetMenuItemHeight(30);
    EXPECT_EQ(menu_.MenuItemHeight(), 20) << "the height is fixed in MacOS";
    TCanvasBitmap canvas(160, 20);
    int width = 0, height = 0;
    menu_.MeasureItem(*line_, canvas.DC(), width, height);
    EXPECT_EQ(height, 12);
    menu_.MeasureItem(*exit_, canvas.DC(), width, height);
    EXPECT_EQ(height, 20);
    SIZE text{};
    {
        TGdiObject font = [] {
            NONCLIENTMETRICSW m{};
            m.cbSize = sizeof m;
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
            return TGdiObject(CreateFontIndirectW(&m.lfMenuFont));
        }();
        TSelectObject selected(canvas.DC(), font.Handle());
        GetTextExtentPoint32W(canvas.DC(), L"Exit", 4, &text);
    }
    EXPECT_EQ(width, text.cx + 66) << "caption + bar + 40";

    Draw(*exit_, canvas, false);
    EXPECT_EQ(canvas.Pixel(150, 10), PictureColor("MACOS_MENU_BAR", 0, 10)) << "normal items show the bar picture";
    TCanvasBitmap selected(160, 20);
    Draw(*exit_, selected, true);
    EXPECT_EQ(selected.Pixel(150, 10), PictureColor("MACOS_MENU_SELECT", 0, 10)) << "the selected item";
    EXPECT_GT(selected.CountIn({30, 4, 80, 18}, RGB(255, 255, 255)), 5) << "white caption when selected";
    EXPECT_GT(canvas.CountIn({30, 4, 80, 18}, RGB(0, 0, 0)), 5) << "black caption otherwise";
}

TEST_F(SkinMenu, DisabledDefaultAcceleratorAndCheckedLooks)
{
    exit_->SetEnabled(false);
    TCanvasBitmap disabled(160, 20);
    Draw(*exit_, disabled, true);
    EXPECT_GT(disabled.CountIn({30, 4, 80, 18}, RGB(0x80, 0x80, 0x80)), 5) << "disabled text is grey";
    EXPECT_EQ(disabled.Pixel(150, 10), PictureColor("MACOS_MENU_BAR", 0, 10))
        << "a disabled item under the mouse is not selected";

    TCanvasBitmap plain(160, 20), bold(160, 20);
    Draw(*hide_, plain, false);
    hide_->SetDefault(true);
    Draw(*hide_, bold, false);
    auto rightmostDark = [](const TCanvasBitmap& c) {
        for (int x = 159; x >= 0; --x)
            if (c.CountDark({x, 0, x + 1, 20}))
                return x;
        return -1;
    };
    EXPECT_GT(rightmostDark(bold), rightmostDark(plain)) << "the default item is bold (and wider)";

    // "&Hide": H is underlined below the baseline, the ampersand not shown.
    TCanvasBitmap amp(160, 20), noAmp(160, 20);
    hide_->SetDefault(false);
    Draw(*hide_, amp, false);
    hide_->SetCaption("Hide");
    Draw(*hide_, noAmp, false);
    int differences = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 30; x < 100; ++x)
            differences += amp.Pixel(x, y) != noAmp.Pixel(x, y);
    EXPECT_GT(differences, 2) << "the accelerator is underlined";
    EXPECT_LT(differences, 16) << "only an underline differs: the ampersand is not drawn";

    TCanvasBitmap checked(160, 20);
    hide_->SetChecked(true);
    Draw(*hide_, checked, false);
    const RECT mark{4, 3, 20, 19};
    EXPECT_GT(checked.CountIn(mark, PictureColor("MENU_CHECKED", 8, 9)), 0) << "the tick at (L + 4, T + 3)";
    int green = 0;
    for (int y = mark.top; y < mark.bottom; ++y)
        for (int x = mark.left; x < mark.right; ++x) {
            COLORREF c = checked.Pixel(x, y);
            green += GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40;
        }
    EXPECT_GT(green, 8) << "a green tick";
    EXPECT_EQ(checked.Pixel(3, 10), plain.Pixel(3, 10)) << "nothing left of it";
}

TEST_F(SkinMenu, OtherStylesFillAndFrameWithTheirColours)
{
    menu_.SetUIStyle(DeepBlue);
    EXPECT_EQ(menu_.MenuItemHeight(), 21);
    EXPECT_EQ(menu_.SeparatorHeight(), 5);
    TCanvasBitmap selected(160, 20), line(160, 20);
    Draw(*exit_, selected, true);
    EXPECT_EQ(selected.Pixel(150, 10), ColorToRGB(GetStyleColor(DeepBlue, SUI_THEME::MenuSelectedBackgroundColor)));
    Draw(*line_, line, false);
    EXPECT_EQ(line.Pixel(5, 10), ColorToRGB(menu_.BarColor())) << "the bar";
    EXPECT_EQ(line.Pixel(60, 2), RGB(0x84, 0x82, 0x84)) << "the separator line at T + 2";
    EXPECT_EQ(line.Pixel(60, 4), ColorToRGB(menu_.Color()));
}

// The system refuses new GDI objects once a process holds some tens of
// thousands: painting more often than that finds a leak of one per paint.
TEST(SkinPainting, RepaintingGivesBackEveryGdiObject)
{
    InitializeTestApplication();
    TsuiPopupMenu menu;
    menu.SetUIStyle(MacOS);
    TMenuItem& item = menu.Items().Add("Hide");
    item.SetChecked(true);
    TCanvasBitmap canvas(160, 20);
    struct TestForm : TForm {
        TestForm() { CreateForm({"soak", {10, 10, 200, 80}, WS_POPUP | WS_VISIBLE, 0, L"Tahoma", 11}); }
    } form;
    TLabel label;
    label.Create(form, {4, 4, 0, 0}, "Images Folder:", form.Font());
    const int paints = 70000;
    int done = 0;
    try {
        for (; done < paints; ++done) {
            menu.DrawItem(item, canvas.DC(), {0, 0, 160, 20}, done % 2 == 0);
            if (done % 4 == 0)
                RedrawWindow(label.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    } catch (const std::exception& error) {
        ADD_FAILURE() << "painting failed after " << done << " paints: " << error.what();
    }
    TGdiObject probe(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_TRUE(probe) << "no GDI object can be made after " << done << " paints: they leak";
}

namespace {

// A file beside the test program, removed again at the end.
class TFileBesideProgram {
public:
    explicit TFileBesideProgram(const std::string& name)
    {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder(path);
        folder = folder.substr(0, folder.find_last_of(L'\\') + 1);
        path_ = WideToUtf8(folder) + name;
    }
    ~TFileBesideProgram() { DeleteFileW(Utf8ToWide(path_).c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

TEST(SkinThemeFile, LoadsBesideTheProgramRepointsItsUsersAndFallsBackToDeepBlue)
{
    TFileBesideProgram file("skin_test_theme.theme");
    TThemeFileWriter writer;
    writer.AddInt("MenuSelectedBackgroundColor", 0x123456);
    writer.AddInt("MenuBackgroundColor", 0x654321);
    writer.SaveToFile(file.Path());

    auto theme = std::make_unique<TsuiFileTheme>();
    TsuiPopupMenu menu;
    menu.SetFileTheme(theme.get());
    menu.SetUIStyle(FromThemeFile);
    EXPECT_EQ(menu.SelectedColor(), GetStyleColor(DeepBlue, SUI_THEME::MenuSelectedBackgroundColor))
        << "without a loaded theme FromThemeFile draws DeepBlue";

    theme->SetThemeFile("no such.theme");
    EXPECT_FALSE(theme->Loaded());
    EXPECT_EQ(theme->ThemeFile(), "");

    // From another folder, so that the bare name exists only beside the
    // program.
    wchar_t here[MAX_PATH], temp[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    GetTempPathW(MAX_PATH, temp);
    SetCurrentDirectoryW(temp);
    theme->SetThemeFile("skin_test_theme.theme");
    SetCurrentDirectoryW(here);
    EXPECT_TRUE(theme->Loaded());
    EXPECT_EQ(theme->ThemeFile(), file.Path()) << "the bare name is completed with the program's folder";
    EXPECT_EQ(menu.SelectedColor(), 0x123456u) << "a loaded theme re-points the components using it";
    EXPECT_EQ(menu.Color(), 0x654321u);
    EXPECT_EQ(theme->GetInt(SUI_THEME::FormBorderWidthInt), -1) << "an absent key";

    theme.reset();
    EXPECT_EQ(menu.UIStyle(), DeepBlue) << "the theme's removal leaves DeepBlue";
    EXPECT_EQ(menu.FileTheme(), nullptr);

    // A damaged file: the error reaches the caller and the theme is not loaded.
    TFileBesideProgram damaged("skin_test_damaged.theme");
    std::vector<uint8_t> bytes = writer.Bytes();
    bytes.resize(bytes.size() - 2);
    {
        TFileStream out(damaged.Path());
        out.WriteBuffer(bytes.data(), bytes.size());
    }
    TsuiFileTheme broken;
    broken.SetThemeFile(file.Path());
    ASSERT_TRUE(broken.Loaded());
    EXPECT_THROW(broken.SetThemeFile(damaged.Path()), EThemeFileError);
    EXPECT_FALSE(broken.Loaded());
    EXPECT_FALSE(ResolveUIStyle(&broken, FromThemeFile).useThemeFile);
    EXPECT_EQ(ResolveUIStyle(&broken, FromThemeFile).effectiveStyle, DeepBlue);
}


namespace {

// A skinned component that only notes each restyle: why, and with what.
class TStyledProbe : public TsuiStyled {
public:
    struct TRestyled {
        TsuiRestyle what;
        TsuiUIStyle style;
        TsuiFileTheme* theme;
        bool operator==(const TRestyled&) const = default;
    };
    std::vector<TRestyled> restyles;

protected:
    void Restyle(TsuiRestyle what) override { restyles.push_back({what, UIStyle(), FileTheme()}); }
};

} // namespace

TEST(SkinStyled, EachChangeOfStyleOrThemeFileRestylesOnceAndOnlyTheThemesUsersHearOfIt)
{
    TFileBesideProgram file("skin_styled_theme.theme");
    TThemeFileWriter writer;
    writer.AddInt("MenuBackgroundColor", 0x654321);
    writer.SaveToFile(file.Path());
    auto first = std::make_unique<TsuiFileTheme>();
    auto second = std::make_unique<TsuiFileTheme>();
    using R = TStyledProbe::TRestyled;
    TStyledProbe probe;
    probe.SetUIStyle(MacOS);
    probe.SetFileTheme(first.get());
    probe.SetFileTheme(second.get());
    EXPECT_EQ(probe.restyles, (std::vector<R>{{TsuiRestyle::Style, MacOS, nullptr},
                                              {TsuiRestyle::Theme, MacOS, first.get()},
                                              {TsuiRestyle::Theme, MacOS, second.get()}}));

    probe.restyles.clear();
    first->SetThemeFile(file.Path());
    EXPECT_TRUE(probe.restyles.empty()) << "the probe left the first theme for the second";
    second->SetThemeFile(file.Path());
    EXPECT_EQ(probe.restyles, (std::vector<R>{{TsuiRestyle::Theme, MacOS, second.get()}}));

    probe.restyles.clear();
    first.reset();
    EXPECT_TRUE(probe.restyles.empty());
    second.reset();
    EXPECT_EQ(probe.restyles, (std::vector<R>{{TsuiRestyle::Style, DeepBlue, nullptr}}))
        << "the theme in use going away leaves DeepBlue";
}

TEST(SkinPainting, LabelsShowThePatternBehindThemAndFitTheirText)
{
    InitializeTestApplication();
    StripedForm form;
    TLabel label;
    label.Create(form, {10, 11, 5, 5}, "Images Folder:", form.Font());
    EXPECT_EQ(label.Width(), label.TextExtent().cx) << "sized to its text";
    EXPECT_GT(label.Width(), 5);
    // The label's own picture, as it paints: the stripes of the form at the
    // label's place, continuing across it, and the text on top.
    TCanvasBitmap canvas(label.Width(), label.Height());
    SendMessageW(label.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
    EXPECT_EQ(canvas.Pixel(label.Width() - 1, 0), RGB(255, 0, 0)) << "row 11 of the form is red";
    EXPECT_EQ(canvas.Pixel(label.Width() - 1, 1), RGB(0, 0, 255)) << "row 12 is blue";
    int text = 0;
    for (int y = 0; y < label.Height(); ++y)
        for (int x = 0; x < label.Width(); ++x) {
            COLORREF c = canvas.Pixel(x, y);
            text += c != RGB(255, 0, 0) && c != RGB(0, 0, 255);
        }
    EXPECT_GT(text, 20) << "the caption is drawn over the stripes";
}

TEST(SkinPainting, LabelsShowTheWholeOfTheirLastGlyph)
{
    InitializeTestApplication();
    StripedForm form;
    // The program's label font, and the texts its quality label shows.
    TGdiObject font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Trebuchet MS"));
    for (const char* caption : {"PNG Compression: 3", "JPG Quality: 100", "Images Folder:", "f", "Wj"}) {
        TLabel label;
        label.Create(form, {10, 10, 5, 5}, caption, static_cast<HFONT>(font.Handle()));
        // The text drawn where it has all the room it wants: its rightmost
        // inked column must lie inside the label.
        TCanvasBitmap free(label.Width() + 20, label.Height());
        TSelectObject selected(free.DC(), font.Handle());
        SetBkMode(free.DC(), TRANSPARENT);
        const std::wstring text = Utf8ToWide(caption);
        RECT r{0, 0, label.Width() + 20, label.Height()};
        DrawTextW(free.DC(), text.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
        int inked = 0;
        for (int x = 0; x < label.Width() + 20; ++x)
            for (int y = 0; y < label.Height(); ++y)
                if (free.Pixel(x, y) != RGB(255, 255, 255))
                    inked = x + 1;
        EXPECT_LE(inked, label.Width()) << caption;
        EXPECT_LE(label.Width(), inked + 2) << caption << ": no more than a little room to spare";
    }
}
