// How a menu answers a typed letter, as standard menus do. An item's access
// letter is the one after a single "&" in its caption ("&&" shows a plain
// ampersand); an item without one is known by its first letter. Letters
// compare without regard to case. One item with the letter is chosen at
// once; several are visited in turn, from the one after the selected item.
#pragma once

#include <string>
#include <vector>

enum class TMenuKeyAction { None, Select, Execute };

struct TMenuKeyAnswer {
    TMenuKeyAction action = TMenuKeyAction::None;
    int index = -1;
};

// The letter after the caption's "&", or 0 when it has none.
char32_t MenuAccessLetter(const std::string& caption);

// The answer for the key typed in a menu whose items have these captions
// (UTF-8; an empty caption is an item that cannot be chosen, such as a
// separator or a disabled item); selected is the highlighted item or -1.
// Access letters are looked at first; first letters only when no item has
// the key as its access letter.
TMenuKeyAnswer MenuKeyAnswer(const std::vector<std::string>& captions, char32_t key, int selected);
