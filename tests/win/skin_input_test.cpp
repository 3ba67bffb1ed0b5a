// The skinned edit, combo box and track bar on the desktop: their frames
// and pictures as they reach the screen, and the track bar's keys, dragging
// and paging, driven by window messages as the user's input produces them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "SkinTestSupport.h"
#include "framework/Application.h"
#include "skin/SUIColors.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIEdit.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"
#include "skin/SUITrackBar.h"

namespace {

const COLORREF kMacBorder = RGB(0x7F, 0x7F, 0x7F);
const COLORREF kWhite = RGB(255, 255, 255);

class TestForm : public TForm {
public:
    TestForm() { CreateForm({"input", {60, 60, 300, 200}, WS_POPUP | WS_VISIBLE, 0, L"Trebuchet MS", 12}); }
    ~TestForm() override { DestroyHandle(); }
};

class SkinInput : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitializeTestApplication();
    }
    // Lets every posted message, paint and timer due now be handled.
    void Pump()
    {
        for (int i = 0; i < 5; ++i) {
            Application.ProcessMessages();
            RedrawWindow(form_.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    }
    // The form's pixels as they are on the screen.
    std::unique_ptr<TCanvasBitmap> Screen()
    {
        Pump();
        auto canvas = std::make_unique<TCanvasBitmap>(300, 200);
        CopyWindowPixels(form_.Handle(), *canvas, 300, 200);
        return canvas;
    }
    void Key(HWND window, WPARAM key)
    {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
        Pump();
    }
    TestForm form_;
};

} // namespace

TEST_F(SkinInput, EditsAreFramedInBorderColorWithTheTextInsideAndReportOnlyTheUsersChanges)
{
    TsuiEdit edit, folder;
    edit.Create(form_, {10, 10, 113, 19}, "shot", false, form_.Font());
    folder.Create(form_, {10, 40, 137, 19}, "", true, form_.Font());
    edit.SetUIStyle(MacOS);
    folder.SetUIStyle(MacOS);
    EXPECT_EQ(edit.BorderColor(), 0x7F7F7Fu);
    auto screen = Screen();
    for (const TsuiEdit* e : {&edit, &folder}) {
        const int l = e->Left(), t = e->Top(), r = l + e->Width() - 1, b = t + e->Height() - 1;
        for (POINT p : {POINT{l, t}, POINT{r, t}, POINT{l, b}, POINT{r, b}, POINT{(l + r) / 2, t},
                        POINT{(l + r) / 2, b}, POINT{l, (t + b) / 2}, POINT{r, (t + b) / 2}})
            EXPECT_EQ(screen->Pixel(p.x, p.y), kMacBorder) << "outer frame at " << p.x << "," << p.y;
        for (POINT p : {POINT{l + 1, t + 1}, POINT{r - 1, b - 1}, POINT{(l + r) / 2, t + 1}, POINT{l + 1, (t + b) / 2}})
            EXPECT_EQ(screen->Pixel(p.x, p.y), kWhite) << "inner frame at " << p.x << "," << p.y;
        EXPECT_EQ(screen->Pixel(r - 4, (t + b) / 2), kWhite) << "white background, read-only or not";
    }
    EXPECT_GT(screen->CountDark({edit.Left() + 2, edit.Top() + 2, edit.Left() + 40, edit.Top() + 17}), 10)
        << "the text is drawn inside the frame";

    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetText("other");
    EXPECT_EQ(changes, 0) << "setting the text from the program is not a change by the user";
    edit.SetFocus();
    PostMessageW(edit.Handle(), WM_CHAR, 'x', 1);
    Pump();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.Text(), "xother");
    EXPECT_EQ(Screen()->Pixel(edit.Left(), edit.Top()), kMacBorder) << "typing keeps the frame";

    PostMessageW(folder.Handle(), WM_CHAR, 'x', 1);
    Pump();
    EXPECT_EQ(folder.Text(), "") << "read-only";
    edit.SetUIStyle(DeepBlue);
    EXPECT_EQ(Screen()->Pixel(edit.Left(), edit.Top()), RGB(0, 0, 0)) << "DeepBlue frames in black";
}

TEST_F(SkinInput, ComboBoxDrawsFrameButtonPictureAndArrowOverTheSystemsLook)
{
    TsuiComboBox combo;
    combo.Create(form_, {10, 10, 169, 24}, {"BMP Format", "JPG Format", "PNG Format"}, 0, 16, form_.Font());
    combo.SetUIStyle(MacOS);
    EXPECT_EQ(combo.Height(), 24) << "the closed box is as high as asked";
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo.Handle(), &info));
    const RECT button = info.rcButton;
    ASSERT_GT(button.right - button.left, 4);
    // What the button should show: the picture stretched over it.
    TCanvasBitmap expected(button.right - button.left, button.bottom - button.top);
    TGdiObject picture = LoadSkinBitmap("MACOS_COMBOBOX_BUTTON");
    StretchBitmap(expected.DC(), picture.Handle(), {0, 0, button.right - button.left, button.bottom - button.top});
    const int arrowX = button.left + (button.right - button.left) / 2 - 3;
    const int arrowY = (button.bottom - button.top) / 2;

    TCanvasBitmap shown(169, 24);
    CopyWindowPixels(combo.Handle(), shown, 169, 24);
    for (POINT p : {POINT{0, 0}, POINT{168, 0}, POINT{0, 23}, POINT{168, 23}, POINT{80, 0}, POINT{80, 23}})
        EXPECT_EQ(shown.Pixel(p.x, p.y), kMacBorder) << "outer frame at " << p.x << "," << p.y;
    for (POINT p : {POINT{1, 1}, POINT{80, 22}, POINT{1, 12}})
        EXPECT_EQ(shown.Pixel(p.x, p.y), kWhite) << "inner frame at " << p.x << "," << p.y;
    int differences = 0;
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x) {
            const bool arrow = y >= arrowY && y <= arrowY + 3 && x >= arrowX && x <= arrowX + 6;
            differences += !arrow && shown.Pixel(x, y) != expected.Pixel(x - button.left, y - button.top);
        }
    EXPECT_EQ(differences, 0) << "the button shows the MacOS button picture";
    EXPECT_EQ(shown.Pixel(arrowX + 3, arrowY + 1), RGB(0, 0, 0)) << "a black arrow";
    EXPECT_GT(shown.CountDark({4, 4, 60, 20}), 10) << "the selected item's text";

    combo.SetEnabled(false);
    CopyWindowPixels(combo.Handle(), shown, 169, 24);
    EXPECT_EQ(shown.Pixel(arrowX + 3, arrowY + 1), RGB(0x80, 0x80, 0x80)) << "a disabled arrow is grey";
    EXPECT_EQ(shown.Pixel(arrowX + 4, arrowY + 3), kWhite) << "over its white shadow";
    combo.SetEnabled(true);

    combo.SetUIStyle(DeepBlue);
    CopyWindowPixels(combo.Handle(), shown, 169, 24);
    EXPECT_EQ(shown.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(shown.Pixel(button.right - 2, button.bottom - 2), RGB(0xE8, 0xE8, 0xE8)) << "ButtonColor fill";
    EXPECT_EQ(shown.Pixel(button.left, button.top + 3), RGB(0, 0, 0)) << "the BorderColor line at its left";

    int changes = 0, selects = 0;
    combo.OnChange = [&] { ++changes; };
    combo.OnSelect = [&] { ++selects; };
    combo.SetItemIndex(2);
    EXPECT_EQ(changes, 0) << "selecting from the program is not the user's choice";
    combo.SetFocus();
    Key(combo.Handle(), VK_UP);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selects, 1);
}

TEST_F(SkinInput, ComboBoxDropsItsListInRowsOfItsItemHeightInTheStylesColours)
{
    TsuiComboBox combo;
    combo.Create(form_, {10, 10, 169, 24}, {"BMP Format", "JPG Format", "PNG Format"}, 0, 16, form_.Font());
    combo.SetUIStyle(MacOS);
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo.Handle(), &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0), 16);
    RECT client{};
    GetClientRect(info.hwndList, &client);
    EXPECT_EQ(client.bottom, 3 * 16) << "three rows of 16 pixels";
    TCanvasBitmap list(client.right, client.bottom);
    CopyWindowPixels(info.hwndList, list, client.right, client.bottom);
    const COLORREF selected = ColorToRGB(combo.SelectedColor());
    EXPECT_EQ(selected, RGB(0x39, 0x73, 0xC4)) << "MacOS's selection colour";
    EXPECT_EQ(list.CountIn({0, 0, client.right, 16}, selected) * 2 > client.right * 16, true)
        << "the selected first row in the selection colour";
    EXPECT_EQ(list.Pixel(client.right - 3, 16 + 8), kWhite) << "the other rows on the box's colour";
    EXPECT_GT(list.CountDark({0, 16, 60, 32}), 10) << "the second item's text";
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Pump();
}

TEST_F(SkinInput, AComboBoxsTipStaysOffItsDroppedList)
{
    TsuiComboBox combo;
    combo.Create(form_, {10, 10, 169, 24}, {"BMP Format", "JPG Format", "PNG Format"}, 0, 16, form_.Font());
    // A tip as the program's window gives its controls.
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               combo.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(tip, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = combo.Handle();
    GetClientRect(combo.Handle(), &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(L"Screenshots will be saved with this filetype");
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    combo.AttachTip(tip);
    // The tip shows (or not) a while after the pointer came to rest.
    // Wine delivers injected moves late: the pointer first rests away
    // long enough for the tip to see it leave, then comes to rest on the box.
    auto tipAfterRest = [&](POINT at) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 600;)
            Pump();
        MovePointer(at);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 4000 && !IsWindowVisible(tip);)
            Pump();
        return IsWindowVisible(tip) != FALSE;
    };
    POINT box{60, 12};
    ClientToScreen(combo.Handle(), &box);
    EXPECT_TRUE(tipAfterRest(box)) << "resting on the closed box shows its tip";
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(tip)) << "dropping the list takes the tip away";
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    const POINT away{box.x + 300, box.y + 300};
    MovePointer(away);
    Pump();
    // Onto the box, a click that drops the list at once, and the pointer
    // resting there: the tip's delay runs out while the list is open.
    MovePointer({box.x + 3, box.y});
    Pump();
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        MovePointer({box.x + 3, box.y}, button);
    bool shown = false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
        Pump();
        shown = shown || IsWindowVisible(tip);
    }
    EXPECT_TRUE(combo.DroppedDown()) << "the click dropped the list";
    EXPECT_FALSE(shown) << "the tip stays away while the list is open";
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    MovePointer(away);
    Pump();
    EXPECT_TRUE(tipAfterRest(box)) << "the closed box has its tip again";
    MovePointer(away);
    Pump();
}

namespace {

// The program's quality slider: 1..3 at 2, 169 wide, MacOS.
class SkinTrackBar : public SkinInput {
protected:
    SkinTrackBar()
    {
        bar_.Create(form_, {0, 100, 169, 20}, 1, 3, 2, 2, 1);
        bar_.SetUIStyle(MacOS);
        bar_.OnChange = [this] { ++changes_; };
    }
    int SliderLeft() const { return bar_.SliderRect().left; }
    void Mouse(UINT message, int x, int y)
    {
        PostMessageW(bar_.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
    }
    TsuiTrackBar bar_;
    int changes_ = 0;
};

} // namespace

TEST_F(SkinTrackBar, KeysMoveTheSliderAndReportEachRealChangeOnce)
{
    EXPECT_TRUE(bar_.Transparent()) << "MacOS makes the track bar transparent";
    EXPECT_EQ(bar_.Height(), 20) << "as high as the slider picture";
    EXPECT_EQ(bar_.SliderRect().right - SliderLeft(), 11);
    EXPECT_EQ(SliderLeft(), 79);
    bar_.SetFocus();
    ASSERT_EQ(GetFocus(), bar_.Handle());
    Key(bar_.Handle(), VK_HOME);
    EXPECT_EQ(bar_.Position(), 1);
    EXPECT_EQ(SliderLeft(), 0);
    Key(bar_.Handle(), VK_HOME);
    Key(bar_.Handle(), VK_LEFT);
    EXPECT_EQ(changes_, 1) << "keys that leave the position where it is report nothing";
    Key(bar_.Handle(), VK_END);
    EXPECT_EQ(SliderLeft(), 158);
    Key(bar_.Handle(), VK_LEFT); // through the form's dialog navigation: the arrows reach the bar
    EXPECT_EQ(bar_.Position(), 2);
    EXPECT_EQ(GetFocus(), bar_.Handle());
    Key(bar_.Handle(), VK_NEXT);
    EXPECT_EQ(bar_.Position(), 3) << "Page Down is kept within Max";
    Key(bar_.Handle(), VK_PRIOR);
    EXPECT_EQ(bar_.Position(), 1);
    EXPECT_EQ(changes_, 5);

    bar_.SetPageSize(4);
    EXPECT_EQ(bar_.PageSize(), 2) << "a page size above Max is ignored";
    bar_.SetMax(100);
    bar_.SetPosition(250);
    EXPECT_EQ(bar_.Position(), 100);
    EXPECT_EQ(changes_, 6);
}

TEST_F(SkinTrackBar, DraggingTheSliderFollowsThePointerWithTheMouseCaptured)
{
    auto screen = Screen();
    TGdiObject picture = LoadSkinBitmap("MACOS_TRACKBAR_SLIDER");
    TCanvasBitmap slider(11, 20);
    DrawBitmap(slider.DC(), picture.Handle(), 0, 0);
    EXPECT_EQ(screen->Pixel(79 + 5, 100 + 8), slider.Pixel(5, 8)) << "the slider picture is shown";
    EXPECT_EQ(SendMessageW(bar_.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    HWND sliderWindow = GetWindow(bar_.Handle(), GW_CHILD);
    EXPECT_EQ(SendMessageW(sliderWindow, WM_NCHITTEST, 0, MAKELPARAM(60 + 84, 60 + 110)), HTTRANSPARENT)
        << "a click on the slider reaches the track bar";

    Mouse(WM_LBUTTONDOWN, 79 + 3, 10);
    EXPECT_TRUE(bar_.Dragging());
    EXPECT_EQ(GetCapture(), bar_.Handle());
    Mouse(WM_MOUSEMOVE, 158 + 3, 10);
    EXPECT_EQ(bar_.Position(), 3);
    EXPECT_EQ(SliderLeft(), 158);
    Mouse(WM_MOUSEMOVE, 300, 10);
    EXPECT_EQ(bar_.Position(), 3) << "kept within range";
    Mouse(WM_MOUSEMOVE, 3, 10);
    EXPECT_EQ(bar_.Position(), 1);
    EXPECT_EQ(changes_, 2);
    Mouse(WM_LBUTTONUP, 3, 10);
    EXPECT_FALSE(bar_.Dragging());
    EXPECT_NE(GetCapture(), bar_.Handle());
    Mouse(WM_MOUSEMOVE, 160, 10);
    EXPECT_EQ(bar_.Position(), 1) << "after the button is up the slider stays";
    EXPECT_FALSE(bar_.Paging()) << "dragging starts no page timer";
}

TEST_F(SkinTrackBar, ItsFocusRectangleShowsWholeOverTheBarsEndsAndTheSlider)
{
    bar_.SetFocus();
    auto screen = Screen();
    // A dot on every other pixel of the control's edge, (0, 0) included.
    int missing = 0;
    auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            missing += screen->Pixel(x, 100 + y) != RGB(0, 0, 0);
    };
    for (int x = 0; x < 169; ++x) {
        dot(x, 0);
        dot(x, 19);
    }
    for (int y = 0; y < 20; ++y) {
        dot(0, y);
        dot(168, y);
    }
    EXPECT_EQ(missing, 0) << "dots hidden by the bar's ends or the slider";
    SetFocus(form_.Handle());
    EXPECT_NE(Screen()->Pixel(0, 100), RGB(0, 0, 0)) << "no dots without the focus";
}

TEST_F(SkinTrackBar, HoldingTheTrackPagesTowardsThePointerUntilTheButtonGoesUp)
{
    Mouse(WM_LBUTTONDOWN, 165, 10);
    EXPECT_EQ(bar_.Position(), 3) << "min(2 + PageSize, position at the pointer), within Max";
    Mouse(WM_LBUTTONUP, 165, 10);
    EXPECT_FALSE(bar_.Paging());

    bar_.SetMax(100);
    bar_.SetPosition(10);
    changes_ = 0;
    // 158 px for 99 steps: the pointer at 120 + 5 points at about 75.
    const int target = PositionAtPoint({1, 100, 10, 2, 1}, 125, 169, 11);
    Mouse(WM_LBUTTONDOWN, 125, 10);
    EXPECT_EQ(bar_.Position(), 12) << "the first step is one page";
    EXPECT_TRUE(bar_.Paging()) << "the repeat timer runs while the button is held";
    for (DWORD start = GetTickCount(); bar_.Position() < target && GetTickCount() - start < 5000;)
        Pump();
    EXPECT_EQ(bar_.Position(), target) << "repeated steps stop at the pointer";
    EXPECT_GE(changes_, 3) << "in steps of three pages, each reported";
    Mouse(WM_LBUTTONUP, 125, 10);
    EXPECT_FALSE(bar_.Paging()) << "button up ends the timer";

    Mouse(WM_LBUTTONDOWN, 2, 10);
    EXPECT_EQ(bar_.Position(), target - 2) << "left of the slider: one page down";
    PostMessageW(bar_.Handle(), WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_FALSE(bar_.Paging()) << "leaving the control ends the timer";
    const int left = bar_.Position();
    for (DWORD start = GetTickCount(); GetTickCount() - start < 300;)
        Pump();
    EXPECT_EQ(bar_.Position(), left) << "no more steps after the timer ended";
}

TEST_F(SkinInput, ControlsSignOutOfTheirThemeAndFallBackToDeepBlueWhenItGoes)
{
    auto theme = std::make_unique<TsuiFileTheme>();
    TsuiEdit edit;
    TsuiComboBox combo;
    TsuiTrackBar bar;
    edit.Create(form_, {10, 10, 100, 19}, "", false, form_.Font());
    combo.Create(form_, {10, 40, 100, 24}, {"a"}, 0, 16, form_.Font());
    bar.Create(form_, {10, 80, 100, 20}, 0, 10, 0);
    for (TsuiStyled* control : std::initializer_list<TsuiStyled*>{&edit, &combo, &bar}) {
        control->SetUIStyle(MacOS);
        control->SetFileTheme(theme.get());
    }
    EXPECT_EQ(edit.BorderColor(), 0x7F7F7Fu);
    theme.reset();
    for (TsuiStyled* control : std::initializer_list<TsuiStyled*>{&edit, &combo, &bar}) {
        EXPECT_EQ(control->UIStyle(), DeepBlue);
        EXPECT_EQ(control->FileTheme(), nullptr);
    }
    EXPECT_EQ(edit.BorderColor(), 0u);
    EXPECT_EQ(combo.ButtonColor(), 0xE8E8E8u);
    // Controls that go first sign out: the theme's end then tells no one.
    auto second = std::make_unique<TsuiFileTheme>();
    {
        TsuiEdit shortLived;
        shortLived.Create(form_, {10, 120, 100, 19}, "", false, form_.Font());
        shortLived.SetFileTheme(second.get());
    }
    second.reset();
}
