#include "core/MenuKeys.h"

// The code point that starts at text[i] (UTF-8); i moves past it. A broken
// sequence yields its first byte.
static char32_t NextCodePoint(const std::string& text, size_t& i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 1;
    if (i + length > text.size() || length == 1) {
        ++i;
        return lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k)
        code = (code << 6) | (byte(i + k) & 0x3F);
    i += length;
    return code;
}

// Upper case for the letters of ASCII and Latin-1.
static char32_t FoldCase(char32_t c)
{
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 0x20;
    return c;
}

char32_t MenuAccessLetter(const std::string& caption)
{
    for (size_t i = 0; i < caption.size();) {
        if (caption[i] != '&') {
            NextCodePoint(caption, i);
            continue;
        }
        if (++i >= caption.size())
            return 0;
        if (caption[i] == '&') {
            ++i;
            continue;
        }
        return NextCodePoint(caption, i);
    }
    return 0;
}

static char32_t FirstLetter(const std::string& caption)
{
    size_t i = 0;
    while (i < caption.size() && caption[i] == ' ')
        ++i;
    return i < caption.size() ? NextCodePoint(caption, i) : 0;
}

static std::vector<int> ItemsWithLetter(const std::vector<std::string>& captions, char32_t key, bool access)
{
    std::vector<int> found;
    for (size_t i = 0; i < captions.size(); ++i) {
        const char32_t accessLetter = MenuAccessLetter(captions[i]);
        const char32_t letter = access ? accessLetter : accessLetter ? 0 : FirstLetter(captions[i]);
        if (letter && FoldCase(letter) == FoldCase(key))
            found.push_back(static_cast<int>(i));
    }
    return found;
}

TMenuKeyAnswer MenuKeyAnswer(const std::vector<std::string>& captions, char32_t key, int selected)
{
    std::vector<int> found = ItemsWithLetter(captions, key, true);
    if (found.empty())
        found = ItemsWithLetter(captions, key, false);
    if (found.empty())
        return {};
    if (found.size() == 1)
        return {TMenuKeyAction::Execute, found[0]};
    for (int index : found)
        if (index > selected)
            return {TMenuKeyAction::Select, index};
    return {TMenuKeyAction::Select, found[0]};
}
