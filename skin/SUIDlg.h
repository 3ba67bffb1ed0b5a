// Skinned dialogs: components that hold a dialog's settings and build its
// window only while it is shown. TsuiMessageDialog is the skinned message
// box (the program's About box).
#pragma once

#include <array>
#include <string>

#include "framework/Window.h"
#include "skin/SUIColors.h"
#include "skin/SUIDialogLayout.h"
#include "skin/SUIThemes.h"
#include "skin/frmMessage.h"

// A dialog's fonts: the message's, in the window-text colour (a system
// colour reference, 0xFF0000nn, or 0x00BBGGRR; height in pixels: 9 points
// are -12 on a screen of 96 dots per inch), and the title bar's.
struct TsuiDialogLook {
    TsuiFont font{"MS Sans Serif", -11, false, 0xFF000008};
    TsuiFont captionFont{"Tahoma", -11, true, 0xFFFFFF};
};

// What every skinned dialog shares: its frame's style, caption and fonts,
// and where it appears.
class TsuiDialog : public TsuiStyled {
public:
    // owner: the window the dialog belongs to; its skinned frame gives the
    // initial style.
    explicit TsuiDialog(const TWindow* owner = nullptr);
    virtual ~TsuiDialog() = default;
    TsuiDialog(const TsuiDialog&) = delete;
    TsuiDialog& operator=(const TsuiDialog&) = delete;

    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    // The title bar's text.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }
    const TsuiDialogLook& Look() const { return look_; }
    void SetLook(const TsuiDialogLook& look) { look_ = look; }
    // The message's font.
    const TsuiFont& Font() const { return look_.font; }
    void SetFont(const TsuiFont& value) { look_.font = value; }
    // The title bar's font.
    const TsuiFont& CaptionFont() const { return look_.captionFont; }
    void SetCaptionFont(const TsuiFont& value) { look_.captionFont = value; }

    // Builds the dialog's window, runs it modally, destroys it and returns
    // the modal result it closed with.
    virtual int ShowModal() = 0;

protected:
    // MacOS also turns the caption font black.
    void Restyle(TsuiRestyle what) override;
    const TWindow* Owner() const { return owner_; }
    // A cursor number: 0 the arrow, -21 the hand.
    short cursor_ = -21;

private:
    const TWindow* owner_;
    std::string caption_ = "suiDialog";
    TPosition position_ = poScreenCenter;
    TsuiDialogLook look_;
};

// Scoped: the title bar's button types have a suiHelp of their own.
enum class TsuiIconType { suiNone = 0, suiWarning = 1, suiStop = 2, suiInformation = 3, suiHelp = 4 };

// A modal message with an optional picture and one to three buttons.
// Enter clicks the OK button, Escape a Cancel button (or the only button);
// Ctrl+C copies the dialog as text.
class TsuiMessageDialog : public TsuiDialog {
public:
    explicit TsuiMessageDialog(const TWindow* owner = nullptr);

    // The pointer over the buttons: 0 the arrow, -21 the hand.
    short ButtonCursor() const { return cursor_; }
    void SetButtonCursor(short value) { cursor_ = value; }
    // 1 to 3; other values are brought into that range.
    int ButtonCount() const { return buttonCount_; }
    void SetButtonCount(int value);
    const std::string& Button1Caption() const { return captions_[0]; }
    void SetButton1Caption(const std::string& value) { captions_[0] = value; }
    const std::string& Button2Caption() const { return captions_[1]; }
    void SetButton2Caption(const std::string& value) { captions_[1] = value; }
    const std::string& Button3Caption() const { return captions_[2]; }
    void SetButton3Caption(const std::string& value) { captions_[2] = value; }
    // What a click on the button returns: 1 (OK) makes it the default
    // button, 2 (Cancel) a cancel button.
    int Button1ModalResult() const { return results_[0]; }
    void SetButton1ModalResult(int value) { results_[0] = value; }
    int Button2ModalResult() const { return results_[1]; }
    void SetButton2ModalResult(int value) { results_[1] = value; }
    int Button3ModalResult() const { return results_[2]; }
    void SetButton3ModalResult(int value) { results_[2] = value; }
    TsuiIconType IconType() const { return iconType_; }
    void SetIconType(TsuiIconType value) { iconType_ = value; }
    // The message; it wraps at the dialog's width, and line breaks in it
    // are kept.
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value) { text_ = value; }

    int ShowModal() override;
    // While ShowModal runs: its window; nullptr otherwise.
    TfrmMsg* Window() const { return window_; }

private:
    void Build(TfrmMsg& form);
    void AddButtons(TfrmMsg& form, const TsuiDialogLayout& layout);

    int buttonCount_ = 1;
    std::array<std::string, 3> captions_{"OK", "Cancel", "Cancel"};
    std::array<int, 3> results_{mrOk, mrCancel, mrCancel};
    TsuiIconType iconType_ = TsuiIconType::suiNone;
    std::string text_ = "Hello world!";
    TfrmMsg* window_ = nullptr;
};
