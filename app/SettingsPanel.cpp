#include "app/SettingsPanel.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "app/PanelLayout.h"
#include "app/Looks.h"
#include "core/Text.h"
#include "framework/Application.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"
#include "shell/JvSelectDirectory.h"

int32_t JpgQuality = 90;
int32_t PngLevel = 7;

namespace {

// The formats with a slider; the others hide its row.
const TFormatSlider kFormatSliders[] = {
    {TShotFormat::Jpg, "JPG Quality: %d", 100, &JpgQuality},
    {TShotFormat::Png, "PNG Compression: %d", 9, &PngLevel},
};

const TFormatSlider* SliderOf(TShotFormat format)
{
    for (const TFormatSlider& slider : kFormatSliders)
        if (slider.format == format)
            return &slider;
    return nullptr;
}

// The information icon of a titled tooltip.
constexpr int kTipIcon = 1;

TGdiObject PanelFont(int height)
{
    return TGdiObject(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Trebuchet MS"));
}

// What screen readers call the control beside a label: the label's text up
// to its colon ("Images Folder:" names "Images Folder").
std::string LabelName(const std::string& label)
{
    return label.substr(0, label.find(':'));
}

} // namespace

void TSettingsPanel::Create(TsuiForm& frame)
{
    labelFont_ = PanelFont(-layout::kLabelFontHeight);
    HFONT labelFont = static_cast<HFONT>(labelFont_.Handle());
    lblPath.Create(frame, layout::lblPath, "Images Folder:", labelFont);
    edPath.Create(frame, layout::edPath, "", true, nullptr);
    edPath.SetLook(look::PanelEdit(edPath.Look()));
    btnBrowse.Create(frame, layout::btnBrowse, "...", nullptr);
    btnBrowse.OnClick = [this] { BrowseFolders(); };
    lblFormat.Create(frame, layout::lblFormat, "File Format:", labelFont);
    cbType.Create(frame, layout::cbType, {"BMP Format", "JPG Format", "PNG Format"}, 0, layout::kComboItemHeight,
                  nullptr);
    cbType.SetLook(look::PanelComboBox(cbType.Look()));
    lblFile.Create(frame, layout::lblFile, "Filename:", labelFont);
    edFile.Create(frame, layout::edFile, "shot", false, labelFont);
    edFile.SetLook(look::PanelEdit(edFile.Look()));
    ckTaskbar.Create(frame, layout::ckTaskbar, "Include Taskbar", true, nullptr);
    chkNotify.Create(frame, layout::chkNotify, "Display Notification", false, nullptr);
    ckTaskbar.SetLook(look::PanelCheckBox(ckTaskbar.Look()));
    chkNotify.SetLook(look::PanelCheckBox(chkNotify.Look()));
    lblQuality.Create(frame, layout::lblQuality, "JPG Quality: ", labelFont);
    cbType.OnSelect = [this] { TypeChange(); };
    tbQuality.Create(frame, layout::tbQuality, 1, 3, 2, 2, 1);
    tbQuality.SetLook(look::PanelSlider(tbQuality.Look()));
    tbQuality.OnChange = [this] { tbQualityChange(); };
    SetTabOrder({&edPath, &cbType, &btnBrowse, &ckTaskbar, &chkNotify, &tbQuality, &edFile});
    NameControls();
}

// The labels stand beside the controls as windows of their own: readers
// take each control's name from here.
void TSettingsPanel::NameControls()
{
    edPath.SetAccessibleName(LabelName(lblPath.Text()));
    btnBrowse.SetAccessibleName("Browse Folders");
    cbType.SetAccessibleName(LabelName(lblFormat.Text()));
    edFile.SetAccessibleName(LabelName(lblFile.Text()));
    tbQuality.SetAccessibleName(LabelName(lblQuality.Text()));
}

void TSettingsPanel::Store(TSettings& settings) const
{
    settings.defaultPath = edPath.Text();
    settings.filename = edFile.Text();
    settings.fileFormat = cbType.ItemIndex();
    settings.png = PngLevel;
    settings.jpg = JpgQuality;
    settings.includeTask = ckTaskbar.Checked();
    settings.notifyShots = chkNotify.Checked();
}

void TSettingsPanel::Show(const TSettings& settings)
{
    edPath.SetText(settings.defaultPath);
    edFile.SetText(settings.filename);
    cbType.SetItemIndex(settings.fileFormat);
    PngLevel = settings.png;
    JpgQuality = settings.jpg;
    ckTaskbar.SetChecked(settings.includeTask);
    chkNotify.SetChecked(settings.notifyShots);
}

// Without a slider for the format, the slider keeps serving the one shown
// last while its row is hidden.
void TSettingsPanel::TypeChange()
{
    const TFormatSlider* slider = SliderOf(ShotFormatFromIndex(cbType.ItemIndex()));
    if (slider)
        ShowSlider(*slider);
    if (OnHeightWanted)
        OnHeightWanted(slider ? layout::kTallHeight : layout::kShortHeight);
}

// The value to show is taken before the range changes: moving the maximum
// may clamp the position and report it as a change.
void TSettingsPanel::ShowSlider(const TFormatSlider& slider)
{
    const int value = std::clamp(*slider.value, 1, slider.max);
    slider_ = &slider;
    tbQuality.SetAccessibleName(LabelName(slider.caption));
    tbQuality.SetMax(slider.max);
    tbQuality.SetPosition(value);
    tbQualityChange();
}

void TSettingsPanel::tbQualityChange()
{
    if (!slider_)
        return;
    lblQuality.SetText(FormatText(slider_->caption, {int64_t(tbQuality.Position())}));
    *slider_->value = tbQuality.Position();
}

void TSettingsPanel::BrowseFolders()
{
    TJvSelectDirectory picker;
    picker.SetClassicDialog(false);
    picker.SetTitle(LoadStr(IDS_SELECT_FOLDER));
    if (picker.Execute())
        edPath.SetText(picker.Directory());
    edPath.SetHint(edPath.Text());
}

HWND TSettingsPanel::AddControlTip(const TControl& control, const std::string& title, const std::wstring& text)
{
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               control.Handle(), nullptr, Application.Instance(), nullptr);
    if (!tip)
        return nullptr;
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_CENTERTIP | TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = control.Handle();
    GetClientRect(control.Handle(), &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip, TTM_SETTITLEA, kTipIcon, reinterpret_cast<LPARAM>(title.c_str()));
    return tip;
}

void TSettingsPanel::AddControlTips()
{
    AddControlTip(edPath, "Images Folder", L"Your screenshots will be saved in this folder");
    AddControlTip(btnBrowse, "Browse Folders", L"Choose the path where your screenshots will be saved");
    // Kept off the format list while it is dropped.
    cbType.AttachTip(AddControlTip(cbType, "File Type", L"Screenshots will be saved with this filetype"));
    AddControlTip(edFile, "Filename", L"Your screenshots will be saved with this name");
    AddControlTip(ckTaskbar, "Include Taskbar", L"Include Taskbar in the screenshots");
    AddControlTip(chkNotify, "Display Notify", L"Display information about your screenshot\r\nas soon as you take it");
    AddControlTip(tbQuality, "Quality", L"Set the compression quality of your PNG/JPG files");
}

void TSettingsPanel::ApplyScale(const TDisplayScale& scale)
{
    // Placed first: labels and check boxes then fit their new fonts and
    // pictures from their corner.
    PlaceControls(scale);
    MakeFonts(scale);
}

void TSettingsPanel::PlaceControls(const TDisplayScale& scale)
{
    struct TPlacedControl {
        TControl* control;
        TBounds designed;
    };
    const std::array<TPlacedControl, 10> places{{
        {&lblPath, layout::lblPath},
        {&edPath, layout::edPath},
        {&btnBrowse, layout::btnBrowse},
        {&lblFormat, layout::lblFormat},
        {&lblFile, layout::lblFile},
        {&edFile, layout::edFile},
        {&ckTaskbar, layout::ckTaskbar},
        {&chkNotify, layout::chkNotify},
        {&lblQuality, layout::lblQuality},
        {&tbQuality, layout::tbQuality},
    }};
    for (const TPlacedControl& place : places)
        place.control->SetBounds(scale.Bounds(place.designed));
    // A combo box's window holds its list too.
    cbType.Place(scale.Bounds(layout::cbType), scale.Length(layout::kComboItemHeight));
}

// New fonts are handed to the controls before the old ones go.
void TSettingsPanel::MakeFonts(const TDisplayScale& scale)
{
    TGdiObject label = PanelFont(scale.FontHeight(-layout::kLabelFontHeight));
    TGdiObject panel = PanelFont(scale.FontHeight(-layout::kPanelFontHeight));
    for (TControl* control : std::array<TControl*, 5>{&lblPath, &lblFormat, &lblFile, &edFile, &lblQuality})
        control->SetFont(static_cast<HFONT>(label.Handle()));
    for (TControl* control : std::array<TControl*, 5>{&edPath, &btnBrowse, &cbType, &ckTaskbar, &chkNotify})
        control->SetFont(static_cast<HFONT>(panel.Handle()));
    labelFont_ = std::move(label);
    panelFont_ = std::move(panel);
}
