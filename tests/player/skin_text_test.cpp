// The .skin text parser on its own: the viewer's and the game's rules for
// blanks around a value, line numbers, byte offsets and game paths, and the
// key index against a walk in file order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/skin_text.h"

namespace {

using skin::ParsedSkin;
using skin::ValueBlanks;

TEST(SkinText, TheGameSkipsBlanksAroundAValueTheViewerKeepsThem) {
    const std::string text =
        "helmet, models/players/common/helmet\r\n"  // the blank a real skin has
        "// comment\n"
        "legs,\"models/players/Soldier/legs.tga\"\n"
        "belt,\tacc/belt.tga  \n"
        "gap,   \n";
    const ParsedSkin viewer(text.data(), text.size(), "soldier", ValueBlanks::Kept);
    const ParsedSkin game(text.data(), text.size(), "soldier", ValueBlanks::Skipped);

    ASSERT_EQ(viewer.entries().size(), 4u);
    EXPECT_STREQ(viewer.entries()[0].value, " models/players/common/helmet");
    EXPECT_STREQ(viewer.entries()[2].value, "\tacc/belt");
    EXPECT_STREQ(viewer.entries()[3].value, "   ");

    ASSERT_EQ(game.entries().size(), 3u);  // a value of blanks only is none
    const skin::Entry& helmet = game.entries()[0];
    EXPECT_STREQ(helmet.value, "models/players/common/helmet");
    EXPECT_EQ(helmet.line, 1u);
    EXPECT_EQ(helmet.offset, 0u);
    const skin::Entry& legs = game.entries()[1];
    EXPECT_STREQ(legs.value, "legs");  // the model's folder dropped
    EXPECT_STREQ(legs.gamePath, "models/players/soldier/legs");
    EXPECT_EQ(legs.line, 3u);
    EXPECT_EQ(legs.offset, text.find("legs,"));
    EXPECT_STREQ(game.entries()[2].value, "acc/belt");
    EXPECT_EQ(game.entries()[2].line, 4u);
    // Both rules give game paths without a leading blank.
    EXPECT_STREQ(viewer.entries()[0].gamePath, "models/players/common/helmet");
}

// The index gives what a walk in file order gives, for keys that repeat,
// differ in case only, or are prefixes of one another.
TEST(SkinText, TheIndexFindsTheFirstEntryOfAKeyInFileOrder) {
    std::string text;
    const char* const keys[] = {"a", "ab", "A", "", "b", "a b", "ab"};
    for (int round = 0; round < 3; ++round)
        for (const char* k : keys) text += std::string(k) + ",v" + std::to_string(text.size()) + "\n";
    const ParsedSkin parsed(text.data(), text.size(), "m", ValueBlanks::Kept);
    for (const char* wanted : {"a", "ab", "A", "", "b", "a b", "c", "a "}) {
        const skin::Entry* walk = nullptr;
        for (const skin::Entry& e : parsed.entries())
            if (std::strcmp(e.key, wanted) == 0) {
                walk = &e;
                break;
            }
        EXPECT_EQ(parsed.find(wanted), walk) << '"' << wanted << '"';
    }
}

}  // namespace
