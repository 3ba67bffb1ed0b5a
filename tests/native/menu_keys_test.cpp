// Which item of a menu a typed letter chooses.
#include <gtest/gtest.h>

#include "core/MenuKeys.h"

namespace {

const std::vector<std::string> kWindowMenu = {"Mi&nimize", "Ma&ximize/Restore", "", "&Close"};
const std::vector<std::string> kCaptureMenu = {"Primary screen", "Screen under the pointer", "All screens",
                                               "Copy to clipboard too"};

struct KeyCase {
    const std::vector<std::string>* captions;
    char32_t key;
    int selected;
    TMenuKeyAction action;
    int index;
};

} // namespace

TEST(MenuKeys, TheLetterAfterTheAmpersandOrElseTheFirstLetterChoosesTheItem)
{
    const std::vector<std::string> mixed = {"&Hide", "About", "", "Exit", "E&dit", "&&Ampersand"};
    const std::vector<std::string> sharing = {"Save", "&Send", "Size"};
    const KeyCase cases[] = {
        {&kWindowMenu, U'c', -1, TMenuKeyAction::Execute, 3},
        {&kWindowMenu, U'N', -1, TMenuKeyAction::Execute, 0},
        {&kWindowMenu, U'x', 0, TMenuKeyAction::Execute, 1},
        {&kWindowMenu, U'M', -1, TMenuKeyAction::None, -1}, // the first letter of items that have an access letter
        {&kCaptureMenu, U'a', -1, TMenuKeyAction::Execute, 2},
        {&kCaptureMenu, U'C', -1, TMenuKeyAction::Execute, 3},
        {&mixed, U'h', -1, TMenuKeyAction::Execute, 0},
        {&mixed, U'A', -1, TMenuKeyAction::Execute, 1}, // "&&" is no access letter
        {&mixed, U'e', -1, TMenuKeyAction::Execute, 3},
        {&mixed, U'd', -1, TMenuKeyAction::Execute, 4},
        {&mixed, U'z', -1, TMenuKeyAction::None, -1},
        {&sharing, U's', -1, TMenuKeyAction::Execute, 1}, // the access letter wins over first letters
    };
    for (const KeyCase& c : cases) {
        const TMenuKeyAnswer answer = MenuKeyAnswer(*c.captions, c.key, c.selected);
        EXPECT_EQ(answer.action, c.action) << "key " << char(c.key) << " in " << (*c.captions)[0];
        EXPECT_EQ(answer.index, c.index) << "key " << char(c.key) << " in " << (*c.captions)[0];
    }
}

TEST(MenuKeys, ItemsSharingTheLetterAreSelectedInTurn)
{
    const std::vector<std::string> menu = {"Save", "Print", "Select all", "", "Settings", "Quit"};
    int selected = -1;
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        const TMenuKeyAnswer answer = MenuKeyAnswer(menu, U's', selected);
        ASSERT_EQ(answer.action, TMenuKeyAction::Select);
        visited.push_back(selected = answer.index);
    }
    EXPECT_EQ(visited, (std::vector<int>{0, 2, 4, 0}));
    EXPECT_EQ(MenuKeyAnswer(menu, U'S', 2).index, 4) << "from the item after the selected one";
    EXPECT_EQ(MenuKeyAnswer(menu, U'p', 2).action, TMenuKeyAction::Execute);
}

TEST(MenuKeys, LettersBeyondAsciiCompareWithoutCase)
{
    const std::vector<std::string> menu = {"\xC3\x9C" "bersicht", "&\xC3\xA4ndern", "Ende"};
    EXPECT_EQ(MenuAccessLetter(menu[1]), U'\u00E4');
    EXPECT_EQ(MenuKeyAnswer(menu, U'\u00FC', -1).index, 0);
    EXPECT_EQ(MenuKeyAnswer(menu, U'\u00C4', -1).index, 1);
    EXPECT_EQ(MenuAccessLetter("Trailing &"), 0u);
    EXPECT_EQ(MenuAccessLetter("A && B"), 0u);
}
