// The skinned message dialog under Wine, shown modally and handled as a user
// would: the About box's layout and its answers to the mouse, Enter and the
// title bar's close button; Ctrl+C; three buttons; a long message; and
// where the dialog's style comes from.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SkinTestSupport.h"
#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Clipboard.h"
#include "framework/Form.h"
#include "framework/Timer.h"
#include "skin/SUIDlg.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIForm.h"

namespace {

// The program's main window as far as the dialog sees it: a form whose
// skinned frame is MacOS.
class OwnerForm : public TForm {
public:
    OwnerForm()
    {
        InitializeTestApplication("dialog test");
        CreateForm({"Snapquill", {40, 40, 180, 230}, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                    L"Tahoma", 11});
        frame.Create(*this);
        frame.SetUIStyle(MacOS);
    }
    ~OwnerForm() override { DestroyHandle(); }
    TsuiForm frame;
};

void ConfigureAboutBox(TsuiMessageDialog& dialog)
{
    dialog.SetCaption("About...");
    dialog.SetText("Snapquill v1.1");
    TsuiFont font = dialog.Font();
    font.name = "Trebuchet MS";
    font.height = -12;
    dialog.SetFont(font);
    TsuiFont caption = dialog.CaptionFont();
    caption.name = "Trebuchet MS";
    dialog.SetCaptionFont(caption);
    dialog.SetIconType(TsuiIconType::suiInformation);
    dialog.SetButtonCursor(0);
}

// A result that says the dialog had to be closed by the test.
constexpr int kStuck = -1;

// Shows the dialog modally. Once it is on the screen, look runs on this
// thread, inside the modal run, and returns what the user does next; that
// runs on a thread of its own. A dialog still open two seconds after the
// hand is done is closed, and kStuck returned.
int ShowAndAct(TsuiMessageDialog& dialog, const std::function<std::function<void()>(TfrmMsg&)>& look)
{
    TTimer timer;
    std::thread hand;
    std::atomic<bool> stuck{false};
    timer.SetInterval(50);
    timer.OnTimer = [&] {
        TfrmMsg* form = dialog.Window();
        if (!form || !IsWindowVisible(form->Handle()))
            return;
        timer.SetEnabled(false);
        const HWND window = form->Handle();
        hand = std::thread([act = look(*form), window, &stuck] {
            // The system is still telling the new window it is active: a
            // modifier pressed now can be lost.
            Sleep(300);
            act();
            for (int i = 0; i < 40 && IsWindow(window) && IsWindowVisible(window); ++i)
                Sleep(50);
            if (IsWindow(window) && IsWindowVisible(window)) {
                stuck = true;
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
        });
    };
    timer.SetEnabled(true);
    const int result = dialog.ShowModal();
    if (hand.joinable())
        hand.join();
    return stuck ? kStuck : result;
}

} // namespace

TEST(SkinDialog, AboutBoxStandsWhereItShouldAndAnswersOkEnterAndClose)
{
    OwnerForm owner;
    TsuiMessageDialog dialog(&owner);
    ConfigureAboutBox(dialog);

    RECT outer{};
    TBounds text{}, picture{}, button{};
    bool pictureShown = false, captionGone = false, sameWindow = false;
    TsuiUIStyle frameStyle = DeepBlue;
    std::string title;
    EXPECT_EQ(ShowAndAct(dialog,
                         [&](TfrmMsg& form) -> std::function<void()> {
                             GetWindowRect(form.Handle(), &outer);
                             text = form.lbl.Bounds();
                             picture = form.Image1.Bounds();
                             pictureShown = form.Image1.Visible() && form.Image1.Picture();
                             captionGone = !(GetWindowLongW(form.Handle(), GWL_STYLE) & WS_CAPTION);
                             sameWindow = form.suiForm1.HostForm() == &form;
                             frameStyle = form.suiForm1.UIStyle();
                             title = form.suiForm1.Caption();
                             if (form.Buttons().size() != 1)
                                 return [] {};
                             button = form.Buttons()[0]->Bounds();
                             const POINT ok = CentreOf(form.Buttons()[0]->Handle());
                             return [ok] { ClickByHand(ok); };
                         }),
              mrOk)
        << "a click on OK";

    const int W = outer.right - outer.left, H = outer.bottom - outer.top;
    EXPECT_EQ(H, 169);
    EXPECT_EQ(picture.left, 24);
    EXPECT_EQ(picture.top, 64);
    EXPECT_EQ(picture.width, 42) << "the picture takes its frame's size";
    EXPECT_EQ(picture.height, 42);
    EXPECT_TRUE(pictureShown);
    EXPECT_EQ(text.left, 88);
    EXPECT_EQ(text.top, 64);
    EXPECT_EQ(text.width, 225);
    EXPECT_EQ(button.left, W - 97);
    EXPECT_EQ(button.top, 124);
    EXPECT_EQ(button.width, 73);
    EXPECT_EQ(button.height, 25);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - W) / 2) << "centred on the screen";
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - H) / 2);
    EXPECT_TRUE(captionGone) << "the frame's hook is on the window that is shown";
    EXPECT_TRUE(sameWindow);
    EXPECT_EQ(frameStyle, MacOS) << "the owner's style, not the stored WinXP";
    EXPECT_EQ(title, "About...");
    EXPECT_EQ(dialog.Window(), nullptr) << "the window goes with the run";

    EXPECT_EQ(ShowAndAct(dialog, [](TfrmMsg&) -> std::function<void()> { return [] { PressByHand({VK_RETURN}); }; }),
              mrOk)
        << "Enter";

    EXPECT_EQ(ShowAndAct(dialog,
                         [](TfrmMsg& form) -> std::function<void()> {
                             TsuiTitleBar& bar = form.suiForm1.TitleBar();
                             const TsuiTitleLayout layout = bar.Layout();
                             if (layout.buttons.size() != 1)
                                 return [] {};
                             const TsuiRect& close = layout.buttons[0];
                             POINT p{(close.left + close.right) / 2, (close.top + close.bottom) / 2};
                             ClientToScreen(bar.Handle(), &p);
                             return [p] { ClickByHand(p); };
                         }),
              mrCancel)
        << "the title bar's close button";
}

TEST(SkinDialog, CtrlCPutsTheDialogOnTheClipboard)
{
    InitializeTestApplication("dialog test");
    const std::string rule(27, '-');
    TsuiMessageDialog about;
    ConfigureAboutBox(about);
    SetClipboardText(nullptr, "");
    EXPECT_EQ(ShowAndAct(about,
                         [](TfrmMsg&) -> std::function<void()> {
                             return [] {
                                 PressByHand({VK_CONTROL, 'C'});
                                 PressByHand({VK_RETURN});
                             };
                         }),
              mrOk);
    EXPECT_EQ(ClipboardText(),
              rule + "\r\nAbout...\r\n" + rule + "\r\nSnapquill v1.1\r\n" + rule + "\r\nOK\r\n" + rule);

    TsuiMessageDialog question;
    question.SetButtonCount(2);
    int width = 0, textLeft = 0;
    SetClipboardText(nullptr, "");
    EXPECT_EQ(ShowAndAct(question,
                         [&](TfrmMsg& form) -> std::function<void()> {
                             width = form.BoundsRect().width;
                             textLeft = form.lbl.Left();
                             return [] {
                                 PressByHand({VK_CONTROL, 'C'});
                                 PressByHand({VK_ESCAPE});
                             };
                         }),
              mrCancel)
        << "Escape: the Cancel button";
    EXPECT_EQ(ClipboardText(), rule + "\r\nsuiDialog\r\n" + rule + "\r\nHello world!\r\n" + rule +
                                   "\r\nCancel   OK\r\n" + rule);
    EXPECT_EQ(textLeft, 24) << "no picture";
    EXPECT_EQ(width, 342 - 64) << "no picture, two buttons: narrower";
}

TEST(SkinDialog, ThreeButtonsTabFromOkAndBothCancelButtonsCancel)
{
    InitializeTestApplication("dialog test");
    TsuiMessageDialog dialog;
    dialog.SetButtonCount(3);
    const DWORD thread = GetCurrentThreadId();

    std::vector<std::string> leftToRight;
    std::vector<bool> cancels;
    HWND focused = nullptr;
    std::vector<HWND> buttons; // left to right
    auto tabbedTo = std::make_shared<std::vector<HWND>>();
    int width = 0;
    bool handOverButtons = false;
    EXPECT_EQ(ShowAndAct(dialog,
                         [&](TfrmMsg& form) -> std::function<void()> {
                             width = form.BoundsRect().width;
                             std::vector<TsuiButton*> sorted;
                             for (const auto& b : form.Buttons())
                                 sorted.push_back(b.get());
                             std::sort(sorted.begin(), sorted.end(),
                                       [](TsuiButton* a, TsuiButton* b) { return a->Left() < b->Left(); });
                             for (TsuiButton* b : sorted) {
                                 leftToRight.push_back(b->Caption());
                                 cancels.push_back(b->Cancel());
                                 buttons.push_back(b->Handle());
                             }
                             focused = GetFocus();
                             HWND ok = sorted[0]->Handle();
                             SendMessageW(ok, WM_SETCURSOR, reinterpret_cast<WPARAM>(ok),
                                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                             handOverButtons = GetCursor() == LoadCursorW(nullptr, IDC_HAND);
                             return [thread, tabbedTo] {
                                 for (int i = 0; i < 2; ++i) {
                                     PressByHand({VK_TAB});
                                     tabbedTo->push_back(FocusOf(thread));
                                 }
                                 PressByHand({VK_ESCAPE});
                             };
                         }),
              mrCancel);
    EXPECT_EQ(leftToRight, (std::vector<std::string>{"OK", "Cancel", "Cancel"}));
    EXPECT_EQ(cancels, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(width, 342) << "three buttons keep the width";
    EXPECT_TRUE(handOverButtons) << "the hand pointer over the buttons";
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(focused, buttons[0]) << "Button1 has the focus when the dialog opens";
    EXPECT_EQ(*tabbedTo, (std::vector<HWND>{buttons[1], buttons[2]})) << "Button1, Button2, Button3";
}

TEST(SkinDialog, ALongMessageWrapsAndMakesTheDialogTaller)
{
    InitializeTestApplication("dialog test");
    const std::wstring prose = L"The images folder cannot be written to, so the shot was not saved. Choose "
                               L"another folder in the settings panel and take the shot again.";
    const std::wstring path = L"C:\\Users\\somebody\\Pictures\\AVeryLongFolderNameWithoutAnyBlanksInItAtAll";
    TsuiMessageDialog dialog;
    dialog.SetIconType(TsuiIconType::suiWarning);
    dialog.SetText(WideToUtf8(prose + L"\r\n" + path));
    TBounds text{};
    int height = 0, buttonTop = 0, lineHeight = 0, proseLines = 0, pathWidth = 0, inkOnLastLine = 0;
    EXPECT_EQ(ShowAndAct(dialog,
                         [&](TfrmMsg& form) -> std::function<void()> {
                             text = form.lbl.Bounds();
                             height = form.BoundsRect().height;
                             buttonTop = form.Buttons().empty() ? 0 : form.Buttons()[0]->Top();
                             TWindowDC screen(nullptr);
                             TSelectObject font(screen.Handle(), form.MessageFont());
                             TEXTMETRICW metrics{};
                             GetTextMetricsW(screen.Handle(), &metrics);
                             lineHeight = metrics.tmHeight;
                             RECT words{0, 0, 225, 0};
                             DrawTextW(screen.Handle(), prose.c_str(), -1, &words, DT_CALCRECT | DT_WORDBREAK);
                             proseLines = lineHeight > 0 ? words.bottom / lineHeight : 0;
                             RECT line{0, 0, 0, 0};
                             DrawTextW(screen.Handle(), path.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE);
                             pathWidth = line.right;
                             TCanvasBitmap shown(text.width, text.height);
                             CopyWindowPixels(form.lbl.Handle(), shown, text.width, text.height);
                             inkOnLastLine = shown.CountDark({0, text.height - lineHeight, text.width, text.height});
                             return [] { PressByHand({VK_RETURN}); };
                         }),
              mrOk);
    ASSERT_GT(lineHeight, 0);
    ASSERT_GT(pathWidth, 225) << "the path alone is wider than the message";
    EXPECT_GE(proseLines, 2);
    EXPECT_EQ(text.width, 225) << "the width stays";
    EXPECT_EQ(text.height % lineHeight, 0);
    EXPECT_GE(text.height / lineHeight, proseLines + 2) << "the path on lines of its own, broken, not cut off";
    EXPECT_GT(inkOnLastLine, 10) << "the last line is drawn";
    EXPECT_EQ(height, 64 + text.height + 65);
    EXPECT_EQ(buttonTop, 64 + text.height + 20);
}

TEST(SkinDialog, StyleFollowsTheOwnerAndFallsBackWhenTheThemeGoes)
{
    OwnerForm owner;
    TsuiMessageDialog dialog(&owner);
    EXPECT_EQ(dialog.UIStyle(), MacOS);
    EXPECT_EQ(dialog.CaptionFont().color, 0u) << "black on the light MacOS title";
    EXPECT_EQ(dialog.Caption(), "suiDialog");
    EXPECT_EQ(dialog.Position(), poScreenCenter);

    TsuiMessageDialog plain;
    EXPECT_EQ(plain.UIStyle(), DeepBlue);
    EXPECT_EQ(plain.CaptionFont().color, 0xFFFFFFu);

    auto theme = std::make_unique<TsuiFileTheme>();
    plain.SetUIStyle(FromThemeFile);
    plain.SetFileTheme(theme.get());
    theme.reset();
    EXPECT_EQ(plain.FileTheme(), nullptr);
    EXPECT_EQ(plain.UIStyle(), DeepBlue);
}
