// The folder picker behind the browse button: the folder chosen in it
// becomes the images folder (and the folder field's hint), a cancelled
// picker changes nothing, and a folder with characters beyond ASCII is
// used for shots and kept for the next start.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>

#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

class FolderPicker : public ::testing::Test {
protected:
    void TearDown() override { MoveMouseAway(); }

    CleanSettings clean_;
    ScratchFolder folder_;
};

bool Shows(const std::vector<std::wstring>& texts, const std::wstring& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace

TEST_F(FolderPicker, TheChosenFolderBecomesTheImagesFolderAndItsHint)
{
    const fs::path chosen = folder_.Path() / L"chosen";
    ASSERT_TRUE(fs::create_directory(chosen));

    Snapquill program(folder_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    HWND path = program.PathEdit();
    ASSERT_NE(path, nullptr);

    // Until the browse button is used the folder field has no hint.
    const std::optional<std::wstring> early = HintOver(program, path, 1500);
    EXPECT_FALSE(early.has_value()) << "a hint shows: " << Narrow(early.value_or(L""));
    MoveMouseAway();

    HWND dialog = OpenFolderPicker(program);
    ASSERT_NE(dialog, nullptr) << "the browse button opened no folder picker";
    EXPECT_TRUE(Shows(StaticTextsOf(dialog), kPickerTitle)) << "the picker does not show its title";
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes input while the picker is open";
    ASSERT_TRUE(SelectInPicker(program, dialog, chosen.wstring()));
    ASSERT_TRUE(PressPickerButton(dialog, IDOK)) << "the picker did not close on OK";

    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; })) << "the main window stays disabled";
    EXPECT_EQ(TextOf(path), chosen.wstring());
    EXPECT_EQ(HintOver(program, path).value_or(L"(no hint)"), chosen.wstring());
    MoveMouseAway();

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(chosen / L"shot1.bmp")) << "the shot did not go to the chosen folder";
}

TEST_F(FolderPicker, CancellingLeavesTheFolderAsItWas)
{
    const fs::path other = folder_.Path() / L"other";
    ASSERT_TRUE(fs::create_directory(other));

    Snapquill program(folder_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    HWND path = program.PathEdit();
    ASSERT_NE(path, nullptr);

    HWND dialog = OpenFolderPicker(program);
    ASSERT_NE(dialog, nullptr) << "the browse button opened no folder picker";
    ASSERT_TRUE(SelectInPicker(program, dialog, other.wstring()));
    ASSERT_TRUE(PressPickerButton(dialog, IDCANCEL)) << "the picker did not close on Cancel";

    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; })) << "the main window stays disabled";
    EXPECT_EQ(TextOf(path), folder_.Text());
    // The hint is the folder field's text after every use of the button.
    EXPECT_EQ(HintOver(program, path).value_or(L"(no hint)"), folder_.Text());
    MoveMouseAway();

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(folder_.Path() / L"shot1.bmp")) << "the shot did not go to the folder of before";
    EXPECT_TRUE(fs::is_empty(other));
}

TEST_F(FolderPicker, AFolderNamedBeyondAsciiIsUsedAndKeptForTheNextStart)
{
    const fs::path unusual = folder_.Path() / L"\u00DCn\u00EFc\u00F8d\u00E9 \u5199\u771F";
    ASSERT_TRUE(fs::create_directory(unusual));
    {
        Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitUntilReady(), nullptr);
        ASSERT_TRUE(ChooseFolder(program, unusual.wstring()));
        EXPECT_EQ(TextOf(program.PathEdit()), unusual.wstring());

        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        EXPECT_TRUE(WaitForFile(unusual / L"shot1.bmp")) << "the shot did not go to the chosen folder";

        DWORD exitCode = 0xFFFFFFFF;
        ASSERT_TRUE(program.Close(exitCode)) << "the program did not end when its window was closed";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(StoresString(L"DefaultPath", unusual.wstring()));
    }

    Snapquill program(folder_.Path(), L"", StoredSettings::Keep);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    EXPECT_EQ(TextOf(program.PathEdit()), unusual.wstring());
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(unusual / L"shot2.bmp")) << "after the restart the shot did not go to the folder";
    EXPECT_EQ(folder_.Entries(), std::vector<std::wstring>{unusual.filename().wstring()});
}
