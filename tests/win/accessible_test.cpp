// What a screen reader reads of the skinned controls, the message dialog and
// the popup menu under Wine, through the test kit's reader: every control's
// name, role, states and value; a check box ticked by hand and by the
// reader's default action, and the event that tells of it; the slider's
// value following the keys; the dialog with its text; the menu's
// owner-drawn items with theirs; and an object a reader keeps after its
// window has gone.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "framework/Label.h"
#include "framework/Timer.h"
#include "kit/Accessibility.h"
#include "skin/SUIButton.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIDlg.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUIPopupMenu.h"
#include "skin/SUITrackBar.h"

namespace {

// The settings panel's kinds of control on a skinned frame, named as the
// panel names them.
class PanelForm : public TForm {
public:
    PanelForm()
    {
        InitializeTestApplication("accessible test");
        CreateForm({"Snapquill", {40, 40, 360, 240}, WS_POPUP | WS_VISIBLE, 0, L"Tahoma", 11});
        frame.Create(*this);
        frame.SetUIStyle(MacOS);
        frame.SetCaption("Snapquill");
        label.Create(frame, {10, 40, 80, 16}, "Images Folder:", nullptr);
        folder.Create(frame, {100, 40, 150, 20}, "C:\\shots", true, nullptr);
        folder.SetAccessibleName("Images Folder");
        browse.Create(frame, {260, 40, 30, 20}, "...", nullptr);
        browse.SetAccessibleName("Browse Folders");
        format.Create(frame, {100, 70, 150, 20}, {"BMP Format", "JPG Format", "PNG Format"}, 1, 16, nullptr);
        format.SetAccessibleName("File Format");
        taskbar.Create(frame, {10, 100, 150, 17}, "Include Taskbar", false, nullptr);
        slider.Create(frame, {10, 130, 200, 24}, 1, 100, 90, 10, 1);
        slider.SetAccessibleName("JPG Quality");
        plain.Create(frame, {10, 170, 150, 20}, "plain", false, nullptr);
        SetTabOrder({&folder, &format, &browse, &taskbar, &slider, &plain});
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        PumpFor(100);
    }
    ~PanelForm() override { DestroyHandle(); }

    TsuiForm frame;
    TLabel label;
    TsuiEdit folder;
    TsuiButton browse;
    TsuiComboBox format;
    TsuiCheckBox taskbar;
    TsuiTrackBar slider;
    TEdit plain; // the system's own edit, as the system describes it
};

const TAccessibleNode* NodeOf(const TAccessibleNode& tree, HWND window)
{
    if (tree.window == window && tree.childId == CHILDID_SELF)
        return &tree;
    for (const TAccessibleNode& child : tree.children)
        if (const TAccessibleNode* found = NodeOf(child, window))
            return found;
    return nullptr;
}

const TAccessibleNode* NodeWithRole(const TAccessibleNode& tree, long role)
{
    if (tree.role == role)
        return &tree;
    for (const TAccessibleNode& child : tree.children)
        if (const TAccessibleNode* found = NodeWithRole(child, role))
            return found;
    return nullptr;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

} // namespace

TEST(Accessible, EveryControlReadsWithItsNameRoleStatesAndValue)
{
    TComApartment com;
    PanelForm form;
    form.folder.SetFocus();
    const TAccessibleNode tree = ReadAccessible(form.Handle());
    SCOPED_TRACE(Narrow(TreeText(tree)));

    struct Expected {
        HWND window;
        const wchar_t* name;
        long role;
        const wchar_t* value;
        long state;
    };
    const Expected controls[] = {
        {form.label.Handle(), L"Images Folder:", ROLE_SYSTEM_STATICTEXT, L"", STATE_SYSTEM_READONLY},
        {form.folder.Handle(), L"Images Folder", ROLE_SYSTEM_TEXT, L"C:\\shots",
         STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE},
        {form.browse.Handle(), L"Browse Folders", ROLE_SYSTEM_PUSHBUTTON, L"", STATE_SYSTEM_FOCUSABLE},
        {form.format.Handle(), L"File Format", ROLE_SYSTEM_COMBOBOX, L"JPG Format",
         STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_COLLAPSED},
        {form.taskbar.Handle(), L"Include Taskbar", ROLE_SYSTEM_CHECKBUTTON, L"", STATE_SYSTEM_FOCUSABLE},
        {form.slider.Handle(), L"JPG Quality", ROLE_SYSTEM_SLIDER, L"90", STATE_SYSTEM_FOCUSABLE},
        {form.plain.Handle(), L"", ROLE_SYSTEM_TEXT, L"plain", STATE_SYSTEM_FOCUSABLE},
    };
    for (const Expected& control : controls) {
        const TAccessibleNode* node = NodeOf(tree, control.window);
        ASSERT_NE(node, nullptr) << Narrow(control.name);
        EXPECT_TRUE(node->read) << Narrow(control.name);
        EXPECT_EQ(node->name, control.name);
        EXPECT_EQ(node->role, control.role) << Narrow(control.name);
        EXPECT_EQ(node->value, control.value) << Narrow(control.name);
        EXPECT_TRUE(node->Has(control.state)) << Narrow(control.name) << ": " << Narrow(StateText(node->state));
        EXPECT_FALSE(node->Has(STATE_SYSTEM_CHECKED)) << Narrow(control.name);
    }
    EXPECT_EQ(NodeOf(tree, form.browse.Handle())->defaultAction, L"Press");
    EXPECT_EQ(NodeOf(tree, form.taskbar.Handle())->defaultAction, L"Check");
    EXPECT_FALSE(NodeOf(tree, form.plain.Handle())->Has(STATE_SYSTEM_READONLY));

    // The title bar's buttons are its parts: the round menu button first.
    const TAccessibleNode* bar = NodeWithRole(tree, ROLE_SYSTEM_TITLEBAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->name, L"Snapquill");
    const TAccessibleNode* menu = NodeWithRole(*bar, ROLE_SYSTEM_BUTTONMENU);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->name, L"Menu");
    EXPECT_EQ(menu->defaultAction, L"Open");
    const TAccessibleNode* close = bar->Find(L"Close");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_FALSE(close->Has(STATE_SYSTEM_INVISIBLE));

    // A new caption renames the title bar, and readers hear of it.
    TWinEventRecorder events;
    form.frame.SetCaption("Snapquill - shots");
    EXPECT_EQ(ReadAccessible(form.frame.TitleBar().Handle(), false).name, L"Snapquill - shots");
    EXPECT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_NAMECHANGE, form.frame.TitleBar().Handle()) >= 1; }));
}

TEST(Accessible, TickingACheckBoxChangesItsStateAndTellsReaders)
{
    TComApartment com;
    PanelForm form;
    TWinEventRecorder events;
    ASSERT_TRUE(events.Hooked());
    int clicks = 0;
    form.taskbar.OnClick = [&] { ++clicks; };

    ClickByHand(CentreOf(form.taskbar.Handle()));
    ASSERT_TRUE(WaitUntil([&] { return form.taskbar.Checked(); })) << "the click ticks the box";
    const TAccessibleNode ticked = ReadAccessible(form.taskbar.Handle(), false);
    EXPECT_TRUE(ticked.Has(STATE_SYSTEM_CHECKED)) << Narrow(StateText(ticked.state));
    EXPECT_EQ(ticked.defaultAction, L"Uncheck");
    EXPECT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_STATECHANGE, form.taskbar.Handle()) == 1; }));

    // The reader's default action unticks it as a click would.
    const TAccessibleObject box(form.taskbar.Handle());
    EXPECT_EQ(box.DoDefaultAction(), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return !form.taskbar.Checked(); }));
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(ReadAccessible(form.taskbar.Handle(), false).Has(STATE_SYSTEM_CHECKED));
    EXPECT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_STATECHANGE, form.taskbar.Handle()) == 2; }));

    // Set by the program, it tells readers too; unchanged, it does not.
    form.taskbar.SetChecked(true);
    form.taskbar.SetChecked(true);
    EXPECT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_STATECHANGE, form.taskbar.Handle()) == 3; }));
    PumpFor(100);
    EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, form.taskbar.Handle()), 3);
}

TEST(Accessible, TheSlidersValueFollowsTheKeysAndItsNameItsFormat)
{
    TComApartment com;
    PanelForm form;
    TWinEventRecorder events;
    form.slider.SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_FOCUS, form.slider.Handle()) >= 1; }))
        << "readers hear where the focus went";
    EXPECT_TRUE(ReadAccessible(form.slider.Handle(), false).Has(STATE_SYSTEM_FOCUSED));

    ASSERT_TRUE(PressKey(VK_RIGHT));
    EXPECT_TRUE(WaitUntil([&] { return ReadAccessible(form.slider.Handle(), false).value == L"91"; }));
    ASSERT_TRUE(PressKey(VK_HOME));
    EXPECT_TRUE(WaitUntil([&] { return ReadAccessible(form.slider.Handle(), false).value == L"1"; }));
    EXPECT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_VALUECHANGE, form.slider.Handle()) == 2; }));
    ASSERT_TRUE(PressKey(VK_HOME));
    PumpFor(100);
    EXPECT_EQ(events.Count(EVENT_OBJECT_VALUECHANGE, form.slider.Handle()), 2) << "no move, no event";

    form.slider.SetAccessibleName("PNG Compression");
    EXPECT_EQ(ReadAccessible(form.slider.Handle(), false).name, L"PNG Compression");
    EXPECT_TRUE(WaitUntil([&] { return events.Count(EVENT_OBJECT_NAMECHANGE, form.slider.Handle()) == 1; }));
}

TEST(Accessible, TheMessageDialogReadsAsADialogWithItsText)
{
    TComApartment com;
    InitializeTestApplication("accessible test");
    TsuiMessageDialog dialog;
    dialog.SetCaption("About...");
    dialog.SetText("Snapquill v1.1");
    dialog.SetIconType(TsuiIconType::suiInformation);
    TAccessibleNode tree;
    HWND label = nullptr, picture = nullptr, ok = nullptr;
    TTimer timer;
    timer.SetInterval(50);
    timer.OnTimer = [&] {
        TfrmMsg* form = dialog.Window();
        if (!form || !IsWindowVisible(form->Handle()) || form->Buttons().empty())
            return;
        timer.SetEnabled(false);
        tree = ReadAccessible(form->Handle());
        label = form->lbl.Handle();
        picture = form->Image1.Handle();
        ok = form->Buttons()[0]->Handle();
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    };
    timer.SetEnabled(true);
    dialog.ShowModal();
    SCOPED_TRACE(Narrow(TreeText(tree)));

    EXPECT_EQ(tree.role, ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(tree.name, L"About...");
    EXPECT_EQ(tree.description, L"Snapquill v1.1");
    const TAccessibleNode* text = NodeOf(tree, label);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(text->name, L"Snapquill v1.1");
    ASSERT_NE(NodeOf(tree, picture), nullptr);
    EXPECT_EQ(NodeOf(tree, picture)->role, ROLE_SYSTEM_GRAPHIC);
    const TAccessibleNode* button = NodeOf(tree, ok);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(button->name, L"OK");
    const TAccessibleNode* bar = NodeWithRole(tree, ROLE_SYSTEM_TITLEBAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->name, L"About...");
}

// A reader finds an owner-drawn item's text at the start of its data, as
// the system's menu object reads it.
TEST(Accessible, TheMenusOwnerDrawnItemsCarryTheirTextAndStillWork)
{
    PanelForm form;
    TsuiPopupMenu menu(&form);
    bool exited = false;
    menu.Add("&Hide");
    menu.Add("-");
    menu.Add("E&xit", [&] { exited = true; });
    menu.Item(0).SetShortCutText("Ctrl+H");
    std::vector<std::wstring> texts;
    std::vector<bool> ownerDrawn;
    TTimer timer;
    timer.SetInterval(50);
    timer.OnTimer = [&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (!popup || !IsWindowVisible(popup))
            return;
        timer.SetEnabled(false);
        HMENU shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(shown); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA | MIIM_FTYPE;
            GetMenuItemInfoW(shown, static_cast<UINT>(i), TRUE, &info);
            ownerDrawn.push_back((info.fType & MFT_OWNERDRAW) != 0);
            const auto* reader = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
            if (reader && reader->dwMSAASignature == MSAA_MENU_SIG)
                texts.emplace_back(reader->pszWText, reader->cchWText);
            else
                texts.emplace_back(L"(no text for readers)");
        }
        PressKey('X');
    };
    timer.SetEnabled(true);
    menu.Popup(form.Handle(), 100, 100);

    EXPECT_EQ(texts, (std::vector<std::wstring>{L"&Hide\tCtrl+H", L"-", L"E&xit"}));
    EXPECT_EQ(ownerDrawn, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(exited) << "the item's letter still chooses it";
}

TEST(Accessible, AnObjectKeptAfterItsWindowHasGoneSaysSo)
{
    TComApartment com;
    PanelForm form;
    const TAccessibleObject box(form.taskbar.Handle());
    ASSERT_TRUE(box.Valid());
    std::wstring name;
    EXPECT_EQ(box.Name(name), S_OK);
    EXPECT_EQ(name, L"Include Taskbar");
    form.taskbar.DestroyHandle();
    EXPECT_TRUE(FAILED(box.Name(name)));
    EXPECT_TRUE(FAILED(box.DoDefaultAction()));
}
