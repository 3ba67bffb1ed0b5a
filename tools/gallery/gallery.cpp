// The style gallery: one form per built-in style, side by side, each with
// every skinned control the program uses, so that the styles can be looked
// at together.
//
//   snapquill_gallery.exe              shows the forms until the first is closed
//   snapquill_gallery.exe --ready F    also writes the file F once everything
//                                      is painted, and ends when F is deleted
//   snapquill_gallery.exe --high-contrast  draws as with Windows' high
//                                      contrast on, in the system colours
#include <windows.h>

#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/DisplayScale.h"
#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Timer.h"
#include "kit/Screen.h"
#include "skin/SUIButton.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIPopupMenu.h"
#include "skin/SUITrackBar.h"

namespace {

// A popup menu's items drawn as a still picture, one under the other, the
// way the open menu shows them; one item is drawn selected.
class TMenuPicture : public TCustomControl {
public:
    void Create(TWindow& parent, const TBounds& bounds, TsuiPopupMenu& menu, int selected)
    {
        menu_ = &menu;
        selected_ = selected;
        CreateCustom(parent, L"TGalleryMenuPicture", bounds, "");
        int height = 0;
        TWindowDC screen(nullptr);
        for (int i = 0; i < menu.Count(); ++i) {
            int w = 0, h = 0;
            menu.MeasureItem(menu.Item(i), screen.Handle(), w, h);
            height += h;
        }
        SetBounds({bounds.left, bounds.top, bounds.width, height});
    }

protected:
    void Paint(HDC dc, const RECT& client) override
    {
        int top = 0;
        for (int i = 0; i < menu_->Count(); ++i) {
            int w = 0, h = 0;
            menu_->MeasureItem(menu_->Item(i), dc, w, h);
            menu_->DrawItem(menu_->Item(i), dc, {0, top, client.right, top + h}, i == selected_);
            top += h;
        }
        // The menu window's own edge.
        FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }

private:
    TsuiPopupMenu* menu_ = nullptr;
    int selected_ = -1;
};

struct TStyleName {
    TsuiUIStyle style;
    const char* name;
};
const std::array<TStyleName, 5> kStyles{{{MacOS, "MacOS"},
                                         {WinXP, "WinXP"},
                                         {DeepBlue, "DeepBlue"},
                                         {Protein, "Protein"},
                                         {BlueGlass, "BlueGlass"}}};

const int kFormWidth = 236;
const int kFormHeight = 350;

// One style's form: the controls of the settings panel and a few more
// states of them.
class TGalleryForm : public TForm {
public:
    TGalleryForm(const TStyleName& style, int left, const TDisplayScale& scale)
    {
        CreateForm({style.name, {left, 16, scale.Position(kFormWidth), scale.Position(kFormHeight)},
                    WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_CONTROLPARENT, L"Trebuchet MS", scale.Length(12)});
        // The controls sit on the style's skinned frame, with its title bar.
        frame_.Create(*this);
        frame_.SetUIStyle(style.style);
        frame_.SetCaption(style.name);
        TWindow& surface = frame_;
        const HFONT font = Font();
        // Rows as on the settings panel, below where a skinned title bar
        // goes; the check boxes where the panel has them, so that the
        // stripes of their glyphs meet those of the MacOS background.
        auto at = [&scale](const TBounds& designed) { return scale.Bounds(designed); };
        path_.Create(surface, at({8, 42, 180, 19}), "C:\\Shots", true, font);
        browse_.Create(surface, at({196, 37, 25, 25}), "...", font);
        format_.Create(surface, at({8, 70, 213, 24}), {"BMP Format", "JPG Format", "PNG Format"}, 2,
                       scale.Length(16), font);
        ok_.Create(surface, at({8, 102, 75, 25}), "OK", font);
        ok_.SetDefault(true);
        disabled_.Create(surface, at({90, 102, 75, 25}), "Disabled", font);
        disabled_.SetEnabled(false);
        taskbar_.Create(surface, at({8, 136, 170, 22}), "Include Taskbar", true, font);
        notify_.Create(surface, at({8, 160, 170, 22}), "Display Notification", false, font);
        notify_.SetEnabled(false);
        quality_.Create(surface, at({8, 192, 213, 20}), 1, 9, 7);
        quality_.SetShowTick(false);

        menu_.Add("Show Settings");
        menu_.Item(0).SetDefault(true);
        menu_.Add("Hide Icon");
        menu_.Item(1).SetChecked(true);
        menu_.Add("-");
        menu_.Add("About...");
        menu_.Add("Exit");
        menu_.Item(4).SetShortCutText("Alt+X");

        for (TsuiStyled* control : std::initializer_list<TsuiStyled*>{&path_, &browse_, &format_, &ok_, &disabled_,
                                                                      &taskbar_, &notify_, &quality_, &menu_})
            control->SetUIStyle(style.style);
        for (TsuiCheckBox* box : {&taskbar_, &notify_})
            box->SetTransparent(true);
        menu_.SetScale(scale);
        frame_.SetScale(scale);
        menuPicture_.Create(surface, at({8, 224, 160, 0}), menu_, 3);
    }
    ~TGalleryForm() override { DestroyHandle(); }
    void FocusDefaultButton() { ok_.SetFocus(); }
    // Every style shows its active title bar, whichever form has the focus.
    void ShowTitleActive() { frame_.TitleBar().SetFormActive(true); }

private:
    TsuiForm frame_;
    TsuiEdit path_;
    TsuiButton browse_;
    TsuiComboBox format_;
    TsuiButton ok_;
    TsuiButton disabled_;
    TsuiCheckBox taskbar_;
    TsuiCheckBox notify_;
    TsuiTrackBar quality_;
    TsuiPopupMenu menu_;
    TMenuPicture menuPicture_;
};

std::vector<std::wstring> Arguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(args[i]);
    LocalFree(args);
    return arguments;
}

bool FileExists(const std::wstring& name)
{
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    Application.SetTitle("Snapquill gallery");
    std::wstring readyFile;
    const std::vector<std::wstring> arguments = Arguments();
    for (size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == L"--ready")
            readyFile = arguments[i + 1];
    for (const std::wstring& argument : arguments)
        if (argument == L"--high-contrast")
            OverrideHighContrast(true);
    try {
        Application.Initialize(instance);
        std::vector<std::unique_ptr<TGalleryForm>> forms;
        const TDisplayScale scale = support::SystemScale();
        for (size_t i = 0; i < kStyles.size(); ++i)
            forms.push_back(
                std::make_unique<TGalleryForm>(kStyles[i], 12 + int(i) * (scale.Position(kFormWidth) + 16), scale));
        for (auto& form : forms)
            form->Show();
        // The program's style with the focus: its bold caption.
        forms.front()->FocusDefaultButton();
        Application.SetMainForm(forms.front().get());

        // With --ready: say when all is painted, end when told.
        TTimer watch;
        bool told = false;
        int rounds = 0;
        watch.OnTimer = [&] {
            ++rounds;
            if (!told) {
                HANDLE file = CreateFileW(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
                if (file != INVALID_HANDLE_VALUE)
                    CloseHandle(file);
                told = true;
            } else if (!FileExists(readyFile) || rounds > 600) {
                Application.Terminate();
            }
        };
        if (!readyFile.empty()) {
            // Time for the forms to be painted first.
            PumpWait(1000);
            for (auto& form : forms)
                form->ShowTitleActive();
            PumpWait(200);
            watch.SetInterval(100);
            watch.SetEnabled(true);
        }
        Application.Run();
    } catch (const std::exception& error) {
        Application.ShowError(std::string("The gallery cannot run: ") + error.what());
        return 1;
    }
    return 0;
}
