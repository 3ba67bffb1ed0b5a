#include "app/TrayMenu.h"

#include "framework/Resources.h"
#include "resources/StringIds.h"

namespace {

// The "Capture" sub-menu's screens, as radio items in this order.
struct TScreensItem {
    const char* caption;
    TCaptureScreens mode;
};
constexpr TScreensItem kScreensItems[] = {
    {"Primary screen", TCaptureScreens::Primary},
    {"Screen under the pointer", TCaptureScreens::UnderPointer},
    {"All screens", TCaptureScreens::All},
};
constexpr int kScreensItemCount = 3;
// After the radio items and a line; then a line and "Capture region".
constexpr int kCopyToClipboardItem = kScreensItemCount + 1;

// MacOS's own menu: black on its striped bar, the selected item in blue
// with white text, the system's menu font.
constexpr uint32_t kMenuBlue = 0xC47339;
const TsuiMenuLook kTrayMenuLook{.style = MacOS,
                                 .menuItemHeight = 20,
                                 .separatorHeight = 12,
                                 .barWidth = 26,
                                 .barColor = 0,
                                 .color = 0,
                                 .separatorColor = 0,
                                 .selectedBorderColor = kMenuBlue,
                                 .selectedColor = kMenuBlue,
                                 .selectedFontColor = 0xFFFFFF,
                                 .fontColor = 0,
                                 .borderColor = 0,
                                 .flatMenu = false,
                                 .fontName = "MS Sans Serif",
                                 .fontSize = 8,
                                 .fontCharset = DEFAULT_CHARSET,
                                 .useSystemFont = true};

void Fire(const std::function<void()>& event)
{
    if (event)
        event();
}

} // namespace

TTrayMenu::TTrayMenu()
{
    popup_.SetLook(kTrayMenuLook);
    AddItems();
}

void TTrayMenu::AddItems()
{
    hideItem_ = popup_.Add("Hide", [this] { Fire(OnHide); });
    popup_.Add("About", [this] { Fire(OnAbout); });
    AddCaptureMenu();
    popup_.Add("-");
    popup_.Add("Exit", [this] { Fire(OnExit); });
}

void TTrayMenu::AddCaptureMenu()
{
    captureItem_ = popup_.Add("Capture");
    TMenuItem& capture = popup_.Item(captureItem_);
    for (const TScreensItem& item : kScreensItems) {
        const TCaptureScreens mode = item.mode;
        capture.Add(item.caption, [this, mode] { SetChoices(mode, copyToClipboard_); }).SetRadioItem(true);
    }
    capture.Add("-");
    capture.Add("Copy to clipboard too", [this] { ToggleCopyToClipboard(); });
    capture.Add("-");
    capture.Add(LoadStr(IDS_CAPTURE_REGION), [this] { Fire(OnCaptureRegion); });
    capture.Add(LoadStr(IDS_CAPTURE_MARKUP), [this] { Fire(OnCaptureMarkup); });
    ShowChoices();
}

void TTrayMenu::ShowHideCaption(bool windowShown)
{
    popup_.SetCaption(hideItem_, windowShown ? "&Hide" : "&Show");
}

void TTrayMenu::SetChoices(TCaptureScreens screens, bool copyToClipboard)
{
    screens_ = screens;
    copyToClipboard_ = copyToClipboard;
    ShowChoices();
}

void TTrayMenu::ToggleCopyToClipboard()
{
    SetChoices(screens_, !copyToClipboard_);
}

void TTrayMenu::ShowChoices()
{
    TMenuItem& capture = popup_.Item(captureItem_);
    for (int i = 0; i < kScreensItemCount; ++i)
        capture.Items(i).SetChecked(kScreensItems[i].mode == screens_);
    capture.Items(kCopyToClipboardItem).SetChecked(copyToClipboard_);
}
