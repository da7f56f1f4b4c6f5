// Skin files: the in-place parse (line breaks, comments, the five cuts of a
// value), lookup, and what load writes to the log.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sys/faults.h"
#include "scoped_log.h"
#include "skin/skin.h"

namespace {

using testing_support::ScopedLog;
using testing_support::TempDir;
using Entries = std::vector<std::pair<std::string, std::string>>;

const std::string kOk = "<p style=\"color: green; background-color: transparent;\"><b>OK:</b> ";
const std::string kError = "<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> ";

Entries entriesOf(const Skin& skin) {
    Entries out;
    for (const Skin::Entry& e : skin.entries()) out.emplace_back(e.key, e.value);
    return out;
}

// Parses `text` as a skin of model `model` and returns its entries.
Entries parse(const std::string& text, const char* model = "Soldier") {
    TempDir dir;
    dir.write("test.skin", text);
    Skin skin(model);
    EXPECT_EQ(skin.load(dir.file("test.skin").c_str()), 1);
    return entriesOf(skin);
}

TEST(SkinParse, WorkedExampleWithModelSoldier) {
    const std::string text =
        "u_body,\"models/players/soldier/body_a.tga\"\n"
        "u_body,Models/Players/SOLDIER/Body_A.TGA\n"
        "md3_beltr,models/players/common/belt1.md3 //left\n"
        "U_Body,body_b.tga\n";
    EXPECT_EQ(parse(text), (Entries{{"u_body", "body_a"},
                                    {"u_body", "body_a"},
                                    {"md3_beltr", "models/players/common/belt1"},
                                    {"U_Body", "body_b"}}));
}

TEST(SkinParse, LineBreaksOfEveryKindGiveTheSameEntries) {
    const Entries expected{{"a", "x/one"}, {"b", "two"}, {"c", "three"}};
    EXPECT_EQ(parse("a,x/one.tga\nb,two\nc,three"), expected);        // no final break
    EXPECT_EQ(parse("a,x/one.tga\r\nb,two\r\nc,three\r\n"), expected);  // CR LF
    EXPECT_EQ(parse("a,x/one.tga\r\nb,two\nc,three\r\n\r\n"), expected);
    // A carriage return not followed by a line feed is part of the line.
    EXPECT_EQ(parse("a,x\ry\r\n\r"), (Entries{{"a", "x\ry"}}));
}

TEST(SkinParse, LinesWithoutEntries) {
    const std::string text =
        "// a comment line, with a comma\n"
        "\n"
        "no comma here\n"
        "u_body,\".tga\"\n"        // only a quoted extension: empty value
        "u_legs,\"\"\n"
        "comment,//cut before the value\n"
        "kept,value // trailing, comment\n"
        ",nokey\n";
    EXPECT_EQ(parse(text), (Entries{{"kept", "value "}, {"", "nokey"}}));
}

TEST(SkinParse, KeysStayAsWrittenValuesAreCut) {
    const std::string text =
        " u_body,a.tga\n"            // leading blank kept in the key
        "U_Head,\"B/C.TGA\" tail\n"  // lowered, unquoted; after the closing quote is dropped
        "k,x,y,z\n"                  // commas after the first belong to the value
        "q,  \"spaced\n"             // opening quote only
        "m,a.b.c\n";                 // cut at the first full stop
    EXPECT_EQ(parse(text), (Entries{{" u_body", "a"}, {"U_Head", "b/c"}, {"k", "x,y,z"}, {"q", "spaced"}, {"m", "a"}}));
}

TEST(SkinParse, ModelNameAndWhatComesBefore) {
    const std::string text =
        "a,models/players/soldier/acc/belt.md3\n"
        "b,soldierXrest\n"         // the name and any one character after it
        "c,models/players/soldier\n"  // ends with the name: nothing is left
        "d,models/soldier/\n"        // the name and its separator end the value
        "e,textures/common/metal.jpg\n"
        "f,\"soldier/one\" soldier/two\n";
    EXPECT_EQ(parse(text), (Entries{{"a", "acc/belt"}, {"b", "rest"}, {"e", "textures/common/metal"}, {"f", "one"}}));
    // An empty model name drops nothing.
    EXPECT_EQ(parse("a,models/x.tga\n", ""), (Entries{{"a", "models/x"}}));
}

TEST(SkinParse, VeryLongLinesAndValues) {
    const std::string longValue(20000, 'v');
    const std::string longKey(5000, 'K');
    const std::string text = longKey + "," + longValue + ".tga\n" + "short," + std::string(3000, 'w');
    const Entries e = parse(text);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0], (std::pair<std::string, std::string>{longKey, longValue}));
    EXPECT_EQ(e[1].second, std::string(3000, 'w'));
}

TEST(SkinLookup, ExactKeysFirstEntryWins) {
    TempDir dir;
    dir.write("s.skin", "u_body,first\nU_Body,upper\nu_body,second\n md3_part,blank\n");
    Skin skin("Soldier");
    ASSERT_EQ(skin.load(dir.file("s.skin").c_str()), 1);
    EXPECT_STREQ(skin.lookup("u_body"), "first");
    EXPECT_STREQ(skin.lookup("U_Body"), "upper");
    EXPECT_EQ(skin.lookup("U_BODY"), nullptr);
    EXPECT_EQ(skin.lookup("md3_part"), nullptr);  // the key has a leading blank
    EXPECT_EQ(skin.lookup("u_bod"), nullptr);
    EXPECT_EQ(skin.lookup(nullptr), nullptr);

    Skin empty("Soldier");
    EXPECT_EQ(empty.lookup("u_body"), nullptr);
}

TEST(SkinLog, EmptyFileWritesTheHeadingsAndAnEmptyTable) {
    TempDir dir;
    dir.write("empty.skin", "");
    ScopedLog log;
    Skin skin("Soldier");
    const std::string path = dir.file("empty.skin");
    EXPECT_EQ(skin.load(path.c_str()), 1);
    EXPECT_TRUE(skin.entries().empty());
    EXPECT_EQ(log.body(), "<h1>Loading Skin from file: '" + path + "'</h1>\n\n" + kOk +
                              "Skin File loaded</p>\n"
                              "Start parsing...<br>\n\n"
                              "<table>\n\n"
                              "</table>\n\n");
}

TEST(SkinLog, EveryEntryIsARowInFileOrder) {
    TempDir dir;
    dir.write("s.skin", "u_body,a.tga\r\nu_body,b.tga\r\nmd3_hat,acc/<hat>\r\n");
    ScopedLog log;
    Skin skin("Soldier");
    ASSERT_EQ(skin.load(dir.file("s.skin").c_str()), 1);
    const std::string body = log.body();
    const std::string rows =
        "<table>\n\n"
        "  <tr>\n    <td>u_body</td>\n    <td>a</td>\n  </tr>\n\n"
        "  <tr>\n    <td>u_body</td>\n    <td>b</td>\n  </tr>\n\n"
        "  <tr>\n    <td>md3_hat</td>\n    <td>acc/&lt;hat&gt;</td>\n  </tr>\n\n"
        "</table>\n\n";
    ASSERT_GE(body.size(), rows.size());
    EXPECT_EQ(body.substr(body.size() - rows.size()), rows);
}

TEST(SkinLog, FileFailures) {
    TempDir dir;
    {
        ScopedLog log;
        Skin skin("Soldier");
        const std::string path = dir.file("missing.skin");
        EXPECT_EQ(skin.load(path.c_str()), -1);
        EXPECT_EQ(log.body(), "<h1>Loading Skin from file: '" + path + "'</h1>\n\n" + kError +
                                  "CreateFile - Invalid Handle Value</p>\n");
        EXPECT_EQ(skin.lookup("u_body"), nullptr);
    }
    dir.write("s.skin", "u_body,a\n");
    const struct {
        sys::Step step;
        const char* message;
    } faults[] = {{sys::Step::Size, "GetFileSize - Invalid File Size"},
                  {sys::Step::Read, "ReadFile didn't read requested Number of bytes"}};
    for (const auto& f : faults) {
        ScopedLog log;
        sys::Faults set;
        set.failAlways[static_cast<int>(f.step)] = true;
        sys::setSysFaults(set);
        Skin skin("Soldier");
        EXPECT_EQ(skin.load(dir.file("s.skin").c_str()), -1);
        sys::clearSysFaults();
        EXPECT_TRUE(log.contains(kError + f.message + "</p>\n")) << f.message;
        EXPECT_FALSE(log.contains("Skin File loaded"));
        EXPECT_TRUE(skin.entries().empty());
    }
}

}  // namespace
