// A slider in the skin's look: the bar picture stretched along the control
// and a slider child that shows the slider picture over it. Keys, dragging
// and paging by pressing on the bar move it; OnChange reports each new
// position once.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/CustomControl.h"
#include "framework/Timer.h"
#include "skin/SUIGeometry.h"
#include "skin/SUIThemes.h"

enum TsuiTrackBarOrientation { suiHorizontal = 0, suiVertical = 1 };

// The slider: its picture with the magenta key colour transparent over
// whatever the bar shows beneath. The mouse passes through it to the bar.
class TsuiTrackBarSlider : public TCustomControl {
public:
    void Create(TWindow& parent);
    // Not owned: the track bar keeps the picture. The slider takes its size.
    void SetPicture(HGDIOBJ picture);
    // The slider's position indicator to screen readers.
    bool Describe(TAccessibleInfo& info) override;

protected:
    void Paint(HDC dc, const RECT& client) override;
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HGDIOBJ picture_ = nullptr;
};

// A track bar's look: the stored tick settings (no ticks are drawn),
// whether it shows its parent through, and its background, which follows
// the style's form colour while parentColor is on.
struct TsuiTrackBarLook {
    bool showTick = true;
    int frequency = 1;
    bool transparent = false;
    bool parentColor = true;
    uint32_t color = 0xE8E8E8;
};

class TsuiTrackBar : public TCustomControl, public TsuiStyled {
public:
    ~TsuiTrackBar() override;

    // The style starts as the one of the form's skinned frame; the values
    // follow the setters' rules.
    void Create(TWindow& parent, const TBounds& bounds, int min, int max, int position, int pageSize = 2,
                int lineSize = 1);

    TsuiTrackBarOrientation Orientation() const { return orientation_; }
    // Turning the control swaps its width and height.
    void SetOrientation(TsuiTrackBarOrientation value);
    int Min() const { return range_.min; }
    void SetMin(int value);
    int Max() const { return range_.max; }
    void SetMax(int value);
    int Position() const { return range_.position; }
    void SetPosition(int value);
    // Values outside 0..Max are ignored.
    int PageSize() const { return range_.pageSize; }
    void SetPageSize(int value) { range_.SetPageSize(value); }
    int LineSize() const { return range_.lineSize; }
    void SetLineSize(int value) { range_.SetLineSize(value); }
    TsuiTrackBarLook Look() const;
    void SetLook(const TsuiTrackBarLook& look);
    // Kept for the form's settings; no ticks are drawn.
    bool ShowTick() const { return look_.showTick; }
    void SetShowTick(bool value) { look_.showTick = value; }
    int Frequency() const { return look_.frequency; }
    void SetFrequency(int value) { look_.frequency = value; }

    void SetTransparent(bool value);
    // With ParentColor the background is the form colour of the style.
    bool ParentColor() const { return look_.parentColor; }
    void SetParentColor(bool value);
    uint32_t Color() const { return look_.color; }
    void SetColor(uint32_t value);

    HGDIOBJ BarImage() const { return barImage_.Handle(); }
    void SetBarImage(TGdiObject image);
    HGDIOBJ SliderImage() const { return sliderImage_.Handle(); }
    void SetSliderImage(TGdiObject image);

    // Where the slider is, in the control's client area.
    RECT SliderRect() const;
    bool Dragging() const { return dragging_; }
    bool Paging() const { return pageTimer_ != nullptr; }
    // A slider to screen readers, its position as value.
    bool Describe(TAccessibleInfo& info) override;

    // Position differs from the one last reported.
    std::function<void()> OnChange;

protected:
    // Reads the bar and slider pictures and fits the control's thickness to
    // them; MacOS makes the control transparent.
    void Restyle(TsuiRestyle what) override;
    void Paint(HDC dc, const RECT& client) override;
    UINT DialogCode() override { return DLGC_WANTARROWS; }
    void FocusChanged(bool) override { Repaint(); }
    void EnabledChanged(bool) override { Repaint(); }
    void MouseLeave() override;
    // The keys move the slider by a line, a page or to an end.
    bool KeyDown(WORD key, bool repeated) override;
    // On the slider: dragging it; beside it: paging towards the pointer
    // until the button goes up.
    bool MouseDown(POINT p, bool doubleClick) override;
    bool MouseMove(POINT p) override;
    bool MouseUp(POINT p) override;
    void CaptureLost() override { dragging_ = false; }
    // Reads out its values to tools, as a system track bar does.
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool Vertical() const { return orientation_ == suiVertical; }
    // The control's length along its axis, and the slider's.
    int TrackLength() const;
    int SliderLength() const;
    int Along(POINT p) const { return Vertical() ? p.y : p.x; }
    void PicturesChanged();
    void MakeBar();
    void PlaceSlider();
    void Repaint();
    // After every change of a value: the slider moves, the control
    // repaints, and OnChange hears of a new position.
    void Changed();
    // One step of paging towards the pointer.
    void PageTowardsPointer(int step);
    void StopPaging();
    void StopDragging();

    TsuiTrackBarOrientation orientation_ = suiHorizontal;
    TsuiTrackRange range_;
    int reported_ = 0;
    // Its transparent stays the control's own.
    TsuiTrackBarLook look_;
    TGdiObject barImage_;
    TGdiObject sliderImage_;
    // The bar picture stretched to the control's length, magenta around it.
    TGdiObject bar_;
    TsuiTrackBarSlider slider_;
    bool dragging_ = false;
    int grabOffset_ = 0;
    // Present only while the bar is held down beside the slider.
    std::unique_ptr<TTimer> pageTimer_;
    POINT pointer_{};
};
