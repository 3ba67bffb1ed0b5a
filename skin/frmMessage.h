// The window of the skinned message dialog: a skinned frame, a picture, a
// word-wrapped message and the buttons the dialog puts on it. Ctrl+C copies
// the dialog as text.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "framework/WindowHook.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIButton.h"
#include "skin/SUIColors.h"
#include "skin/SUIForm.h"
#include "skin/SUIThemes.h"

// Where a form goes when it is shown.
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};

// A picture drawn over what lies behind it, magenta left out; it takes the
// picture's size.
class TMessagePicture : public TCustomControl {
public:
    void Create(TWindow& parent, const TBounds& bounds);
    HGDIOBJ Picture() const { return picture_.Handle(); }
    void SetPicture(TGdiObject picture);
    bool Describe(TAccessibleInfo& info) override;

protected:
    void Paint(HDC dc, const RECT& client) override;
    bool ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TGdiObject picture_;
};

class TfrmMsg : public TForm {
public:
    // Owned by the application window, hidden until shown.
    TfrmMsg();
    ~TfrmMsg() override;

    TsuiForm suiForm1;
    TLabel lbl;
    TMessagePicture Image1;

    // The font of the message and the buttons at a display scale; the form
    // keeps its own copy.
    void SetMessageFont(const TsuiFont& face, const TDisplayScale& scale = {});
    // Where the message goes; it keeps the width and wraps to its height.
    void PlaceMessage(const TBounds& bounds);
    HFONT MessageFont() const { return static_cast<HFONT>(messageFont_.Handle()); }

    // A button on the frame, with the message font; cursor: the pointer
    // over it (0: the arrow).
    TsuiButton& AddButton(const TBounds& bounds, short cursor);
    // In the order they were added.
    const std::vector<std::unique_ptr<TsuiButton>>& Buttons() const { return buttons_; }

    // Places the window by kind; owner is the window a form-centred kind
    // centres on. The window stays the same one.
    void ApplyPosition(TPosition kind, const TWindow* owner);
    // The scale of the monitor a position kind puts the window on.
    TDisplayScale ScaleWhereShown(TPosition kind, const TWindow* owner) const;

    // The control that has the focus when the dialog opens.
    void SetActiveControl(TControl* control) { activeControl_ = control; }
    // Shows the dialog modally, the active control focused.
    int RunModal();

    // Ctrl+C: the dialog as text on the clipboard. The key goes on.
    void FormKeyDown(WORD& key, TShiftState shift);
    std::string CopyText() const;
    // A dialog to screen readers: its caption, its message as description.
    bool Describe(TAccessibleInfo& info) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    class TCursorOver;
    // The area a position kind centres the window on; false for the kinds
    // that leave the window where it is (area: the window itself).
    bool PositionArea(TPosition kind, const TWindow* owner, RECT& area) const;

    TGdiObject messageFont_;
    std::vector<std::unique_ptr<TsuiButton>> buttons_;
    std::vector<std::unique_ptr<TCursorOver>> cursors_;
    TControl* activeControl_ = nullptr;
};
