// The settings panel on the main window's skinned frame: the images folder
// with its browse button, the file format, the file-name prefix, the two
// check boxes and the slider of the JPEG quality or the PNG compression,
// with a titled tooltip on each. The slider row is shown only for the
// formats that have a slider; the panel asks its owner for the window
// height that fits (OnHeightWanted). It lays itself out at a display scale
// and hands its values to the settings and back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/Settings.h"
#include "core/DisplayScale.h"
#include "framework/Label.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIButton.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUITrackBar.h"

// The slider's values: the JPEG quality and the PNG compression level of
// the next shot.
extern int32_t JpgQuality;
extern int32_t PngLevel;

// A format's slider: its caption (with the value for %d), its range from 1,
// and the value it shows and sets.
struct TFormatSlider {
    TShotFormat format;
    const char* caption;
    int max;
    int32_t* value;
};

class TSettingsPanel {
public:
    // Creates the controls on frame, in their tab order.
    void Create(TsuiForm& frame);
    // After the settings were read: the tooltips.
    void AddControlTips();

    // The designed outer height of the window that shows the panel's rows.
    std::function<void(int designedOuterHeight)> OnHeightWanted;

    std::string Folder() const { return edPath.Text(); }
    void SetFolder(const std::string& folder) { edPath.SetText(folder); }
    // The panel's seven stored values into settings, and back.
    void Store(TSettings& settings) const;
    void Show(const TSettings& settings);

    // The format list's choice: the slider's range, caption and value, and
    // the height.
    void TypeChange();
    // The slider moved: its caption and value.
    void tbQualityChange();
    void BrowseFolders();

    // Places, fonts and pictures at the display scale.
    void ApplyScale(const TDisplayScale& scale);

private:
    void PlaceControls(const TDisplayScale& scale);
    void MakeFonts(const TDisplayScale& scale);
    void ShowSlider(const TFormatSlider& slider);
    void NameControls();
    HWND AddControlTip(const TControl& control, const std::string& title, const std::wstring& text);

    // Fonts first: they outlive the controls that draw with them.
    TGdiObject labelFont_;
    TGdiObject panelFont_;

    TLabel lblPath;
    TsuiEdit edPath;
    TsuiButton btnBrowse;
    TLabel lblFormat;
    TsuiComboBox cbType;
    TLabel lblFile;
    TsuiEdit edFile;
    TsuiCheckBox ckTaskbar;
    TsuiCheckBox chkNotify;
    TLabel lblQuality;
    TsuiTrackBar tbQuality;

    const TFormatSlider* slider_ = nullptr; // the slider shown last
};
