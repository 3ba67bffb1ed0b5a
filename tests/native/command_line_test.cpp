#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, HideAndNoTrayOnlyInTheirPlaces)
{
    auto parse = [](std::vector<std::string> params) {
        TStartOptions o = ParseCommandLine(params);
        return std::make_pair(o.hide, o.noTray);
    };
    EXPECT_EQ(parse({}), std::make_pair(false, false));
    EXPECT_EQ(parse({"-hide"}), std::make_pair(true, false));
    EXPECT_EQ(parse({"-hide", "-notray"}), std::make_pair(true, true));
    EXPECT_EQ(parse({"-hide", "-notray", "extra"}), std::make_pair(true, true));
    EXPECT_EQ(parse({"-hide", "x", "-notray"}), std::make_pair(true, false));
    EXPECT_EQ(parse({"-HIDE"}), std::make_pair(false, false));
    EXPECT_EQ(parse({"-Hide", "-notray"}), std::make_pair(false, false));
    EXPECT_EQ(parse({"-notray"}), std::make_pair(false, false));
    EXPECT_EQ(parse({"-notray", "-hide"}), std::make_pair(false, false));
    EXPECT_EQ(parse({"-hide", "-NOTRAY"}), std::make_pair(true, false));
    EXPECT_EQ(parse({"-hidden"}), std::make_pair(false, false));
}
