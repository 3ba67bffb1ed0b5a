// The real program as a screen reader reads it from another process: the
// settings panel's controls with their names, roles, states and values, the
// slider named after the format it serves, the title bar's round menu button
// pressed through the reader, and the About box it leads to.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <iostream>

#include "kit/Accessibility.h"
#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

struct Expected {
    const wchar_t* name;
    long role;
    std::wstring value;
    long state;
};

void ExpectNode(const TAccessibleNode& tree, const Expected& expected)
{
    const TAccessibleNode* node = tree.Find(expected.name);
    ASSERT_NE(node, nullptr) << Narrow(expected.name) << " is not read";
    EXPECT_EQ(node->role, expected.role) << Narrow(expected.name) << ": " << Narrow(RoleText(node->role));
    EXPECT_EQ(node->value, expected.value) << Narrow(expected.name);
    EXPECT_EQ(node->state & (expected.state | STATE_SYSTEM_CHECKED), expected.state)
        << Narrow(expected.name) << ": " << Narrow(StateText(node->state));
}

} // namespace

TEST(ScreenReader, ThePanelTheTitleBarAndTheAboutBoxReadWithTheirNamesRolesAndValues)
{
    TComApartment com;
    ScratchFolder folder;
    Snapquill program(folder.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);

    program.SelectFormat(kPng);
    ASSERT_TRUE(WaitUntil([&] { return ReadAccessible(main).Find(L"PNG Compression") != nullptr; }))
        << Narrow(TreeText(ReadAccessible(main)));
    const TAccessibleNode panel = ReadAccessible(main);
    std::wcout << L"The settings panel:\n" << TreeText(panel);
    SCOPED_TRACE(Narrow(TreeText(panel)));
    const Expected controls[] = {
        {L"Images Folder", ROLE_SYSTEM_TEXT, folder.Path().wstring(), STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE},
        {L"Browse Folders", ROLE_SYSTEM_PUSHBUTTON, L"", STATE_SYSTEM_FOCUSABLE},
        {L"File Format", ROLE_SYSTEM_COMBOBOX, L"PNG Format", STATE_SYSTEM_FOCUSABLE},
        {L"Filename", ROLE_SYSTEM_TEXT, L"shot", STATE_SYSTEM_FOCUSABLE},
        {L"Include Taskbar", ROLE_SYSTEM_CHECKBUTTON, L"", STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE},
        {L"Display Notification", ROLE_SYSTEM_CHECKBUTTON, L"", STATE_SYSTEM_FOCUSABLE},
        {L"PNG Compression", ROLE_SYSTEM_SLIDER, L"7", STATE_SYSTEM_FOCUSABLE},
        {L"Images Folder:", ROLE_SYSTEM_STATICTEXT, L"", STATE_SYSTEM_READONLY},
        {L"Menu", ROLE_SYSTEM_BUTTONMENU, L"", 0},
    };
    for (const Expected& control : controls)
        ExpectNode(panel, control);
    EXPECT_EQ(panel.Find(L"JPG Quality"), nullptr) << "the slider is named after the format it serves";

    // The round menu button, pressed through the reader, opens the menu;
    // its second item is About.
    const TAccessibleObject bar(program.TitleBar());
    std::wstring name;
    ASSERT_EQ(bar.Name(name, 1), S_OK);
    EXPECT_EQ(name, L"Menu");
    EXPECT_EQ(bar.DoDefaultAction(1), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenuOf(program) != nullptr; })) << "the menu button opens no menu";
    PressKey(VK_DOWN);
    PumpFor(50);
    PressKey(VK_DOWN);
    PumpFor(50);
    PressKey(VK_RETURN);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = AboutBoxOf(program)) != nullptr; })) << "About shows no box";
    const TAccessibleNode box = ReadAccessible(about);
    std::wcout << L"The About box:\n" << TreeText(box);
    EXPECT_EQ(box.role, ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(box.name, L"About...");
    EXPECT_NE(box.description.find(L"Snapquill"), std::wstring::npos) << Narrow(box.description);
    ExpectNode(box, {L"OK", ROLE_SYSTEM_PUSHBUTTON, L"", STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE});
    SetForegroundWindow(about);
    PumpFor(300);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }));
}
