// High contrast switched on while a skinned window is up: the window hears
// of it as Windows tells it (WM_SETTINGCHANGE) and draws itself anew in the
// system's colours, without the style's pictures; switched off, its style
// comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include "SkinTestSupport.h"
#include "skin/SUIButton.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUIHighContrast.h"

namespace {

// A MacOS form of 174 x 224 with a button and an empty edit.
class ContrastForm : public TForm {
public:
    ContrastForm()
    {
        InitializeTestApplication("skin test");
        RECT outer{0, 0, 174, 224};
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        AdjustWindowRectEx(&outer, style & ~WS_CAPTION, FALSE, WS_EX_DLGMODALFRAME);
        CreateForm({"", {246, 140, outer.right - outer.left, outer.bottom - outer.top}, style,
                    WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, L"Tahoma", 11});
        frame.Create(*this);
        frame.SetUIStyle(MacOS);
        frame.SetColor(0xE7E7E7);
        frame.SetBorderColor(0x7F7F7F);
        frame.SetCaption("");
        frame.TitleBar().ClearButtons();
        button.Create(frame, {20, 60, 80, 24}, "OK");
        edit.Create(frame, {20, 100, 100, 20}, "", false, nullptr);
        Show();
        SetForegroundWindow(Handle());
        button.SetFocus();
        Settle();
    }
    ~ContrastForm() override
    {
        OverrideHighContrast(std::nullopt);
        DestroyHandle();
    }

    static void Settle()
    {
        for (int i = 0; i < 20; ++i) {
            Application.ProcessMessages();
            Sleep(10);
        }
    }
    // Windows' high contrast switched, as Windows announces it.
    void SwitchHighContrast(bool on)
    {
        OverrideHighContrast(on);
        SendMessageW(Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        Settle();
    }
    COLORREF At(const TWindow& window, int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(window.Handle(), &p);
        return ScreenPixel(p);
    }

    TsuiForm frame;
    TsuiButton button;
    TsuiEdit edit;
};

} // namespace

TEST(HighContrast, SwitchedOnAtRunTimeTheWindowRedrawsInSystemColoursAndBackInItsStyle)
{
    ContrastForm form;
    TsuiTitleBar& bar = form.frame.TitleBar();
    const int barX = bar.Width() - 20;
    const COLORREF styledTitle = form.At(bar, barX, 6);
    const COLORREF styledButton = form.At(form.button, 3, 12);
    ASSERT_NE(styledTitle, SystemColor(TsuiColorRole::Highlight)) << "the style's title is the system's colour";

    form.SwitchHighContrast(true);
    EXPECT_EQ(form.At(bar, barX, 6), SystemColor(TsuiColorRole::Highlight)) << "the active title";
    EXPECT_EQ(form.At(form.button, 3, 12), SystemColor(TsuiColorRole::ButtonFace)) << "the button's face";
    EXPECT_EQ(form.At(form.button, 0, 12), SystemColor(TsuiColorRole::ButtonText)) << "the button's edge";
    EXPECT_EQ(form.At(form.edit, 4, 8), SystemColor(TsuiColorRole::Window)) << "the field";
    EXPECT_EQ(form.At(form.frame, 150, 200), SystemColor(TsuiColorRole::ButtonFace)) << "the form's face";
    RECT outer{};
    GetWindowRect(form.Handle(), &outer);
    EXPECT_EQ(ScreenPixel({outer.left, outer.top + 60}), SystemColor(TsuiColorRole::WindowText)) << "the border";

    form.SwitchHighContrast(false);
    EXPECT_EQ(form.At(bar, barX, 6), styledTitle) << "the style's title does not come back";
    EXPECT_EQ(form.At(form.button, 3, 12), styledButton) << "the style's button does not come back";
}
