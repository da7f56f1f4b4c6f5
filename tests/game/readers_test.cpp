// The text readers: .char, .anim (with its includes) and the hud head rows,
// each on good text and on a broken twin reported by file and line; and
// the include bounds (a cycle, a bomb of nested includes).
#include <gtest/gtest.h>

#include <string>

#include "game/anim_group.h"
#include "game/char_file.h"
#include "game/hud_head.h"
#include "game/script_reader.h"
#include "scoped_log.h"

namespace {

using game::Grammar;
using game::Id;
using game::Messages;
using game::ScriptReader;

// A game folder in a temporary directory.
struct GameDir {
    testing_support::TempDir dir;
    game::SearchPath search;

    void add() {
        std::string why;
        ASSERT_TRUE(search.addFolder(dir.path(), why)) << why;
    }
};

// The first error's id, file and line as "id file:line"; "" when none.
std::string firstError(const Messages& m) {
    for (const auto& x : m)
        if (x.severity == game::Severity::Error)
            return std::string(formats::idName(x.id)) + " " + x.file + ":" + std::to_string(x.line);
    return "";
}

TEST(CharFile, KeysInAnyCaseLastOneWinsAndAnUnknownKeyStopsTheReading) {
    Messages m;
    ScriptReader r(Grammar::Script, nullptr, m);
    r.openText("characters/x.char", "// c\ncharacterdef {\n MESH \"models/a.mdm\"\n skin \"one\"\n"
                                    " Skin \"two\" hudHeadSkin \"" + std::string(80, 'h') + "\"\n}\nnot read");
    game::CharacterDef def;
    EXPECT_TRUE(game::readCharacterDef(r, def));
    EXPECT_EQ(def[game::CharKey::Mesh].text, "models/a.mdm");
    EXPECT_EQ(def[game::CharKey::Skin].text, "two");
    EXPECT_EQ(def[game::CharKey::Skin].line, 5u);
    EXPECT_EQ(def[game::CharKey::HudHeadSkin].text.size(), 63u);
    EXPECT_TRUE(def[game::CharKey::HudHead].text.empty());
    EXPECT_EQ(firstError(m), "");

    // The broken twin: a key the game does not know ends it; what came before stays.
    Messages bad;
    ScriptReader b(Grammar::Script, nullptr, bad);
    b.openText("characters/y.char", "characterDef {\n mesh \"m.mdm\"\n meshx \"n.mdm\"\n skin \"s\"\n}");
    game::CharacterDef def2;
    EXPECT_FALSE(game::readCharacterDef(b, def2));
    EXPECT_EQ(def2[game::CharKey::Mesh].text, "m.mdm");
    EXPECT_TRUE(def2[game::CharKey::Skin].text.empty());
    EXPECT_EQ(firstError(bad), "unknown-key characters/y.char:3");
}

TEST(AnimGroup, RowsOfEightAndNineColumnsThroughAnInclude) {
    GameDir g;
    g.dir.write("anims/more.aninc", "// rows\nrun 0 10 0 12.5 -1 100 0 4\nCrawl\n 5 5 3 0 0 50 1\n");
    g.add();
    Messages m;
    ScriptReader r(Grammar::Script, &g.search, m);
    r.openText("anims/body.anim",
               "animgroup {\n animfile \"a.mdx\" {\n  walk 0 20 -1 20 40 100 0\n"
               "  #include \"anims/more.aninc\"\n  back 0 20 -1 20 60 100 1 7\n }\n"
               " AnimFile \"b.mdx\" { idle 1 2 0x3 10 0 0 0 }\n}\n");
    game::AnimGroup group;
    ASSERT_TRUE(game::readAnimGroup(r, group)) << firstError(m);
    EXPECT_EQ(firstError(m), "");
    ASSERT_EQ(group.files.size(), 2u);
    ASSERT_EQ(group.files[0].rows.size(), 4u);
    EXPECT_EQ(group.rowCount(), 5u);

    const auto& walk = group.files[0].rows[0];
    EXPECT_EQ(walk.loopFrames, -1);
    EXPECT_EQ(walk.moveSpeed, 40);
    EXPECT_FALSE(walk.priority.has_value());
    const auto& run = group.files[0].rows[1];  // from the include, nine columns, decimal fps
    EXPECT_EQ(run.name, "run");
    EXPECT_DOUBLE_EQ(run.fps, 12.5);
    EXPECT_EQ(run.moveSpeed, -1);
    EXPECT_EQ(run.priority, 4);
    EXPECT_EQ(r.fileName(run.file), "anims/more.aninc");
    EXPECT_EQ(run.line, 2u);
    const auto& crawl = group.files[0].rows[2];  // rows are not bound to lines
    EXPECT_EQ(crawl.name, "crawl");
    EXPECT_EQ(crawl.loopFrames, 3);
    EXPECT_DOUBLE_EQ(crawl.fps, 1.0);  // fps 0 is read as 1
    EXPECT_TRUE(crawl.reversed);
    EXPECT_FALSE(crawl.priority.has_value());
    EXPECT_EQ(group.files[0].rows[3].priority, 7);
    EXPECT_EQ(group.files[1].mdx, "b.mdx");
    EXPECT_EQ(group.files[1].rows[0].loopFrames, 3);

    // The broken twin: a word where a number belongs, in the included file.
    g.dir.write("anims/bad.aninc", "run 0 10 0 12.5 -1 100 0 4\nstand 0 ten 0 10 0 0 0\n");
    Messages bad;
    ScriptReader b(Grammar::Script, &g.search, bad);
    b.openText("anims/body.anim", "animgroup {\n animfile \"a.mdx\" {\n  #include \"anims/bad.aninc\"\n }\n}\n");
    game::AnimGroup partial;
    EXPECT_FALSE(game::readAnimGroup(b, partial));
    EXPECT_EQ(firstError(bad), "script-syntax anims/bad.aninc:2");
    ASSERT_EQ(partial.rowCount(), 1u);
}

std::string hudRows(int n) {
    std::string t;
    for (int i = 0; i < n; ++i) t += std::to_string(i) + " 2 " + (i == 0 ? "12.5" : "0") + " 1\n";
    return t;
}

TEST(HudHead, SixteenRowsFpsBeforeLoopAndFewerIsAnError) {
    Messages m;
    ScriptReader r(Grammar::Words, nullptr, m);
    r.openText("h.hha", "// head\n" + hudRows(18));
    std::vector<game::HudHeadRow> rows;
    EXPECT_TRUE(game::readHudHeadAnims(r, rows));
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_DOUBLE_EQ(rows[0].fps, 12.5);
    EXPECT_EQ(rows[0].loopFrames, 1);
    EXPECT_DOUBLE_EQ(rows[1].fps, 1.0);
    EXPECT_EQ(rows[15].first, 15);
    EXPECT_EQ(rows[15].line, 17u);
    EXPECT_EQ(firstError(m), "");

    Messages bad;
    ScriptReader b(Grammar::Words, nullptr, bad);
    b.openText("h.hha", hudRows(15));
    rows.clear();
    EXPECT_FALSE(game::readHudHeadAnims(b, rows));
    EXPECT_EQ(rows.size(), 15u);
    EXPECT_EQ(firstError(bad).substr(0, 15), "row-count h.hha");
}

// Reads every token; the messages say why it stopped.
Messages readAll(const game::SearchPath& search, const std::string& text) {
    Messages m;
    ScriptReader r(Grammar::Script, &search, m);
    r.openText("top.anim", text);
    while (r.next().kind != game::TokenKind::End) {
    }
    return m;
}

TEST(Includes, ACycleAndANestedBombAreRefusedAtTheirIncludeLine) {
    GameDir g;
    g.dir.write("a.aninc", "x 1\n#include \"b.aninc\"\n");
    g.dir.write("b.aninc", "y 2\n\n#include \"a.aninc\"\n");
    // Ten includes of the next level on each of seven levels: 10^7 reads of
    // a few hundred bytes, unless the budget stops it.
    const std::string pad = "// " + std::string(200, '.') + "\n";
    for (int level = 0; level < 7; ++level) {
        std::string t = pad;
        for (int i = 0; i < 10; ++i) t += "#include \"bomb" + std::to_string(level + 1) + ".aninc\"\n";
        g.dir.write("bomb" + std::to_string(level) + ".aninc", t);
    }
    g.dir.write("bomb7.aninc", pad + "row 0 1 0 1 0 0 0\n");
    g.add();

    EXPECT_EQ(firstError(readAll(g.search, "#include \"a.aninc\"\n")), "include-cycle b.aninc:3");
    const Messages bomb = readAll(g.search, "\n#include \"bomb0.aninc\"\n");
    const std::string e = firstError(bomb);
    EXPECT_EQ(e.substr(0, e.find(' ')), "read-budget");
    EXPECT_NE(e.find(".aninc:"), std::string::npos) << e;
}

}  // namespace
