#include "app/HotKeyKeeper.h"

#include "app/HotKeyNotice.h"
#include "core/Text.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"

constexpr unsigned kRetryMs = 3000;

void THotKeyKeeper::Start(HWND owner)
{
    keys_.SetOwner(owner);
    retry_.SetInterval(kRetryMs);
    retry_.OnTimer = [this] { TakeMissing(); };
    TakeMissing();
}

void THotKeyKeeper::Release()
{
    retry_.SetEnabled(false);
    keys_.Release();
}

void THotKeyKeeper::TakeMissing()
{
    keys_.TakeMissing();
    retry_.SetEnabled(!keys_.AllHeld());
    if (OnChanged)
        OnChanged();
}

std::string THotKeyKeeper::TipWithMissing(const std::string& tip) const
{
    if (keys_.AllHeld())
        return tip;
    return tip + "\n" + FormatText(LoadStr(IDS_TIP_KEYS_MISSING), {KeyList(keys_.MissingNames())});
}

void THotKeyKeeper::ShowNotice(const TWindow* owner)
{
    if (keys_.AllHeld())
        return;
    const bool offerSwitch = !keys_.PrintScreenHeld() && SnippingOwnsPrintScreen();
    if (::ShowHotKeyNotice(owner, keys_.MissingNames(), offerSwitch) && TurnOffSnippingPrintScreen())
        TakeMissing();
}
