// The region overlay in its mark-up mode: once the region is chosen, the
// messages go to the editor, and its ending ends the overlay.
#include "app/RegionOverlay.h"

#include <windowsx.h>

#include "framework/Accessible.h"

void TRegionOverlay::StartMarkup(const TScreenRect& selection)
{
    if (selection.Empty())
        return;
    InvalidateScreen(InfoBox());
    InvalidateSelectionChange(selection_, selection);
    selection_ = selection;
    editor_ = std::make_unique<TMarkupEditor>(*this, frozen_.Handle(), screen_, monitors_, selection, pointer_);
    editor_->OnInvalidate = [this](const TScreenRect& rect) { InvalidateScreen(rect); };
    InvalidateScreen(Inflated(selection, editor_->Margin()));
    NotifyAccessible(Handle(), EVENT_OBJECT_VALUECHANGE);
}

// True when the message was the mark-up's.
bool TRegionOverlay::MarkupMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(Handle());
        pointer_ = FromClient(lParam);
        editor_->PointerDown(pointer_);
        break;
    case WM_LBUTTONUP:
        if (GetCapture() == Handle())
            ReleaseCapture();
        pointer_ = FromClient(lParam);
        editor_->PointerUp(pointer_);
        break;
    case WM_KEYDOWN:
        MarkupKeyDown(wParam);
        break;
    case WM_CHAR:
        editor_->Char(static_cast<wchar_t>(wParam));
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != Handle() || LOWORD(lParam) != HTCLIENT)
            return false;
        SetCursor(editor_->CursorAt(pointer_));
        break;
    case WM_MARKUP_FINISH:
        FinishMarkup(static_cast<TShotAction>(wParam));
        break;
    default:
        return false;
    }
    if (editor_)
        selection_ = editor_->Selection();
    return true;
}

void TRegionOverlay::MarkupKeyDown(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
        MovePointerBy(-1, 0);
        return;
    case VK_RIGHT:
        MovePointerBy(1, 0);
        return;
    case VK_UP:
        MovePointerBy(0, -1);
        return;
    case VK_DOWN:
        MovePointerBy(0, 1);
        return;
    }
    if (const std::optional<TShotAction> action = editor_->KeyDown(key))
        FinishMarkup(*action);
}

void TRegionOverlay::FinishMarkup(TShotAction action)
{
    if (done_)
        return;
    if (action == TShotAction::None) {
        Finish({});
        return;
    }
    Finish({TRegionChoice::Kind::Region, editor_->Selection(), nullptr, action});
}

void TRegionOverlay::MarkedUpPicture(TBitmap& bitmap)
{
    if (editor_)
        editor_->Picture(bitmap);
}
