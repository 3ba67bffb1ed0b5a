// The skinned form frame and its title bar on a real window: where the
// frame and the title parts land on the screen, moving by the title bar,
// the double clicks, Alt+Space and the refused settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <functional>
#include <thread>
#include <vector>

#include "SkinTestSupport.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "skin/SUIForm.h"
#include "skin/SUIPictures.h"
#include "skin/SUIPopupMenu.h"

namespace {

// A form like the program's window: 174 x 224 client in a dialog frame,
// MacOS, a 1-pixel border, a control box and (when asked) a maximise
// button.
class FramedForm : public TForm {
public:
    explicit FramedForm(bool withMaxButton = false)
    {
        InitializeTestApplication("skin test");
        RECT outer{0, 0, 174, 224};
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        AdjustWindowRectEx(&outer, style & ~WS_CAPTION, FALSE, WS_EX_DLGMODALFRAME);
        CreateForm({"Snapquill", {246, 140, outer.right - outer.left, outer.bottom - outer.top}, style,
                    WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, L"Tahoma", 11});
        frame.Create(*this);
        frame.SetUIStyle(MacOS);
        frame.SetBorderColor(0x7F7F7F);
        frame.SetBorderWidth(1);
        frame.SetColor(0xE7E7E7);
        frame.SetTitleFont({"Tahoma", -11, true, 0});
        TsuiTitleBar& bar = frame.TitleBar();
        bar.ClearButtons();
        bar.AddButton().SetButtonType(suiControlBox);
        TsuiTitleBarButton& close = bar.AddButton();
        close.SetButtonType(suiClose);
        close.SetVisible(false);
        if (withMaxButton)
            bar.AddButton().SetButtonType(suiMax);
        Show();
        SetForegroundWindow(Handle());
        Settle();
    }
    ~FramedForm() override { DestroyHandle(); }

    static void Settle()
    {
        for (int i = 0; i < 20; ++i) {
            Application.ProcessMessages();
            Sleep(10);
        }
    }
    RECT Outer() const
    {
        RECT r{};
        GetWindowRect(Handle(), &r);
        return r;
    }
    // A point of the title bar in screen pixels.
    POINT BarPoint(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(frame.TitleBar().Handle(), &p);
        return p;
    }

    std::unique_ptr<TsuiForm> holder = std::make_unique<TsuiForm>();
    TsuiForm& frame = *holder;
};

// Presses the left button at from, moves in four steps by (dx, dy) and
// lets go, from another thread as a user's hand would, while this one
// handles messages (the move loop runs inside them).
void Drag(POINT from, int dx, int dy)
{
    std::atomic<bool> done{false};
    std::thread hand([&] {
        DragByHand(from, {from.x + dx, from.y + dy}, 4);
        Sleep(100);
        done = true;
    });
    while (!done) {
        Application.ProcessMessages();
        Sleep(5);
    }
    hand.join();
    FramedForm::Settle();
}

// Dismisses the message boxes of this process as they appear, keeping the
// text of the last one.
class BoxWatcher {
public:
    BoxWatcher()
        : thread_([this] {
              while (!stop_) {
                  EnumWindows(
                      [](HWND window, LPARAM data) {
                          DWORD process = 0;
                          GetWindowThreadProcessId(window, &process);
                          wchar_t cls[16]{};
                          GetClassNameW(window, cls, 16);
                          if (process == GetCurrentProcessId() && std::wstring(cls) == L"#32770" &&
                              IsWindowVisible(window)) {
                              auto* self = reinterpret_cast<BoxWatcher*>(data);
                              wchar_t text[256]{};
                              GetDlgItemTextW(window, 0xFFFF, text, 256);
                              self->text_ = text;
                              ++self->boxes_;
                              PostMessageW(window, WM_COMMAND, IDOK, 0);
                          }
                          return TRUE;
                      },
                      reinterpret_cast<LPARAM>(this));
                  Sleep(50);
              }
          })
    {
    }
    ~BoxWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    std::wstring Text() const { return text_; }
    int Boxes() const { return boxes_; }

private:
    std::atomic<bool> stop_{false};
    std::wstring text_;
    std::atomic<int> boxes_{0};
    std::thread thread_;
};

} // namespace

TEST(SkinFrame, TheWindowShowsItsFrameAndTitleWhereTheyBelong)
{
    FramedForm form;
    const RECT outer = form.Outer();
    const int W = outer.right - outer.left, H = outer.bottom - outer.top;
    ASSERT_EQ(W, 180) << "the caption should be gone, the 3-pixel frame kept";
    ASSERT_EQ(H, 230);
    TsuiTitleBar& bar = form.frame.TitleBar();
    EXPECT_EQ(bar.Height(), 20);
    const TsuiTitleLayout layout = bar.Layout();
    EXPECT_EQ(layout.buttons[0], (TsuiRect{3, 1, 20, 18})) << "the control box: 17 x 17 at (3, 1)";
    EXPECT_EQ(layout.captionLeft, 25);

    TCanvasBitmap screen(W, H);
    CopyScreen(outer, screen);
    const COLORREF border = RGB(0x7F, 0x7F, 0x7F), face = RGB(0xE7, 0xE7, 0xE7);
    for (int y = 30; y < H; y += 37) {
        EXPECT_EQ(screen.Pixel(0, y), border) << "left border at y " << y;
        EXPECT_EQ(screen.Pixel(W - 1, y), border) << "right border at y " << y;
        EXPECT_EQ(screen.Pixel(1, y), face) << "inner band at y " << y;
        EXPECT_EQ(screen.Pixel(2, y), face);
        EXPECT_EQ(screen.Pixel(W - 2, y), face);
    }
    for (int x = 0; x < W; x += 29)
        EXPECT_EQ(screen.Pixel(x, H - 1), border) << "bottom border at x " << x;
    EXPECT_EQ(screen.Pixel(90, H - 2), face);
    EXPECT_EQ(screen.Pixel(90, H - 3), face);

    // The left title picture starts 3 pixels up and left of the bar, so its
    // (3, 3) is the bar's corner, at (3, 3) of the window.
    TGdiObject left = LoadSkinBitmap("MACOS_TITLE_LEFT");
    ASSERT_TRUE(left);
    TCanvasBitmap picture(BitmapSize(left.Handle()).cx, BitmapSize(left.Handle()).cy);
    DrawBitmap(picture.DC(), left.Handle(), 0, 0);
    EXPECT_EQ(screen.Pixel(3, 3), picture.Pixel(3, 3));
    EXPECT_EQ(screen.Pixel(1, 0), picture.Pixel(1, 0)) << "the left strip of the frame is the picture's";
    EXPECT_EQ(screen.Pixel(40, 1), picture.Pixel(40, 1)) << "the top strip of the frame is the picture's";

    // The control box's picture at (3, 1) of the bar.
    TGdiObject box = LoadSkinBitmap("MACOS_TITLEBTN");
    ASSERT_TRUE(box);
    TGdiObject first = CutFrame(box.Handle(), 18, 1);
    TCanvasBitmap boxPixels(17, 17);
    DrawBitmap(boxPixels.DC(), first.Handle(), 0, 0, true);
    EXPECT_EQ(screen.Pixel(3 + 3 + 8, 3 + 1 + 8), boxPixels.Pixel(8, 8)) << "the control box's middle";
    // The caption is dark text beginning at x = 25 of the bar.
    EXPECT_EQ(screen.CountDark({3 + 20, 3 + 2, 3 + 25, 3 + 18}), 0);
    EXPECT_GT(screen.CountDark({3 + 25, 3 + 2, 3 + 35, 3 + 18}), 3);
}

TEST(SkinFrame, DraggingTheTitleBarMovesTheWindowExceptWhenMaximised)
{
    FramedForm form(true);
    const RECT before = form.Outer();
    Drag(form.BarPoint(100, 10), 40, 20);
    const RECT moved = form.Outer();
    EXPECT_EQ(moved.left - before.left, 40);
    EXPECT_EQ(moved.top - before.top, 20);

    // Double click on the bar: the maximise button's action, to the work
    // area with its bottom row left free.
    SendMessageW(form.frame.TitleBar().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
    FramedForm::Settle();
    ASSERT_TRUE(IsZoomed(form.Handle()));
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const RECT maximised = form.Outer();
    EXPECT_EQ(maximised.top, area.top);
    EXPECT_EQ(maximised.bottom, area.bottom - 1);

    Drag(form.BarPoint(100, 10), 40, 40);
    const RECT still = form.Outer();
    EXPECT_EQ(still.left, maximised.left) << "a maximised window does not move";
    EXPECT_EQ(still.top, maximised.top);
}

TEST(SkinFrame, DoubleClicksActOnlyWhereTheyHaveSomethingToDo)
{
    FramedForm form;
    const RECT before = form.Outer();
    // No maximise button: a double click on the bar does nothing.
    SendMessageW(form.frame.TitleBar().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
    FramedForm::Settle();
    EXPECT_FALSE(IsZoomed(form.Handle()));
    EXPECT_EQ(form.Outer().bottom - form.Outer().top, before.bottom - before.top);
    EXPECT_TRUE(form.Visible());
    // On the control box it closes the window.
    SendMessageW(form.frame.TitleBar().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 8));
    FramedForm::Settle();
    EXPECT_FALSE(form.Visible());
}

TEST(SkinFrame, AltSpaceOpensTheTitleBarsMenuWithWhatTheButtonsOffer)
{
    FramedForm form;
    // The menu is dismissed as soon as it shows.
    std::atomic<bool> menuSeen{false};
    std::thread closer([&] {
        for (int i = 0; i < 100 && !menuSeen; ++i) {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (menu && IsWindowVisible(menu)) {
                menuSeen = true;
                PressKey(VK_ESCAPE);
            }
            Sleep(50);
        }
    });
    SetFocus(form.Handle());
    Press({VK_MENU, VK_SPACE});
    for (int i = 0; i < 40 && !menuSeen; ++i)
        FramedForm::Settle();
    closer.join();
    FramedForm::Settle();
    EXPECT_TRUE(menuSeen) << "Alt+Space did not open the menu";
    TsuiTitleBarPopupMenu& menu = form.frame.TitleBar().PopupMenu();
    EXPECT_FALSE(menu.Item(0).Enabled()) << "no minimise button";
    EXPECT_FALSE(menu.Item(1).Enabled()) << "no maximise button";
    EXPECT_TRUE(menu.Item(3).Enabled()) << "a close button, even a hidden one";
}

namespace {

HWND OpenMenu()
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Runs open(), which shows a menu or asks for it, and handles messages
// while another thread types the letters into the menu once it shows, as
// a user would, and then runs whileOpen. A menu still open after that is
// closed with Escape. Returns whether the menu closed by itself.
bool TypeIntoMenu(const std::function<void()>& open, const std::string& letters,
                  const std::function<void()>& whileOpen = nullptr)
{
    std::atomic<bool> closedByItself{false};
    std::atomic<bool> done{false};
    std::thread typist([&] {
        for (int i = 0; i < 100 && !OpenMenu(); ++i)
            Sleep(50);
        for (char letter : letters) {
            Sleep(150);
            PressKey(static_cast<WORD>(VkKeyScanA(letter) & 0xFF));
        }
        Sleep(300);
        if (whileOpen)
            whileOpen();
        closedByItself = !OpenMenu();
        for (int i = 0; i < 3 && OpenMenu(); ++i) {
            PressKey(VK_ESCAPE);
            Sleep(150);
        }
        done = true;
    });
    open();
    while (!done)
        FramedForm::Settle();
    typist.join();
    FramedForm::Settle();
    return closedByItself;
}

void AltSpace(FramedForm& form)
{
    SetForegroundWindow(form.Handle());
    SetFocus(form.Handle());
    Press({VK_MENU, VK_SPACE});
}

} // namespace

TEST(SkinFrame, TheWindowMenuAnswersTheLettersOfItsItems)
{
    FramedForm form;
    form.frame.TitleBar().AddButton().SetButtonType(suiMin);
    FramedForm::Settle();
    EXPECT_TRUE(TypeIntoMenu([&] { AltSpace(form); }, "n")) << "N does not choose Minimize";
    EXPECT_TRUE(IsIconic(form.Handle()));
    ShowWindow(form.Handle(), SW_RESTORE);
    FramedForm::Settle();
    EXPECT_TRUE(TypeIntoMenu([&] { AltSpace(form); }, "c")) << "C does not choose Close";
    EXPECT_FALSE(form.Visible()) << "Close did not close the window";
}

TEST(SkinFrame, PopupMenusAnswerLettersAtAnyDepthAndVisitSharedLettersInTurn)
{
    FramedForm form;
    TsuiPopupMenu menu(&form);
    std::vector<std::string> chosen;
    auto item = [&](const char* caption) { return [&chosen, caption] { chosen.push_back(caption); }; };
    menu.Add("Hide", item("Hide"));
    menu.Add("About", item("About"));
    TMenuItem& capture = menu.Items().Add("Capture");
    for (const char* caption : {"Primary screen", "Screen under the pointer", "All screens", "Copy to clipboard too"})
        capture.Add(caption, item(caption));
    menu.Add("-");
    menu.Add("Save", item("Save"));
    menu.Add("Select all", item("Select all"));
    menu.Add("E&xit", item("Exit"));
    const auto popup = [&] { menu.Popup(form.Handle(), 300, 200); };

    EXPECT_TRUE(TypeIntoMenu(popup, "cs"));
    EXPECT_TRUE(TypeIntoMenu(popup, "ca"));
    EXPECT_TRUE(TypeIntoMenu(popup, "x"));
    EXPECT_TRUE(TypeIntoMenu(popup, "h"));
    EXPECT_EQ(chosen, (std::vector<std::string>{"Screen under the pointer", "All screens", "Exit", "Hide"}));

    // Two items begin with S: the letter selects them in turn and chooses
    // neither, whichever is highlighted.
    std::vector<LRESULT> answers;
    const auto askForS = [&] {
        const WPARAM key = MAKEWPARAM('s', MF_POPUP);
        const LPARAM handle = reinterpret_cast<LPARAM>(menu.Handle());
        answers.push_back(SendMessageW(form.Handle(), WM_MENUCHAR, key, handle));
        for (int i = 0; i < 3; ++i) // from the bottom up to Save
            PressKey(VK_UP);
        Sleep(300);
        answers.push_back(SendMessageW(form.Handle(), WM_MENUCHAR, key, handle));
    };
    chosen.clear();
    EXPECT_FALSE(TypeIntoMenu(popup, "", askForS));
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(answers, (std::vector<LRESULT>{MAKELRESULT(4, MNC_SELECT), MAKELRESULT(5, MNC_SELECT)}));
}

TEST(SkinFrame, RefusedSettingsShowTheirErrorAndChangeNothing)
{
    FramedForm form;
    TsuiTitleBar& bar = form.frame.TitleBar();
    BoxWatcher boxes;
    bar.Button(1).SetButtonType(suiControlBox);
    EXPECT_EQ(boxes.Text(), L"Sorry, only one button's ButtonType property can be \"suiControlBox\"");
    EXPECT_EQ(bar.Button(1).ButtonType(), suiClose);

    bar.Section(0).SetAlign(suiClient);
    EXPECT_EQ(boxes.Text(), L"Sorry, only one section's Align property can be \"suiClient\"");
    EXPECT_EQ(bar.Section(0).Align(), suiLeft);

    form.frame.SetFormPanel(&form.frame);
    EXPECT_EQ(boxes.Text(), L"Sorry, you can't select the Form assign to FormPanel property");
    EXPECT_EQ(form.frame.FormPanel(), nullptr);
    EXPECT_EQ(boxes.Boxes(), 3);
}

TEST(SkinFrame, LeavingGivesTheFormItsCaptionBack)
{
    FramedForm form;
    ASSERT_EQ(GetWindowLongW(form.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    // A second frame on the same form stays an inert panel.
    auto second = std::make_unique<TsuiForm>();
    second->Create(form);
    EXPECT_EQ(second->HostForm(), nullptr);
    second.reset();
    EXPECT_EQ(GetWindowLongW(form.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    form.holder.reset();
    EXPECT_EQ(GetWindowLongW(form.Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST(SkinFrame, AMenuShowsItsBarUnderTheTitleAndRunsItsShortcuts)
{
    FramedForm form;
    TsuiMainMenu menu;
    int runs = 0;
    TMenuItem& file = menu.Items().Add("File");
    file.Add("Keep", [&] { ++runs; }).SetShortCut('K', TShiftState{false, false, true});
    form.frame.SetMenu(&menu);
    form.frame.SetMenuBarColor(0x123456);
    form.frame.SetMenuBarHeight(24);
    FramedForm::Settle();

    HWND bar = GetWindow(form.frame.Handle(), GW_CHILD);
    HWND menuBar = nullptr;
    for (; bar; bar = GetWindow(bar, GW_HWNDNEXT))
        if (dynamic_cast<TsuiMenuBar*>(TWindow::FromHandle(bar)))
            menuBar = bar;
    ASSERT_NE(menuBar, nullptr);
    RECT r{};
    GetWindowRect(menuBar, &r);
    MapWindowPoints(nullptr, form.frame.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 20) << "right under the title bar";
    EXPECT_EQ(r.bottom - r.top, 24);
    // The frame's inner band beside the menu bar takes its colour.
    {
        const RECT outer = form.Outer();
        EXPECT_EQ(ScreenPixel({outer.left + 1, outer.top + 3 + 20 + 10}), COLORREF(0x123456));
        EXPECT_EQ(ScreenPixel({outer.left + 1, outer.top + 3 + 20 + 30}), RGB(0xE7, 0xE7, 0xE7));
    }

    Press({VK_CONTROL, 'K'});
    FramedForm::Settle();
    EXPECT_EQ(runs, 1);
    form.frame.SetMenu(nullptr);
}

namespace {

// Which of its pictures the title bar's button shows on the screen now:
// 0 normal, 1 lit, 2 pressed, -1 none of them.
int ShownPicture(const FramedForm& form, int index)
{
    const TsuiTitleBar& bar = form.frame.TitleBar();
    const TsuiRect r = bar.Layout().buttons[index];
    TCanvasBitmap shown(bar.Width(), bar.Height());
    CopyWindowPixels(bar.Handle(), shown, bar.Width(), bar.Height());
    const TsuiTitleBarButton& button = bar.Button(index);
    const TGdiObject* pictures[3] = {&button.PicNormal, &button.PicMouseOn, &button.PicMouseDown};
    for (int i = 0; i < 3; ++i) {
        // The picture drawn over what is shown: unchanged where it is.
        TCanvasBitmap expected(r.Width(), r.Height());
        BitBlt(expected.DC(), 0, 0, r.Width(), r.Height(), shown.DC(), r.left, r.top, SRCCOPY);
        DrawBitmap(expected.DC(), pictures[i]->Handle(), 0, 0, button.Transparent());
        int differences = 0;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x)
                differences += expected.Pixel(x, y) != shown.Pixel(r.left + x, r.top + y);
        if (differences == 0)
            return i;
    }
    return -1;
}

// Wine delivers the hand's input a while later: the picture the button
// shows once it has settled on the expected one, or after two seconds.
int ShownPictureOnceSettled(const FramedForm& form, int index, int expected)
{
    int shown = -1;
    for (int i = 0; i < 10 && shown != expected; ++i) {
        FramedForm::Settle();
        shown = ShownPicture(form, index);
    }
    return shown;
}

} // namespace

TEST(SkinFrame, AHeldTitleButtonLooksPressedOnlyUnderThePointerAndActsOnlyWhenReleasedThere)
{
    FramedForm form(true);
    const TsuiRect max = form.frame.TitleBar().Layout().buttons[2];
    const POINT on = form.BarPoint((max.left + max.right) / 2, (max.top + max.bottom) / 2);
    const POINT away{form.Outer().right + 60, form.Outer().bottom + 60};
    // Where the pointer goes, what the maximise button then shows (0
    // normal, 1 lit, 2 pressed) and why.
    const struct {
        POINT at;
        DWORD button;
        int shown;
        const char* why;
    } steps[] = {
        {on, 0, 1, "lit under the pointer"},
        {on, MOUSEEVENTF_LEFTDOWN, 2, "pressed"},
        {away, 0, 0, "held, with the pointer outside the window"},
        {on, 0, 2, "held, back over the button"},
        {away, 0, 0, "held outside again"},
        {away, MOUSEEVENTF_LEFTUP, 0, "released outside"},
        {on, 0, 1, "back over it after the release: lit, no longer pressed"},
    };
    for (const auto& step : steps) {
        MovePointer(step.at, step.button);
        EXPECT_EQ(ShownPictureOnceSettled(form, 2, step.shown), step.shown) << step.why;
    }
    EXPECT_FALSE(IsZoomed(form.Handle())) << "released outside: nothing done";
    EXPECT_EQ(form.frame.TitleBar().PressedButton(), -1);
    MovePointer(on, MOUSEEVENTF_LEFTDOWN);
    MovePointer(on, MOUSEEVENTF_LEFTUP);
    for (int i = 0; i < 10 && !IsZoomed(form.Handle()); ++i)
        FramedForm::Settle();
    EXPECT_TRUE(IsZoomed(form.Handle())) << "a click on it maximises";
    MovePointer(away);
    FramedForm::Settle();
}

TEST(SkinFrame, TheFrameBesideTheTitleIsAsThickAsBelowItInEveryStyle)
{
    FramedForm form;
    for (TsuiUIStyle style : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        form.frame.SetUIStyle(style);
        FramedForm::Settle();
        const RECT outer = form.Outer();
        const int W = outer.right - outer.left, H = outer.bottom - outer.top;
        TCanvasBitmap screen(W, H);
        CopyScreen(outer, screen);
        // How many columns from the edge inwards have the border's colour.
        const COLORREF border = ColorToRGB(form.frame.BorderColor());
        auto run = [&](int y, bool left) {
            int n = 0;
            while (n < 6 && screen.Pixel(left ? n : W - 1 - n, y) == border)
                ++n;
            return n;
        };
        const int title = 3 + form.frame.TitleBar().Height() / 2, below = H / 2;
        EXPECT_GT(run(below, true), 0) << "style " << style;
        EXPECT_EQ(run(title, true), run(below, true)) << "left, style " << style;
        EXPECT_EQ(run(title, false), run(below, false)) << "right, style " << style;
    }
}
