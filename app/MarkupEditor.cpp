#include "app/MarkupEditor.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/Capture.h"
#include "app/MarkupInk.h"
#include "app/MarkupRaster.h"
#include "core/Exception.h"
#include "framework/MonitorScale.h"

namespace {

// The colours on keys 1 to 8, 0x00RRGGBB.
constexpr std::array<uint32_t, 8> kColours{0xFF0000, 0xFFD800, 0x20B040, 0x1E6EFF,
                                           0x9040D0, 0x000000, 0xFFFFFF, 0xFF8000};
// Thin, medium and thick, in designed (96 DPI) pixels.
constexpr std::array<int, 3> kWidths{2, 4, 8};

// The rest, in designed pixels.
namespace look {
constexpr int kHandle = 8;
constexpr int kHandleEdge = 1;
constexpr int kStripGap = 6;
constexpr int kCaret = 2;
constexpr int kSmallestBlock = 8; // in physical pixels, at any scale
constexpr COLORREF kHandleFill = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kHandleEdgeColour = RGB(0x30, 0x9C, 0xFF);
constexpr COLORREF kCaretColour = RGB(0x30, 0x9C, 0xFF);
} // namespace look

// The points at a stroke's end that a new one changes, smoothed: its own
// segment and the corners cut on either side of the one before.
constexpr size_t kStrokeEndPoints = 4;

// The tool keys, in the order of TMarkTool.
constexpr std::array<WPARAM, 9> kToolKeys{'R', 'E', 'L', 'A', 'P', 'H', 'T', 'N', 'X'};

constexpr std::array<TSelectionPart, 8> kHandles{
    TSelectionPart::TopLeft, TSelectionPart::Top,        TSelectionPart::TopRight, TSelectionPart::Right,
    TSelectionPart::BottomRight, TSelectionPart::Bottom, TSelectionPart::BottomLeft, TSelectionPart::Left};

bool KeyHeld(int key)
{
    return GetKeyState(key) < 0;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

TScreenRect Union(const TScreenRect& a, const TScreenRect& b)
{
    if (a.Empty())
        return b;
    if (b.Empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

HCURSOR SystemCursor(const wchar_t* name)
{
    return LoadCursorW(nullptr, name);
}

TShotAction FinishingAction(TStripButton button)
{
    switch (button) {
    case TStripButton::Pin:
        return TShotAction::Pin;
    case TStripButton::Copy:
        return TShotAction::Copy;
    case TStripButton::Save:
        return TShotAction::Save;
    default:
        return TShotAction::None;
    }
}

bool IsShape(TMarkTool tool)
{
    return tool == TMarkTool::Rectangle || tool == TMarkTool::Ellipse || tool == TMarkTool::Line ||
           tool == TMarkTool::Arrow || tool == TMarkTool::Pixelate;
}

} // namespace

TMarkupEditor::TMarkupEditor(TWindow& overlay, HDC frozen, const TScreenRect& screen,
                             const std::vector<TMonitorArea>& monitors, const TScreenRect& selection,
                             TScreenPoint pointer)
    : overlay_(overlay),
      frozen_(frozen),
      screen_(screen),
      monitors_(monitors),
      selection_(selection),
      scale_(ScaleOfRect({selection.left, selection.top, selection.right, selection.bottom})),
      pointer_(pointer)
{
    RebuildLayer();
    strip_.OnPress = [this](TStripButton button) { StripPressed(button); };
    strip_.Create(overlay_, scale_, 0, 0);
    PlaceStrip();
    UpdateStrip();
    ShowWindow(strip_.Handle(), SW_SHOWNA);
}

TMarkupEditor::~TMarkupEditor() = default;

int TMarkupEditor::StrokeWidth() const
{
    return scale_.Length(kWidths[size_t(widthIndex_)]);
}

int TMarkupEditor::Margin() const
{
    return scale_.Length(look::kHandle) / 2 + scale_.Length(look::kHandleEdge) + 1;
}

RECT TMarkupEditor::ToClient(const TScreenRect& rect) const
{
    return {rect.left - screen_.left, rect.top - screen_.top, rect.right - screen_.left, rect.bottom - screen_.top};
}

// ---- the picture of the selection

void TMarkupEditor::RebuildLayer()
{
    const int width = selection_.Width();
    const int height = selection_.Height();
    BITMAP current{};
    if (layerBitmap_ && GetObjectW(layerBitmap_.Handle(), sizeof current, &current) && current.bmWidth == width &&
        current.bmHeight == height) {
        Compose(selection_);
        return;
    }
    layer_.reset();
    void* bits = nullptr;
    layerBitmap_ = CreateTopDownDib32(frozen_, width, height, bits);
    if (!layerBitmap_ || !bits)
        throw EOutOfResources("There is not enough memory to mark up the region");
    layerBits_ = static_cast<uint32_t*>(bits);
    layer_ = std::make_unique<TMemoryDC>(frozen_, layerBitmap_.Handle());
    Compose(selection_);
}

// Draws the area (screen coordinates) of the selection's picture anew: the
// frozen pixels, then every mark that reaches into it, in order.
void TMarkupEditor::Compose(const TScreenRect& area)
{
    const TScreenRect part = Intersection(area, selection_);
    if (part.Empty())
        return;
    BitBlt(layer_->Handle(), part.left - selection_.left, part.top - selection_.top, part.Width(), part.Height(),
           frozen_, part.left - screen_.left, part.top - screen_.top, SRCCOPY);
    GdiFlush();
    TPixelSpan span{layerBits_, selection_.Width(), selection_.Height(), selection_.left, selection_.top};
    for (size_t i = 0; i < marks_.Count(); ++i)
        if (!Intersection(MarkBounds(marks_.At(i)), part).Empty())
            DrawMark(span, marks_.At(i), part);
    if (pending_)
        DrawMark(span, *pending_, part);
}

void TMarkupEditor::MarksChanged(const TScreenRect& area)
{
    Compose(area);
    if (OnInvalidate)
        OnInvalidate(Intersection(area, selection_));
    UpdateStrip();
}

TScreenRect TMarkupEditor::PendingBounds() const
{
    if (!pending_)
        return {};
    TScreenRect bounds = MarkBounds(*pending_);
    if (pending_->tool == TMarkTool::Text)
        bounds = Union(bounds, Inflated(CaretAfter(text_, TextFontHeight(pending_->width), pending_->points[0],
                                                   scale_.Length(look::kCaret)), 1));
    return bounds;
}

void TMarkupEditor::Paint(HDC dc, const RECT& area) const
{
    const RECT selection = ToClient(selection_);
    RECT part;
    if (IntersectRect(&part, &selection, &area))
        BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, layer_->Handle(),
               part.left - selection.left, part.top - selection.top, SRCCOPY);
    if (pending_ && pending_->tool == TMarkTool::Text) {
        const TScreenRect caret = CaretAfter(text_, TextFontHeight(pending_->width), pending_->points[0],
                                             scale_.Length(look::kCaret));
        Fill(dc, ToClient(Intersection(caret, selection_)), look::kCaretColour);
    }
    const int size = scale_.Length(look::kHandle);
    const int edge = scale_.Length(look::kHandleEdge);
    for (TSelectionPart handle : kHandles) {
        RECT box = ToClient(HandleRect(selection_, handle, size));
        Fill(dc, box, look::kHandleEdgeColour);
        InflateRect(&box, -edge, -edge);
        Fill(dc, box, look::kHandleFill);
    }
}

// The picture is kept composed as marks change, so it is copied as it is.
void TMarkupEditor::Picture(TBitmap& bitmap)
{
    CopyFromPicture(bitmap, layer_->Handle(), 0, 0, selection_.Width(), selection_.Height());
}

// ---- the selection

void TMarkupEditor::MoveSelection(const TScreenRect& selection)
{
    if (selection == selection_)
        return;
    const TScreenRect before = selection_;
    selection_ = selection;
    RebuildLayer();
    InvalidateSelectionArea(before);
    InvalidateSelectionArea(selection_);
    PlaceStrip();
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, overlay_.Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TMarkupEditor::InvalidateSelectionArea(const TScreenRect& selection)
{
    if (OnInvalidate)
        OnInvalidate(Inflated(selection, Margin() + scale_.Length(2)));
}

void TMarkupEditor::PlaceStrip()
{
    const SIZE size = TMarkupStrip::SizeAt(scale_);
    const TMonitorArea* monitor = MonitorAt(monitors_, (selection_.left + selection_.right) / 2,
                                            (selection_.top + selection_.bottom) / 2);
    const TScreenPoint at = StripPlace(Inflated(selection_, Margin()), size.cx, size.cy,
                                       scale_.Length(look::kStripGap), monitor ? monitor->bounds : screen_);
    strip_.MoveTo(at.x - screen_.left, at.y - screen_.top);
}

void TMarkupEditor::UpdateStrip()
{
    TStripState state;
    state.tool = tool_;
    state.colour = kColours[size_t(colour_)];
    state.width = StrokeWidth();
    state.canUndo = marks_.CanUndo();
    state.canRedo = marks_.CanRedo();
    state.focused = stripFocus_;
    strip_.SetState(state);
}

// ---- the pointer

void TMarkupEditor::PointerDown(TScreenPoint at)
{
    pointer_ = at;
    if (pending_ && pending_->tool == TMarkTool::Text)
        EndText(true);
    const TSelectionPart part = PartAt(selection_, at, scale_.Length(look::kHandle));
    const bool handle = part != TSelectionPart::None && part != TSelectionPart::Inside;
    if (handle || (part == TSelectionPart::Inside && tool_ < 0)) {
        drag_ = TDrag::Selection;
        dragPart_ = part;
        dragStart_ = at;
        dragSelection_ = selection_;
    } else if (part == TSelectionPart::Inside) {
        StartMark(at);
    }
}

void TMarkupEditor::PointerMove(TScreenPoint at)
{
    pointer_ = at;
    if (drag_ == TDrag::Selection)
        MoveSelection(DraggedSelection(dragSelection_, dragPart_, at.x - dragStart_.x, at.y - dragStart_.y, screen_));
    else if (drag_ == TDrag::Mark)
        UpdateMark(at);
}

void TMarkupEditor::PointerUp(TScreenPoint at)
{
    PointerMove(at);
    if (drag_ == TDrag::Mark)
        EndMark();
    drag_ = TDrag::None;
}

HCURSOR TMarkupEditor::CursorAt(TScreenPoint at) const
{
    const TSelectionPart part =
        drag_ == TDrag::Selection ? dragPart_ : PartAt(selection_, at, scale_.Length(look::kHandle));
    switch (part) {
    case TSelectionPart::Left:
    case TSelectionPart::Right:
        return SystemCursor(IDC_SIZEWE);
    case TSelectionPart::Top:
    case TSelectionPart::Bottom:
        return SystemCursor(IDC_SIZENS);
    case TSelectionPart::TopLeft:
    case TSelectionPart::BottomRight:
        return SystemCursor(IDC_SIZENWSE);
    case TSelectionPart::TopRight:
    case TSelectionPart::BottomLeft:
        return SystemCursor(IDC_SIZENESW);
    case TSelectionPart::Inside:
        if (tool_ < 0)
            return SystemCursor(IDC_SIZEALL);
        return SystemCursor(tool_ == int(TMarkTool::Text) ? IDC_IBEAM : IDC_CROSS);
    case TSelectionPart::None:
        break;
    }
    return SystemCursor(IDC_ARROW);
}

// ---- marks

TMark TMarkupEditor::NewMark(TMarkTool tool, TScreenPoint at) const
{
    TMark mark;
    mark.tool = tool;
    mark.colour = kColours[size_t(colour_)];
    mark.width = StrokeWidth();
    mark.points = {at};
    return mark;
}

void TMarkupEditor::StartMark(TScreenPoint at)
{
    const TMarkTool tool = TMarkTool(tool_);
    if (tool == TMarkTool::Text) {
        StartText(at);
        return;
    }
    if (tool == TMarkTool::Step) {
        AddStep(at);
        return;
    }
    pending_ = NewMark(tool, at);
    if (IsShape(tool))
        pending_->points.push_back(at);
    if (tool == TMarkTool::Pixelate)
        FillBlocks(*pending_);
    drag_ = TDrag::Mark;
    MarksChanged(PendingBounds());
}

TScreenPoint TMarkupEditor::Constrained(TScreenPoint at) const
{
    if (!KeyHeld(VK_SHIFT))
        return at;
    const TMarkTool tool = pending_->tool;
    if (tool == TMarkTool::Line || tool == TMarkTool::Arrow)
        return SnappedTo45(pending_->points[0], at);
    if (tool == TMarkTool::Rectangle || tool == TMarkTool::Ellipse)
        return SquareCorner(pending_->points[0], at);
    return at;
}

void TMarkupEditor::UpdateMark(TScreenPoint at)
{
    if (!pending_)
        return;
    if (!IsShape(pending_->tool)) {
        ExtendStroke(at);
        return;
    }
    const TScreenRect before = PendingBounds();
    pending_->points[1] = Constrained(at);
    if (pending_->tool == TMarkTool::Pixelate)
        FillBlocks(*pending_);
    MarksChanged(Union(before, PendingBounds()));
}

// A new point changes the smoothed stroke only near its end: the pixels
// around the last few points (as wide as a marker's band, the widest
// stroke) are drawn again, not the whole stroke.
void TMarkupEditor::ExtendStroke(TScreenPoint at)
{
    std::vector<TScreenPoint>& points = pending_->points;
    if (points.back() == at)
        return;
    points.push_back(at);
    TScreenRect changed;
    for (size_t i = points.size() - std::min(points.size(), kStrokeEndPoints); i < points.size(); ++i)
        changed = Union(changed, {points[i].x, points[i].y, points[i].x + 1, points[i].y + 1});
    MarksChanged(Inflated(changed, 2 * pending_->width + 2));
}

// A shape that never left its press point is dropped; a pen's click is a dot.
void TMarkupEditor::EndMark()
{
    if (!pending_)
        return;
    TMark mark = std::move(*pending_);
    pending_.reset();
    const TScreenRect bounds = MarkBounds(mark);
    if (!IsShape(mark.tool) || !(mark.points[0] == mark.points[1]))
        marks_.Add(std::move(mark));
    MarksChanged(bounds);
}

// The blocks' colours come from the frozen screen under them.
void TMarkupEditor::FillBlocks(TMark& mark) const
{
    const int block = std::max(look::kSmallestBlock, scale_.Length(look::kSmallestBlock));
    mark.blockSize = block;
    mark.blocksArea = PixelateArea(mark.points[0], mark.points.back(), block, screen_);
    const TScreenRect& area = mark.blocksArea;
    void* bits = nullptr;
    TGdiObject copy = CreateTopDownDib32(frozen_, area.Width(), area.Height(), bits);
    if (!copy || !bits)
        throw EOutOfResources("There is not enough memory to pixelate the region");
    {
        TMemoryDC dc(frozen_, copy.Handle());
        BitBlt(dc.Handle(), 0, 0, area.Width(), area.Height(), frozen_, area.left - screen_.left,
               area.top - screen_.top, SRCCOPY);
    }
    GdiFlush();
    const TPixelSpan source{static_cast<uint32_t*>(bits), area.Width(), area.Height(), area.left, area.top};
    mark.blocks = BlockAverages(source, area, block);
}

void TMarkupEditor::AddStep(TScreenPoint at)
{
    TMark mark = NewMark(TMarkTool::Step, at);
    mark.number = marks_.NextStepNumber();
    mark.ink = CentredInk(std::to_wstring(mark.number), StepFontHeight(mark.width), at);
    const TScreenRect bounds = MarkBounds(mark);
    marks_.Add(std::move(mark));
    MarksChanged(bounds);
}

// ---- text

void TMarkupEditor::StartText(TScreenPoint at)
{
    text_.clear();
    pending_ = NewMark(TMarkTool::Text, at);
    MarksChanged(PendingBounds());
}

// Ends the text being typed: kept as a mark (when there is any) or dropped.
void TMarkupEditor::EndText(bool keep)
{
    const TScreenRect bounds = PendingBounds();
    TMark mark = std::move(*pending_);
    pending_.reset();
    if (keep && !text_.empty())
        marks_.Add(std::move(mark));
    text_.clear();
    MarksChanged(bounds);
}

void TMarkupEditor::UpdateTextInk()
{
    const TScreenRect before = PendingBounds();
    pending_->ink = TextInk(text_, TextFontHeight(pending_->width), pending_->points[0]);
    MarksChanged(Union(before, PendingBounds()));
}

void TMarkupEditor::Char(wchar_t character)
{
    if (!pending_ || pending_->tool != TMarkTool::Text || character < L' ' || character == 0x7F)
        return;
    text_.push_back(character);
    UpdateTextInk();
}

void TMarkupEditor::TextKey(WPARAM key)
{
    if (key == VK_ESCAPE) {
        EndText(false);
    } else if (key == VK_RETURN && KeyHeld(VK_SHIFT)) {
        text_.push_back(L'\n');
        UpdateTextInk();
    } else if (key == VK_RETURN) {
        EndText(true);
    } else if (key == VK_BACK && !text_.empty()) {
        // A character outside the basic plane goes whole.
        const bool pair = text_.size() >= 2 && IS_LOW_SURROGATE(text_.back()) &&
                          IS_HIGH_SURROGATE(text_[text_.size() - 2]);
        text_.resize(text_.size() - (pair ? 2 : 1));
        UpdateTextInk();
    }
}

// ---- keys

std::optional<TShotAction> TMarkupEditor::KeyDown(WPARAM key)
{
    const bool typing = pending_ && pending_->tool == TMarkTool::Text;
    if (KeyHeld(VK_CONTROL)) {
        if (typing && (key == 'S' || key == 'C' || key == 'P'))
            EndText(true);
        return CommandKey(key);
    }
    if (typing) {
        TextKey(key);
        return std::nullopt;
    }
    switch (key) {
    case VK_ESCAPE:
        return TShotAction::None;
    case VK_RETURN:
        return TShotAction::Save;
    case VK_TAB:
        MoveStripFocus(KeyHeld(VK_SHIFT));
        return std::nullopt;
    case VK_SPACE:
        SpaceKey();
        return std::nullopt;
    }
    ToolKey(key);
    return std::nullopt;
}

std::optional<TShotAction> TMarkupEditor::CommandKey(WPARAM key)
{
    switch (key) {
    case 'S':
        return TShotAction::Save;
    case 'C':
        return TShotAction::Copy;
    case 'P':
        return TShotAction::Pin;
    case 'Z':
        if (KeyHeld(VK_SHIFT))
            Redo();
        else
            Undo();
        break;
    case 'Y':
        Redo();
        break;
    }
    return std::nullopt;
}

// The tools, colours and widths on their keys; true when the key was one.
bool TMarkupEditor::ToolKey(WPARAM key)
{
    for (size_t tool = 0; tool < kToolKeys.size(); ++tool)
        if (key == kToolKeys[tool]) {
            ChooseTool(tool_ == int(tool) ? -1 : int(tool));
            return true;
        }
    if (key >= '1' && key <= '8') {
        colour_ = int(key - '1');
    } else if (key == VK_OEM_4) {
        widthIndex_ = std::max(0, widthIndex_ - 1);
    } else if (key == VK_OEM_6) {
        widthIndex_ = std::min(int(kWidths.size()) - 1, widthIndex_ + 1);
    } else {
        return false;
    }
    UpdateStrip();
    return true;
}

void TMarkupEditor::ChooseTool(int tool)
{
    tool_ = tool;
    UpdateStrip();
}

void TMarkupEditor::MoveStripFocus(bool back)
{
    if (stripFocus_ < 0)
        stripFocus_ = back ? kStripButtonCount - 1 : 0;
    else
        stripFocus_ = (stripFocus_ + (back ? kStripButtonCount - 1 : 1)) % kStripButtonCount;
    UpdateStrip();
}

// Space presses the strip's focused button, or else the mouse button at
// the pointer: the first press starts, the second ends.
void TMarkupEditor::SpaceKey()
{
    if (stripFocus_ >= 0) {
        const int button = stripFocus_;
        stripFocus_ = -1;
        UpdateStrip();
        StripPressed(TStripButton(button));
        return;
    }
    if (Dragging())
        PointerUp(pointer_);
    else
        PointerDown(pointer_);
}

void TMarkupEditor::StripPressed(TStripButton button)
{
    const int index = int(button);
    if (index < kStripToolCount) {
        ChooseTool(tool_ == index ? -1 : index);
        return;
    }
    switch (button) {
    case TStripButton::Colour:
        colour_ = (colour_ + 1) % int(kColours.size());
        break;
    case TStripButton::Width:
        widthIndex_ = (widthIndex_ + 1) % int(kWidths.size());
        break;
    case TStripButton::Undo:
        Undo();
        break;
    case TStripButton::Redo:
        Redo();
        break;
    default:
        // The endings act as their keys do, once the click is over.
        PostMessageW(overlay_.Handle(), WM_MARKUP_FINISH, WPARAM(FinishingAction(button)), 0);
        break;
    }
    UpdateStrip();
}

void TMarkupEditor::Undo()
{
    if (!marks_.CanUndo())
        return;
    const TScreenRect bounds = MarkBounds(marks_.At(marks_.Count() - 1));
    marks_.Undo();
    MarksChanged(bounds);
}

void TMarkupEditor::Redo()
{
    if (!marks_.Redo())
        return;
    MarksChanged(MarkBounds(marks_.At(marks_.Count() - 1)));
}

bool TMarkupEditor::Describe(TAccessibleInfo& info) const
{
    wchar_t size[64];
    swprintf(size, 64, L"%d x %d, %u marks", selection_.Width(), selection_.Height(), unsigned(marks_.Count()));
    info.value = size;
    return true;
}
