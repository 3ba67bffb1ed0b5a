// The popups at the display scale of the screen they appear on (the test
// runs at 96 dots per inch and again at the scales its cmake entry lists):
// the tray menu's items, the About box and the own balloon window take the
// designed sizes times the scale, and their text is drawn whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "core/DisplayScale.h"
#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Timer.h"
#include "shell/BalloonForm.h"
#include "skin/SUIDlg.h"
#include "skin/SUIPopupMenu.h"

namespace {

// The box around the dark pixels of r; empty when there are none.
RECT InkBox(const TCanvasBitmap& canvas, const RECT& r)
{
    RECT box{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (canvas.CountDark({x, y, x + 1, y + 1})) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
            }
    return box.right > box.left ? box : RECT{0, 0, 0, 0};
}

// The ink of text drawn in black with font on white, with room all round:
// what the text looks like whole.
SIZE WholeInk(const std::wstring& text, HFONT font)
{
    TCanvasBitmap canvas(600, 200);
    TSelectObject selected(canvas.DC(), font);
    SetBkMode(canvas.DC(), TRANSPARENT);
    SetTextColor(canvas.DC(), RGB(0, 0, 0));
    RECT r{20, 20, 600, 200};
    DrawTextW(canvas.DC(), text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    const RECT ink = InkBox(canvas, {0, 0, 600, 200});
    return {ink.right - ink.left, ink.bottom - ink.top};
}

TGdiObject MenuFontAt(const TDisplayScale& scale)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, scale.Dpi());
    return TGdiObject(CreateFontIndirectW(&metrics.lfMenuFont));
}

} // namespace

TEST(PopupScale, MenuItemsAreTheDesignedHeightTimesTheScaleAndTheirTextWhole)
{
    InitializeTestApplication("popup scale test");
    const TDisplayScale scale = SystemScale();
    StripedForm owner({40, 40, 100, 60});
    // The tray menu as the program sets it up.
    TsuiPopupMenu menu;
    menu.SetUIStyle(MacOS);
    menu.SetBarWidth(26);
    const std::vector<std::string> captions{"Hide", "About", "Capture", "-", "Exit"};
    for (const std::string& caption : captions)
        menu.Items().Add(caption);
    menu.Item(2).Add("Whole screen").SetChecked(true);
    menu.Item(2).Add("Active window");

    std::vector<RECT> items;
    std::unique_ptr<TCanvasBitmap> shown;
    RECT area{};
    TTimer look;
    look.SetInterval(300);
    look.OnTimer = [&] {
        HMENU open = menu.Handle();
        if (!open || !items.empty())
            return;
        look.SetEnabled(false);
        for (int i = 0; i < GetMenuItemCount(open); ++i) {
            RECT r{};
            GetMenuItemRect(nullptr, open, static_cast<UINT>(i), &r);
            items.push_back(r);
            UnionRect(&area, &area, &r);
        }
        shown = std::make_unique<TCanvasBitmap>(area.right - area.left, area.bottom - area.top);
        CopyScreen(area, *shown);
        EndMenu();
    };
    look.SetEnabled(true);
    menu.Popup(owner.Handle(), 300, 200);
    ASSERT_EQ(items.size(), captions.size()) << "the menu was seen open";

    TGdiObject font = MenuFontAt(scale);
    const int captionLeft = scale.Position(26 + 4);
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(captions[i]);
        const RECT& r = items[i];
        const bool line = captions[i] == "-";
        EXPECT_EQ(r.bottom - r.top, scale.Length(line ? 12 : 20)) << "the designed height times the scale";
        if (line)
            continue;
        const RECT inItem{r.left - area.left + captionLeft, r.top - area.top, r.right - area.left,
                          r.bottom - area.top};
        const SIZE whole = WholeInk(Utf8ToWide(captions[i]), static_cast<HFONT>(font.Handle()));
        // Only the caption: the sub-menu arrow stands far to its right.
        const RECT caption{inItem.left, inItem.top, inItem.left + whole.cx + scale.Length(6), inItem.bottom};
        const RECT ink = InkBox(*shown, caption);
        EXPECT_EQ(ink.right - ink.left, whole.cx) << "the caption as wide as drawn whole";
        EXPECT_EQ(ink.bottom - ink.top, whole.cy) << "and as high";
        EXPECT_GT(ink.top, inItem.top) << "not cut at the top";
        EXPECT_LT(ink.bottom, inItem.bottom) << "not cut at the bottom";
    }
}

namespace {

// Shows the dialog modally; once it is up, look runs inside the modal run,
// then the dialog is closed.
void ShowAndLook(TsuiMessageDialog& dialog, const std::function<void(TfrmMsg&)>& look)
{
    TTimer timer;
    timer.SetInterval(100);
    timer.OnTimer = [&] {
        TfrmMsg* form = dialog.Window();
        if (!form || !IsWindowVisible(form->Handle()))
            return;
        timer.SetEnabled(false);
        PumpFor(300); // painted
        look(*form);
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    };
    timer.SetEnabled(true);
    dialog.ShowModal();
}

} // namespace

TEST(PopupScale, TheAboutBoxGrowsWithTheScaleAndShowsItsTextWhole)
{
    InitializeTestApplication("popup scale test");
    const TDisplayScale scale = SystemScale();
    TsuiMessageDialog about;
    about.SetCaption("About...");
    about.SetText("Snapquill v1.1");
    TsuiFont font = about.Font();
    font.name = "Trebuchet MS";
    font.height = -12;
    about.SetFont(font);
    about.SetIconType(TsuiIconType::suiInformation);

    RECT outer{};
    int clientWidth = 0;
    TBounds text{}, picture{}, button{};
    SIZE ink{}, whole{};
    ShowAndLook(about, [&](TfrmMsg& form) {
        GetWindowRect(form.Handle(), &outer);
        clientWidth = form.ClientWidth();
        text = form.lbl.Bounds();
        picture = form.Image1.Bounds();
        if (!form.Buttons().empty())
            button = form.Buttons()[0]->Bounds();
        TCanvasBitmap shown(text.width, text.height);
        CopyWindowPixels(form.lbl.Handle(), shown, text.width, text.height);
        const RECT box = InkBox(shown, {0, 0, text.width, text.height});
        ink = {box.right - box.left, box.bottom - box.top};
        // The message's font at the scale: 9 points of Trebuchet MS.
        TGdiObject scaled = MakeFont({"Trebuchet MS", scale.FontHeight(-12), false, 0});
        whole = WholeInk(L"Snapquill v1.1", static_cast<HFONT>(scaled.Handle()));
    });

    const int W = outer.right - outer.left, H = outer.bottom - outer.top;
    const int frame = W - clientWidth;
    EXPECT_EQ(W, scale.Position(336) + frame) << "the designed client area times the scale";
    EXPECT_EQ(text.left, scale.Position(88));
    EXPECT_EQ(text.top, scale.Position(64));
    EXPECT_EQ(text.width, scale.Length(225));
    EXPECT_EQ(picture.left, scale.Position(24));
    EXPECT_EQ(picture.top, scale.Position(64));
    EXPECT_EQ(picture.width, scale.Length(42)) << "the picture at the scale";
    EXPECT_EQ(picture.height, scale.Length(42));
    const int B = std::max(text.top + text.height, scale.Position(64 + 40));
    EXPECT_EQ(H, B + scale.Length(65));
    EXPECT_NEAR(H, 169.0 * scale.Dpi() / 96, 2.0) << "the About box's designed height times the scale";
    EXPECT_EQ(button.left, W - scale.Length(97));
    EXPECT_EQ(button.top, B + scale.Length(20));
    EXPECT_EQ(button.width, scale.Length(73));
    EXPECT_EQ(button.height, scale.Length(25));
    EXPECT_EQ(ink.cx, whole.cx) << "the text whole, in the font of the scale";
    EXPECT_EQ(ink.cy, whole.cy);
}

namespace {

class SilentOwner : public IBalloonOwner {
public:
    void BalloonShown() override {}
    void BalloonHidden() override {}
    void BalloonTimedOut() override {}
    void BalloonClicked() override {}
};

int TextHeight(HFONT font)
{
    TWindowDC screen(nullptr);
    TSelectObject selected(screen.Handle(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Handle(), &metrics);
    return metrics.tmHeight;
}

} // namespace

TEST(PopupScale, TheBalloonGrowsWithTheScale)
{
    InitializeTestApplication("popup scale test");
    const TDisplayScale scale = SystemScale();
    SilentOwner owner;
    const std::string text = "Screenshot successfully saved to C:\\Users\\somebody\\Pictures\\Snapquill\\shot 1.png "
                             "Attributes: 1280x800 pixels, 312 KB, and a few words more to wrap the text.";
    ShowOwnBalloon("Screenshot Saved!", text, niifInfo, false, 255, 0, &owner, nullptr);
    TBalloonLayout layout;
    ASSERT_TRUE(OwnBalloonLayout(layout));
    RECT window{};
    GetWindowRect(OwnBalloonWindow(), &window);
    DestroyOwnBalloon();

    LOGFONTW bold{};
    bold.lfHeight = -MulDiv(8, scale.Dpi(), 72);
    bold.lfWeight = FW_BOLD;
    lstrcpynW(bold.lfFaceName, L"Tahoma", LF_FACESIZE);
    TGdiObject titleFont(CreateFontIndirectW(&bold));
    const int picture = scale.PictureSetPercent() * 16 / 100;

    EXPECT_EQ(window.right - window.left, layout.width);
    EXPECT_EQ(window.bottom - window.top, layout.height);
    EXPECT_EQ(layout.titleLeft, scale.Position(34));
    EXPECT_EQ(layout.titleTop, scale.Position(12));
    EXPECT_EQ(layout.textTop - layout.titleTop - scale.Length(8), TextHeight(static_cast<HFONT>(titleFont.Handle())))
        << "the title in 8-point Tahoma at the scale";
    EXPECT_LE(layout.textWidth, scale.Length(350)) << "wrapped at the scaled width";
    EXPECT_GT(layout.textWidth, scale.Length(280));
    EXPECT_EQ(layout.width, layout.textLeft + layout.textWidth + scale.Length(10));
    EXPECT_EQ(layout.closeLeft, layout.width - scale.Length(6) - picture) << "the close picture of the scale's set";
    EXPECT_EQ(layout.height, layout.textTop + layout.textHeight + scale.Length(10));
}

namespace {

// The width of an icon's colour or mask bitmap.
int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

} // namespace

TEST(PopupScale, AFormsIconsAreTheSizesOfItsScaleAndFollowAMoveToAnother)
{
    const TDisplayScale scale = SystemScale();
    StripedForm form;
    auto iconWidth = [&](WPARAM which) {
        return IconWidth(reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, which, 0)));
    };
    EXPECT_EQ(iconWidth(ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, scale.Dpi()));
    EXPECT_EQ(iconWidth(ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, scale.Dpi()));
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageW(Application.Handle(), WM_GETICON, ICON_SMALL, 0))),
              GetSystemMetricsForDpi(SM_CXSMICON, scale.Dpi()))
        << "the taskbar button's icon";

    const int otherDpi = scale.Dpi() == 192 ? 120 : 192;
    RECT suggested{};
    GetWindowRect(form.Handle(), &suggested);
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(otherDpi, otherDpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(iconWidth(ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, otherDpi));
    EXPECT_EQ(iconWidth(ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, otherDpi));
}
