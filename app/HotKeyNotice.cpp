#include "app/HotKeyNotice.h"

#include "app/Looks.h"
#include "core/Text.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"

std::string KeyList(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

static std::string NoticeText(const std::vector<std::string>& missingKeys, bool offerSnippingSwitch)
{
    return FormatText(LoadStr(IDS_HOTKEY_FAILED), {KeyList(missingKeys)}) + "\r\n\r\n" +
           LoadStr(offerSnippingSwitch ? IDS_HOTKEY_SNIPPING : IDS_HOTKEY_HELD);
}

bool ShowHotKeyNotice(const TWindow* owner, const std::vector<std::string>& missingKeys, bool offerSnippingSwitch)
{
    TsuiMessageDialog notice(owner);
    notice.SetCaption("Snapquill - Hotkeys");
    notice.SetText(NoticeText(missingKeys, offerSnippingSwitch));
    notice.SetLook(look::NoticeDialog(notice.Look()));
    notice.SetIconType(offerSnippingSwitch ? TsuiIconType::suiHelp : TsuiIconType::suiWarning);
    notice.SetButtonCursor(0);
    if (offerSnippingSwitch) {
        notice.SetButtonCount(2);
        notice.SetButton1Caption(LoadStr(IDS_SNIPPING_TURN_OFF));
        notice.SetButton2Caption(LoadStr(IDS_SNIPPING_LEAVE_ON));
    }
    return notice.ShowModal() == mrOk && offerSnippingSwitch;
}
