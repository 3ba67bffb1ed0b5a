// Marking up a region on the frozen screen, after the drag that chose it:
// the selection stays, with eight handles to resize it and its inside to
// move it while no tool is chosen; with a tool, a drag inside draws a mark
// (a click places a text or a step number). The tool strip sits beside the
// selection. Keys choose the tools (R E L A P H T N X), the colours (1 to
// 8) and the widths ([ and ]), undo (Ctrl+Z) and redo (Ctrl+Y,
// Ctrl+Shift+Z), and finish: Enter or Ctrl+S saves, Ctrl+C copies, Ctrl+P
// pins, Escape closes. Space presses and releases at the pointer, and Tab
// moves through the strip, so the keyboard alone does everything.
//
// The selection is shown from a picture of its own: the frozen pixels with
// the marks drawn in (the very pixels a save writes). When a mark appears or
// changes, only the pixels it touches are drawn again, there and on the
// screen.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MarkupGeometry.h"
#include "app/MarkupMarks.h"
#include "app/MarkupStrip.h"
#include "app/ShotAction.h"
#include "core/DisplayScale.h"
#include "imaging/Bitmap.h"
#include "imaging/GdiHandles.h"

// Posted to the overlay by the strip's pin, copy, save and close buttons,
// with the TShotAction in wParam.
constexpr UINT WM_MARKUP_FINISH = WM_APP + 10;

class TMarkupEditor {
public:
    // overlay: the window over the virtual screen `screen`, whose client
    // origin is the screen's top-left corner; frozen: a device context
    // holding the frozen virtual screen. Both outlive the editor.
    TMarkupEditor(TWindow& overlay, HDC frozen, const TScreenRect& screen, const std::vector<TMonitorArea>& monitors,
                  const TScreenRect& selection, TScreenPoint pointer);
    ~TMarkupEditor();

    const TScreenRect& Selection() const { return selection_; }
    // The overlay must paint these screen pixels again.
    std::function<void(const TScreenRect&)> OnInvalidate;

    // Paints what the editor shows within area (client coordinates): the
    // marked-up selection, its handles and the text caret.
    void Paint(HDC dc, const RECT& area) const;
    // Everything the editor may paint beyond the selection (its handles).
    int Margin() const;

    void PointerDown(TScreenPoint at);
    void PointerMove(TScreenPoint at);
    void PointerUp(TScreenPoint at);
    // A key went down; an action when it finishes the mark-up (None:
    // closed without writing anything).
    std::optional<TShotAction> KeyDown(WPARAM key);
    void Char(wchar_t character);
    // The pointer's shape at a point.
    HCURSOR CursorAt(TScreenPoint at) const;
    bool Dragging() const { return drag_ != TDrag::None; }

    // The selection with its marks, the pixels a save writes.
    void Picture(TBitmap& bitmap);
    bool Describe(TAccessibleInfo& info) const;

private:
    enum class TDrag { None, Selection, Mark };

    void StripPressed(TStripButton button);
    void ChooseTool(int tool);
    void StartMark(TScreenPoint at);
    void UpdateMark(TScreenPoint at);
    void ExtendStroke(TScreenPoint at);
    void EndMark();
    void StartText(TScreenPoint at);
    void EndText(bool keep);
    void TextKey(WPARAM key);
    void UpdateTextInk();
    void AddStep(TScreenPoint at);
    void FillBlocks(TMark& mark) const;
    TScreenPoint Constrained(TScreenPoint at) const;
    std::optional<TShotAction> CommandKey(WPARAM key);
    bool ToolKey(WPARAM key);
    void MoveStripFocus(bool back);
    void SpaceKey();
    void Undo();
    void Redo();
    void MarksChanged(const TScreenRect& area);
    void MoveSelection(const TScreenRect& selection);
    void RebuildLayer();
    void Compose(const TScreenRect& area);
    TScreenRect PendingBounds() const;
    void PlaceStrip();
    void UpdateStrip();
    void InvalidateSelectionArea(const TScreenRect& selection);
    TMark NewMark(TMarkTool tool, TScreenPoint at) const;
    int StrokeWidth() const;
    RECT ToClient(const TScreenRect& rect) const;

    TWindow& overlay_;
    HDC frozen_;
    TScreenRect screen_;
    std::vector<TMonitorArea> monitors_;
    TScreenRect selection_;
    TDisplayScale scale_; // of the selection's monitor, where the strip is

    TGdiObject layerBitmap_;
    std::unique_ptr<TMemoryDC> layer_;
    uint32_t* layerBits_ = nullptr;

    TMarkList marks_;
    std::optional<TMark> pending_; // the mark being drawn or typed
    std::wstring text_;            // the text being typed
    int tool_ = -1;
    int colour_ = 0;
    int widthIndex_ = 1;
    int stripFocus_ = -1;
    TScreenPoint pointer_;
    TDrag drag_ = TDrag::None;
    TSelectionPart dragPart_ = TSelectionPart::None;
    TScreenPoint dragStart_;
    TScreenRect dragSelection_;
    TMarkupStrip strip_;
};
