// The skinned push button and check box under Wine: how they paint in their
// styles, and what the mouse and the keys do to them.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "SkinTestSupport.h"
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Form.h"
#include "framework/Timer.h"
#include "skin/SUIButton.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"

namespace {

const COLORREF kRed = kStripeRed;
const COLORREF kBlue = kStripeBlue;
const COLORREF kMagenta = RGB(255, 0, 255);

// The buttons' form: one-pixel rows, red on odd rows and blue on even ones,
// so that a control showing the form behind it shows rows of the form's own
// place.
class ButtonForm : public StripedForm {
public:
    ButtonForm() : StripedForm({60, 60, 240, 120}, WS_EX_CONTROLPARENT, L"Trebuchet MS", 12) {}
};

// The control's own picture, as it paints itself.
void PaintInto(const TControl& control, TCanvasBitmap& canvas)
{
    SendMessageW(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
}

// How much darker b is than a over r: the ink a drawing added.
int InkAdded(const TCanvasBitmap& a, const TCanvasBitmap& b, const RECT& r)
{
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF p = a.Pixel(x, y), q = b.Pixel(x, y);
            ink += (GetRValue(p) + GetGValue(p) + GetBValue(p)) - (GetRValue(q) + GetGValue(q) + GetBValue(q));
        }
    return ink;
}

int CountWhere(const TCanvasBitmap& canvas, const RECT& r, bool (*test)(COLORREF))
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += test(canvas.Pixel(x, y));
    return n;
}

bool IsStripe(COLORREF c) { return c == kRed || c == kBlue; }

// Moves the real pointer onto the control, so that the system's own idea
// of where the mouse is agrees with the messages a test sends.
void PointAt(const TControl& control)
{
    const POINT centre = CentreOf(control.Handle());
    SetCursorPos(centre.x, centre.y);
}

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

} // namespace

TEST(SkinButton, BrowseButtonShowsTheFormInItsRoundedCornersAndIsCoveredBetweenThem)
{
    ButtonForm form;
    TsuiButton button;
    button.Create(form, {144, 37, 25, 25}, "...", form.Font());
    button.SetUIStyle(MacOS);
    EXPECT_TRUE(button.Transparent()) << "MacOS buttons are transparent";
    TCanvasBitmap canvas(25, 25);
    PaintInto(button, canvas);

    // The corners are the form's rows at the button's place: row 37 is red.
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.Pixel(0, 1), kBlue);
    EXPECT_EQ(canvas.Pixel(24, 0), kRed);
    EXPECT_EQ(canvas.Pixel(0, 24), kRed);
    EXPECT_EQ(canvas.Pixel(24, 24), kRed);
    EXPECT_EQ(canvas.CountIn({0, 0, 25, 25}, kMagenta), 0) << "the key colour never shows";
    // Between the corners (columns 12, 13 and rows 11 to 14) the face's
    // middle is stretched: no stripe shows through.
    EXPECT_EQ(CountWhere(canvas, {12, 0, 14, 25}, IsStripe), 0);
    EXPECT_EQ(CountWhere(canvas, {2, 11, 23, 15}, IsStripe), 0);
    EXPECT_GE(canvas.CountDark({4, 4, 21, 21}), 3) << "the caption is drawn";

    // DeepBlue is opaque, over the button's colour.
    button.SetUIStyle(DeepBlue);
    EXPECT_FALSE(button.Transparent());
    button.SetColor(0x00FF00);
    TCanvasBitmap opaque(25, 25);
    PaintInto(button, opaque);
    EXPECT_EQ(CountWhere(opaque, {0, 0, 25, 25}, IsStripe), 0);
}

TEST(SkinButton, FocusIsABoldCaptionInMacOSAndADottedRectangleInDeepBlue)
{
    ButtonForm form;
    TEdit other;
    other.Create(form, {0, 0, 40, 20}, "", false, nullptr);
    TsuiButton button;
    button.Create(form, {60, 40, 75, 25}, "Browse", form.Font());
    for (TsuiUIStyle style : {MacOS, DeepBlue}) {
        button.SetUIStyle(style);
        other.SetFocus();
        TCanvasBitmap plain(75, 25), focused(75, 25);
        PaintInto(button, plain);
        button.SetFocus();
        ASSERT_TRUE(button.Focused());
        PaintInto(button, focused);
        // The ring 2 pixels inside the edge, and those 1 and 3 inside.
        auto ringChanges = [&](int inset) {
            int n = 0;
            for (int x = inset; x < 75 - inset; ++x)
                n += (plain.Pixel(x, inset) != focused.Pixel(x, inset)) +
                     (plain.Pixel(x, 24 - inset) != focused.Pixel(x, 24 - inset));
            for (int y = inset + 1; y < 24 - inset; ++y)
                n += (plain.Pixel(inset, y) != focused.Pixel(inset, y)) +
                     (plain.Pixel(74 - inset, y) != focused.Pixel(74 - inset, y));
            return n;
        };
        const RECT caption{6, 4, 69, 21};
        if (style == MacOS) {
            EXPECT_EQ(ringChanges(2), 0) << "no dotted rectangle in MacOS";
            EXPECT_GT(InkAdded(plain, focused, caption), 255 * 10) << "the caption turns bold";
        } else {
            EXPECT_GT(ringChanges(2), 60) << "a dotted rectangle 2 pixels inside the edge";
            EXPECT_EQ(ringChanges(1), 0);
            EXPECT_EQ(ringChanges(3), 0);
            EXPECT_EQ(InkAdded(plain, focused, caption), 0) << "the caption stays as it was";
        }
    }
}

TEST(SkinButton, HeldDownItRepeatsUntilReleasedAndItsClickSetsTheModalResult)
{
    ButtonForm form;
    TsuiButton button;
    button.Create(form, {20, 20, 75, 25}, "Hold", form.Font());
    button.SetModalResult(mrOk);
    button.SetMouseContinuouslyDownInterval(10);
    int ticks = 0, clicks = 0, enters = 0, exits = 0;
    button.OnMouseContinuouslyDown = [&] { ++ticks; };
    button.OnClick = [&] { ++clicks; };
    button.OnMouseEnter = [&] { ++enters; };
    button.OnMouseExit = [&] { ++exits; };
    PointAt(button);
    const HWND window = button.Handle();

    SendMessageW(window, WM_MOUSEMOVE, 0, At(30, 12));
    EXPECT_EQ(enters, 1);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 12));
    EXPECT_TRUE(button.Pressed());
    PumpWait(200);
    EXPECT_GT(ticks, 2) << "the held button repeats";
    EXPECT_EQ(clicks, 0);
    SendMessageW(window, WM_LBUTTONUP, 0, At(30, 12));
    EXPECT_FALSE(button.Pressed());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.ModalResult(), mrOk) << "the click sets the form's modal result";
    EXPECT_TRUE(button.Focused()) << "a click gives the button the focus";
    const int afterRelease = ticks;
    PumpWait(100);
    EXPECT_EQ(ticks, afterRelease) << "released, it stops repeating";

    // Pressed, then dragged off (the right edge still counts as inside):
    // leaving lets go without a click.
    form.SetModalResult(mrNone);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 12));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(75, 12));
    EXPECT_TRUE(button.Pressed()) << "on the edge";
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(76, 12));
    EXPECT_FALSE(button.Pressed());
    EXPECT_EQ(exits, 1);
    const int afterLeaving = ticks;
    PumpWait(100);
    EXPECT_EQ(ticks, afterLeaving) << "off the button, it stops repeating";
    SendMessageW(window, WM_LBUTTONUP, 0, At(120, 12));
    EXPECT_EQ(clicks, 1) << "released elsewhere: no click";
    EXPECT_EQ(form.ModalResult(), mrNone);
    EXPECT_NE(GetCapture(), window);
}

namespace {

// A dialog with an edit, OK (Default) and Cancel (Cancel).
class ButtonDialog : public TForm {
public:
    ButtonDialog()
    {
        InitializeTestApplication();
        CreateForm({"dialog", {200, 200, 240, 100}, WS_POPUP | WS_CAPTION, WS_EX_CONTROLPARENT, L"Tahoma", 11});
        edit.Create(*this, {8, 8, 150, 20}, "", false, nullptr);
        ok.Create(*this, {8, 40, 75, 25}, "OK", nullptr);
        ok.SetModalResult(mrOk);
        ok.SetDefault(true);
        cancel.Create(*this, {90, 40, 75, 25}, "Cancel", nullptr);
        cancel.SetModalResult(mrCancel);
        cancel.SetCancel(true);
        watchdog.OnTimer = [this] { SetModalResult(-1); };
        watchdog.SetInterval(3000);
    }
    ~ButtonDialog() override { DestroyHandle(); }
    // Runs the dialog with key, sent to target once the run has begun.
    int RunWithKey(TControl& target, WORD key)
    {
        watchdog.SetEnabled(true);
        PostMessageW(target.Handle(), WM_KEYDOWN, key, 0);
        PostMessageW(target.Handle(), WM_KEYUP, key, 0xC0000001);
        const int result = ShowModal();
        watchdog.SetEnabled(false);
        return result;
    }
    TEdit edit;
    TsuiButton ok;
    TsuiButton cancel;
    TTimer watchdog;
};

} // namespace

TEST(SkinButton, EnterAndEscapeClickDefaultAndCancelAndAFocusedButtonTakesEnterAndSpace)
{
    ButtonDialog dialog;
    int okClicks = 0, cancelClicks = 0;
    dialog.ok.OnClick = [&] { ++okClicks; };
    dialog.cancel.OnClick = [&] { ++cancelClicks; };
    EXPECT_EQ(dialog.RunWithKey(dialog.edit, VK_RETURN), mrOk) << "Enter clicks the Default button";
    EXPECT_EQ(dialog.RunWithKey(dialog.edit, VK_ESCAPE), mrCancel) << "Escape clicks the Cancel button";
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(cancelClicks, 1);

    // Enter and Space on the focused Cancel button press it; the release
    // clicks it, not the Default button.
    dialog.Show();
    dialog.cancel.SetFocus();
    for (WORD key : {WORD(VK_RETURN), WORD(VK_SPACE)}) {
        const int before = cancelClicks;
        PostMessageW(dialog.cancel.Handle(), WM_KEYDOWN, key, 0);
        Application.ProcessMessages();
        EXPECT_TRUE(dialog.cancel.Pressed()) << key;
        EXPECT_EQ(cancelClicks, before) << key;
        PostMessageW(dialog.cancel.Handle(), WM_KEYUP, key, 0xC0000001);
        Application.ProcessMessages();
        EXPECT_FALSE(dialog.cancel.Pressed()) << key;
        EXPECT_EQ(cancelClicks, before + 1) << key;
    }
    EXPECT_EQ(okClicks, 1);

    // A disabled Default button is not clicked.
    dialog.edit.SetFocus();
    dialog.ok.SetEnabled(false);
    EXPECT_FALSE(DialogKeyToControls(dialog, VK_RETURN));
    EXPECT_EQ(okClicks, 1);
}

TEST(SkinCheckBox, ShowsTheGlyphFrameOfItsStateAndTogglesBySpaceAndClick)
{
    ButtonForm form;
    TsuiCheckBox box;
    box.Create(form, {0, 30, 170, 22}, "Include Taskbar", false, form.Font());
    box.SetUIStyle(MacOS);
    ASSERT_TRUE(box.AutoSize());
    const int h = box.Height();
    EXPECT_GE(h, 17 + 4);
    TGdiObject strip = LoadSkinBitmap("MACOS_CHECKBOX");

    // Frame 1 checked, 2 unchecked; 3 and 4 the same disabled.
    struct Case {
        bool checked, enabled;
        int frame;
    } cases[] = {{true, true, 1}, {false, true, 2}, {true, false, 3}, {false, false, 4}};
    int captionInk[2] = {0, 0};
    SetFocus(form.Handle()); // no focus rectangle
    for (const Case& c : cases) {
        box.SetChecked(c.checked);
        box.SetEnabled(c.enabled);
        TCanvasBitmap canvas(box.Width(), h);
        PaintInto(box, canvas);
        TGdiObject frame = CutFrame(strip.Handle(), 4, c.frame);
        TCanvasBitmap expected(15, 17);
        DrawBitmap(expected.DC(), frame.Handle(), 0, 0);
        const int top = (h - 17) / 2;
        int wrong = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 15; ++x)
                wrong += canvas.Pixel(1 + x, top + y) != expected.Pixel(x, y);
        EXPECT_EQ(wrong, 0) << "frame " << c.frame << " at (1, " << top << ")";
        captionInk[c.enabled] = canvas.CountDark({15 + 4, 0, box.Width(), h});
    }
    EXPECT_GT(captionInk[1], 20);
    EXPECT_EQ(captionInk[0], captionInk[1]) << "a disabled box's caption keeps its colour";

    box.SetEnabled(true);
    box.SetChecked(false);
    int changes = 0, clicks = 0;
    box.OnChange = [&] { ++changes; };
    box.OnClick = [&] { ++clicks; };
    box.SetFocus();
    SendMessageW(box.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(box.Checked());
    SendMessageW(box.Handle(), WM_KEYDOWN, VK_SPACE, 0x40000001); // the key held down
    EXPECT_TRUE(box.Checked()) << "a held key toggles once";
    SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(box.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_FALSE(box.Checked()) << "a click toggles";
    EXPECT_EQ(clicks, 2);
    box.SetChecked(true);
    EXPECT_EQ(changes, 3) << "every change is told";
    EXPECT_EQ(clicks, 2) << "only the user's toggles are clicks";
}

TEST(SkinControls, DrawDeepBlueOnceTheirThemeFileGoes)
{
    ButtonForm form;
    TsuiButton button;
    button.Create(form, {0, 0, 75, 25}, "OK", nullptr);
    TsuiCheckBox box;
    box.Create(form, {0, 30, 0, 0}, "Notify", false, nullptr);
    auto theme = std::make_unique<TsuiFileTheme>();
    button.SetFileTheme(theme.get());
    button.SetUIStyle(MacOS);
    box.SetFileTheme(theme.get());
    box.SetUIStyle(MacOS);
    theme.reset();
    EXPECT_EQ(button.UIStyle(), DeepBlue);
    EXPECT_EQ(button.FileTheme(), nullptr);
    EXPECT_FALSE(button.Transparent());
    EXPECT_EQ(box.UIStyle(), DeepBlue);
    EXPECT_EQ(box.FileTheme(), nullptr);
}
