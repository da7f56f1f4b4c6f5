#include "game/char_file.h"

#include "game/game_path.h"

namespace game {

namespace {

constexpr const char* kKeyNames[kCharKeys] = {"mesh",          "animationGroup",      "animationScript",
                                              "skin",          "undressedCorpseModel", "undressedCorpseSkin",
                                              "hudhead",       "hudheadskin",          "hudheadanims"};

}  // namespace

const char* keyName(CharKey key) { return kKeyNames[static_cast<std::size_t>(key)]; }

bool readCharacterDef(ScriptReader& reader, CharacterDef& out) {
    Token t = reader.next();
    // The game compares a token's text only, whatever its kind.
    if (!sameIgnoringCase(t.text, "characterDef")) {
        reader.fail(Id::ScriptSyntax, t, "expected 'characterDef'");
        return false;
    }
    t = reader.next();
    if (t.text != "{") {
        reader.fail(Id::ScriptSyntax, t, "expected '{' after 'characterDef'");
        return false;
    }
    for (;;) {
        t = reader.next();
        if (t.kind == TokenKind::End) {
            if (reader.failed()) return false;
            reader.note(Id::ScriptSyntax, Severity::Warning, t, "the file ends before the '}' of characterDef");
            return true;
        }
        if (t.text.starts_with('}')) return true;
        std::size_t key = 0;
        while (key < kCharKeys && !sameIgnoringCase(t.text, kKeyNames[key])) ++key;
        if (key == kCharKeys) {
            reader.fail(Id::UnknownKey, t, "unknown key " + quote(t.text));
            return false;
        }
        const Token value = reader.next();
        if (value.kind == TokenKind::End) {
            if (!reader.failed()) reader.fail(Id::ScriptSyntax, value, std::string("expected a value after ") + kKeyNames[key]);
            return false;
        }
        out.values[key] = {value.text.substr(0, kMaxGamePath), t.file, t.line};
    }
}

}  // namespace game
