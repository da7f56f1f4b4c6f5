#include "game/character.h"

#include <filesystem>
#include <initializer_list>
#include <map>

#include "game/game_path.h"
#include "game/read_file.h"
#include "platform/sys/path.h"

namespace game {

namespace {

using formats::Format;

// Rows outside their MDX are reported up to this many per animfile block.
constexpr std::size_t kRowFindings = 20;

const char* formatName(Format f) { return formats::formatInfo(f).name; }

bool isFrameModelPath(const std::string& path) {
    const std::string lower = lowerAscii(path);
    return lower.ends_with(".md3") || lower.ends_with(".mdc");
}

class Loader {
public:
    Loader(const SearchPath& search, Character& c) : search_(search), c_(c) {}

    void run(const std::string& charPath);

private:
    // Where the game finds `named`, reported when it does not (or refuses
    // the path), with `severity` for a missing file.
    FileRef refer(const std::string& named, const std::string& by, std::uint32_t line, const std::string& what,
                  Severity severity = Severity::Error);
    // A model: the game reads an .mdc of an MD3's name first.
    ModelRef referModel(const std::string& named, const std::string& by, std::uint32_t line, const std::string& what);
    void readModel(ModelRef& m, const std::string& what, std::initializer_list<Format> expected);
    void readSkin(SkinRef& s, const std::string& what);
    void readAnimations();
    void readHudHead();
    void readAccessories();
    void checkRows(const Animations::Mdx& m);

    std::string shown(const FileRef& r) const { return r.at.found() && !r.at.inGame() ? r.at.path : r.named; }
    const std::string& keyFile(CharKey key) const { return c_.charFiles[c_.def[key].file].name; }
    std::uint32_t keyLine(CharKey key) const { return c_.def[key].line; }
    const std::string& value(CharKey key) const { return c_.def[key].text; }
    void say(Id id, Severity severity, const std::string& file, std::uint32_t line, const std::string& message) {
        report(c_.messages, id, severity, file, line, message);
    }

    const SearchPath& search_;
    Character& c_;
    std::map<std::string, ModelRead> models_;  // by the path read
};

FileRef Loader::refer(const std::string& named, const std::string& by, std::uint32_t line, const std::string& what,
                      Severity severity) {
    FileRef r{named, by, line, {}};
    if (named.size() > kMaxGamePath) {
        say(Id::GameLimit, Severity::Error, by, line,
            formats::strf("the %s path %s has %zu characters; the game refuses %zu or more", what.c_str(),
                          quote(named).c_str(), named.size(), kMaxGamePath + 1));
        return r;
    }
    r.at = search_.find(named);
    if (!r.found())
        say(Id::MissingFile, severity, by, line,
            "the " + what + " " + quote(named) +
                (search_.empty() ? " does not exist (no game folder is given)" : " is in none of the game's folders and archives"));
    return r;
}

ModelRef Loader::referModel(const std::string& named, const std::string& by, std::uint32_t line,
                            const std::string& what) {
    ModelRef m;
    if (isFrameModelPath(named) && named.size() <= kMaxGamePath) {
        // The game's loader reads NAME.mdc, then NAME.md3, whichever the
        // name ends with.
        for (const char last : {'c', '3'}) {
            std::string candidate = named;
            candidate.back() = last;
            if (Located at = search_.find(candidate); at.found()) {
                static_cast<FileRef&>(m) = FileRef{named, by, line, std::move(at)};
                return m;
            }
        }
    }
    static_cast<FileRef&>(m) = refer(named, by, line, what);
    return m;
}

void Loader::readModel(ModelRef& m, const std::string& what, std::initializer_list<Format> expected) {
    if (!m.found()) return;
    auto it = models_.find(m.at.path);
    if (it == models_.end()) it = models_.emplace(m.at.path, readModelInfo(m.at.path)).first;
    const ModelRead& read = it->second;
    if (!read.ok) {
        say(read.id, formats::defaultSeverity(read.id), m.namedBy, m.line, "the " + what + " " + quote(shown(m)) + " " + read.why);
        return;
    }
    bool wanted = false;
    std::string names;
    for (Format f : expected) {
        wanted |= read.info.format == f;
        names += (names.empty() ? "" : " or ") + std::string(formatName(f));
    }
    if (!wanted) {
        say(Id::NotModel, Severity::Error, m.namedBy, m.line,
            "the " + what + " " + quote(shown(m)) + " is " + formatName(read.info.format) + "; the game takes " + names + " here");
        return;
    }
    m.read = true;
    m.info = read.info;
}

void Loader::readSkin(SkinRef& s, const std::string& what) {
    if (!s.found()) return;
    const FileRead read = readFile(s.at.path, ScriptReader::kMaxFileBytes);
    if (!read.ok) {
        say(read.tooLarge ? Id::ReadBudget : Id::Unreadable, Severity::Error, s.namedBy, s.line,
            "the " + what + " " + quote(shown(s)) + " " + read.why);
        return;
    }
    s.skin = parseGameSkin(read.bytes.data(), read.bytes.empty() ? 0 : read.size, shown(s), c_.messages);
    s.read = true;
}

void Loader::checkRows(const Animations::Mdx& m) {
    std::size_t outside = 0;
    for (const AnimRow& row : m.rows) {
        const std::int64_t end = std::int64_t{row.first} + row.numFrames;
        if (row.first >= 0 && row.numFrames >= 0 && end <= m.mdx.info.frames) continue;
        if (++outside > kRowFindings) continue;
        say(Id::AnimationRange, Severity::Error, c_.animations.files[row.file].name, row.line,
            formats::strf("the animation %s takes frames %d to %lld; %s has %lld", quote(row.name).c_str(), row.first,
                          static_cast<long long>(end - 1), quote(shown(m.mdx)).c_str(),
                          static_cast<long long>(m.mdx.info.frames)));
    }
    if (outside > kRowFindings)
        say(Id::More, Severity::Note, shown(m.mdx), 0,
            formats::strf("... and %zu more animations outside this file's frames", outside - kRowFindings));
}

void Loader::readAnimations() {
    Animations& a = c_.animations;
    if (value(CharKey::AnimationGroup).empty()) return;
    a.group = refer(value(CharKey::AnimationGroup), keyFile(CharKey::AnimationGroup), keyLine(CharKey::AnimationGroup),
                    "animation group");
    if (!a.group.found()) return;
    ScriptReader reader(Grammar::Script, &search_, c_.messages);
    std::string why;
    if (!reader.open(shown(a.group), a.group.at, why)) {
        say(Id::Unreadable, Severity::Error, a.group.namedBy, a.group.line,
            "the animation group " + quote(shown(a.group)) + " " + why);
        return;
    }
    AnimGroup group;
    readAnimGroup(reader, group);
    a.files = reader.files();
    bool footTags = true;
    for (AnimFile& f : group.files) {
        Animations::Mdx m{referModel(f.mdx, a.files[f.file].name, f.line, "animation file"), std::move(f.rows)};
        readModel(m.mdx, "animation file", {Format::Mdx});
        if (m.mdx.read) checkRows(m);
        for (const AnimRow& row : m.rows)
            if (row.moveSpeed < 0 && footTags && c_.mesh.read &&
                !(c_.mesh.info.hasTag("tag_footleft") && c_.mesh.info.hasTag("tag_footright"))) {
                footTags = false;  // once
                say(Id::MissingTag, Severity::Error, a.files[row.file].name, row.line,
                    "the animation " + quote(row.name) +
                        " measures its speed from tag_footleft and tag_footright, which the mesh does not have both of");
            }
        a.mdx.push_back(std::move(m));
    }
}

void Loader::readHudHead() {
    if (!value(CharKey::HudHead).empty()) {
        c_.head = referModel(value(CharKey::HudHead), keyFile(CharKey::HudHead), keyLine(CharKey::HudHead), "head");
        readModel(c_.head, "head", {Format::Md3, Format::Mdc});
        if (c_.head.read && c_.mesh.read && !c_.mesh.info.hasTag("tag_head"))
            say(Id::MissingTag, Severity::Error, keyFile(CharKey::HudHead), keyLine(CharKey::HudHead),
                "the head hangs on the mesh's tag_head, which " + quote(shown(c_.mesh)) + " does not have");
    }
    if (!value(CharKey::HudHeadSkin).empty()) {
        static_cast<FileRef&>(c_.headSkin) =
            refer(value(CharKey::HudHeadSkin), keyFile(CharKey::HudHeadSkin), keyLine(CharKey::HudHeadSkin), "head skin");
        readSkin(c_.headSkin, "head skin");
    }
    if (!value(CharKey::HudHeadAnims).empty()) {
        c_.hudHeadAnims = refer(value(CharKey::HudHeadAnims), keyFile(CharKey::HudHeadAnims),
                                keyLine(CharKey::HudHeadAnims), "hud head animations");
        if (!c_.hudHeadAnims.found()) return;
        ScriptReader reader(Grammar::Words, nullptr, c_.messages);
        std::string why;
        if (!reader.open(shown(c_.hudHeadAnims), c_.hudHeadAnims.at, why)) {
            say(Id::Unreadable, Severity::Error, c_.hudHeadAnims.namedBy, c_.hudHeadAnims.line,
                "the hud head animations " + quote(shown(c_.hudHeadAnims)) + " " + why);
            return;
        }
        readHudHeadAnims(reader, c_.hudHeadRows);
    }
}

void Loader::readAccessories() {
    const GameSkin& body = c_.bodySkin.skin;
    const std::string bodyName = shown(c_.bodySkin);
    const std::string& skinName = value(CharKey::Skin);
    for (const AccessorySlot& slot : kAccessorySlots) {
        const SkinAccessory* entry = body.accessory(slot.key);
        if (!entry) continue;
        Accessory a;
        a.slot = &slot;
        const std::string what = std::string("accessory ") + slot.key;
        a.model = referModel(entry->model, bodyName, entry->line, what);
        readModel(a.model, what, {Format::Md3, Format::Mdc});
        if (!entry->model.empty()) {
            static_cast<FileRef&>(a.skin) = refer(stripExtension(entry->model) + "_" + skinName + ".skin", bodyName,
                                                  entry->line, "skin of " + std::string(slot.key), Severity::Warning);
            readSkin(a.skin, "skin of " + std::string(slot.key));
        }
        const ModelRef& parent = slot.on == Parent::Body ? c_.mesh : c_.head;
        if (slot.on == Parent::Head && value(CharKey::HudHead).empty()) {
            say(Id::MissingTag, Severity::Error, bodyName, entry->line,
                std::string(slot.key) + " hangs on the head's " + slot.tag + ", and the character has no hudhead");
        } else if (parent.read && !parent.info.hasTag(slot.tag)) {
            say(Id::MissingTag, Severity::Error, bodyName, entry->line,
                std::string(slot.key) + " hangs on " + slot.tag + ", which " + quote(shown(parent)) + " does not have");
        }
        c_.accessories.push_back(std::move(a));
    }
    // Keys the game never looks up: the usual reason an accessory does not show.
    for (const SkinAccessory& entry : body.accessories) {
        bool known = false;
        std::string other;
        for (const AccessorySlot& slot : kAccessorySlots) {
            known |= entry.key == slot.key;
            if (other.empty() && sameIgnoringCase(entry.key, slot.key)) other = slot.key;
        }
        if (known || &entry != body.accessory(entry.key)) continue;
        say(Id::UnknownSkinKey, Severity::Warning, bodyName, entry.line,
            other.empty() ? "the game looks up no accessory " + quote(entry.key)
                          : quote(entry.key) + " is never found: the game looks up " + quote(other) + " in this letter case");
    }
}

void Loader::run(const std::string& charPath) {
    std::string gamePath;
    c_.file.at = search_.locate(charPath, &gamePath);
    c_.file.named = gamePath.empty() ? charPath : gamePath;
    if (!c_.file.found()) {
        say(Id::MissingFile, Severity::Error, charPath, 0, "the character file does not exist");
        return;
    }
    ScriptReader reader(Grammar::Script, &search_, c_.messages);
    std::string why;
    if (!reader.open(shown(c_.file), c_.file.at, why)) {
        say(Id::Unreadable, Severity::Error, shown(c_.file), 0, "the character file " + why);
        return;
    }
    readCharacterDef(reader, c_.def);
    c_.charFiles = reader.files();
    for (CharKey key : {CharKey::Mesh, CharKey::AnimationGroup, CharKey::AnimationScript, CharKey::Skin})
        if (value(key).empty())
            say(Id::MissingKey, Severity::Error, shown(c_.file), 0, std::string("the character gives no ") + keyName(key));

    if (!value(CharKey::Mesh).empty()) {
        static_cast<ModelRef&>(c_.mesh) = referModel(value(CharKey::Mesh), keyFile(CharKey::Mesh), keyLine(CharKey::Mesh), "mesh");
        readModel(c_.mesh, "mesh", {Format::Mdm});
        const CharKey at = value(CharKey::Skin).empty() ? CharKey::Mesh : CharKey::Skin;
        static_cast<FileRef&>(c_.bodySkin) =
            refer(stripExtension(value(CharKey::Mesh)) + "_" + value(CharKey::Skin) + ".skin", keyFile(at), keyLine(at),
                  "body skin");
        readSkin(c_.bodySkin, "body skin");
    }
    readHudHead();
    if (c_.bodySkin.read) readAccessories();
    readAnimations();
    if (!value(CharKey::AnimationScript).empty())
        c_.animationScript = refer(value(CharKey::AnimationScript), keyFile(CharKey::AnimationScript),
                                   keyLine(CharKey::AnimationScript), "animation script");
    if (!value(CharKey::UndressedCorpseModel).empty()) {
        const CharKey key = CharKey::UndressedCorpseModel;
        c_.corpse = referModel(value(key), keyFile(key), keyLine(key), "corpse model");
        readModel(c_.corpse, "corpse model", {Format::Mdm});
        static_cast<FileRef&>(c_.corpseSkin) =
            refer(stripExtension(value(key)) + "_" + value(CharKey::UndressedCorpseSkin) + ".skin", keyFile(key),
                  keyLine(key), "corpse skin", Severity::Warning);
        readSkin(c_.corpseSkin, "corpse skin");
    }
}

}  // namespace

std::size_t Animations::rowCount() const {
    std::size_t n = 0;
    for (const Mdx& m : mdx) n += m.rows.size();
    return n;
}

bool Character::hasErrors() const {
    for (const Message& m : messages)
        if (m.severity == Severity::Error) return true;
    return false;
}

std::vector<const FileRef*> Character::files() const {
    std::vector<const FileRef*> out{&file, &mesh, &bodySkin};
    for (const Accessory& a : accessories) {
        out.push_back(&a.model);
        out.push_back(&a.skin);
    }
    out.push_back(&animations.group);
    for (const Animations::Mdx& m : animations.mdx) out.push_back(&m.mdx);
    for (const FileRef* f : {static_cast<const FileRef*>(&animationScript), static_cast<const FileRef*>(&head),
                             static_cast<const FileRef*>(&headSkin), &hudHeadAnims, static_cast<const FileRef*>(&corpse),
                             static_cast<const FileRef*>(&corpseSkin)})
        out.push_back(f);
    return out;
}

std::vector<std::string> provenance(const Character& c, const SearchPath& search) {
    const auto& sources = search.sources();
    const auto describe = [&](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < sources.size() ? sources[static_cast<std::size_t>(i)].describe()
                                                                       : std::string("?");
    };
    std::vector<std::string> lines;
    for (const FileRef* f : c.files()) {
        if (f->named.empty()) continue;
        std::string line = f->named + ": ";
        if (!f->found()) {
            line += "not found";
        } else if (!f->at.inGame()) {
            line += f->at.path + " (outside the game folders)";
        } else {
            line += describe(f->at.source);
            for (std::size_t k = 0; k < f->at.overridden.size(); ++k)
                line += (k == 0 ? " (hides " : ", ") + describe(f->at.overridden[k]);
            if (!f->at.overridden.empty()) line += ")";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<Part> partsOf(const Character& c, bool withRank) {
    std::vector<Part> parts;
    if (c.head.read) parts.push_back({"hudhead", &c.head, &c.headSkin, Parent::Body, "tag_head"});
    for (const Accessory& a : c.accessories) {
        if (!a.model.read || (a.slot->onlyWithRank && !withRank) || (a.slot->on == Parent::Head && !c.head.read)) continue;
        parts.push_back({a.slot->key, &a.model, &a.skin, a.slot->on, a.slot->tag});
    }
    return parts;
}

Located findTexture(const SearchPath& search, const std::string& shader) {
    Located at = search.find(shader);
    if (at.found()) return at;
    const std::size_t dot = shader.rfind('.');
    if (dot == std::string::npos || shader.find('/', dot) != std::string::npos) return at;
    const std::string ext = lowerAscii(shader.substr(dot));
    if (ext != ".jpg" && ext != ".tga") return at;
    return search.find(shader.substr(0, dot) + (ext == ".jpg" ? ".tga" : ".jpg"));
}

std::string gameFolderOf(const std::string& path) {
    std::error_code ec;
    const std::string resolved = sys::resolvePath(path);
    std::filesystem::path p = std::filesystem::absolute(resolved.empty() ? path : resolved, ec).lexically_normal();
    for (p = p.parent_path(); !p.empty() && p != p.root_path(); p = p.parent_path())
        if (sameIgnoringCase(p.filename().string(), "characters")) return p.parent_path().string();
    return {};
}

bool searchPathFor(const std::vector<std::string>& gameDirs, const std::string& charPath, SearchPath& out,
                   std::string& error) {
    for (const std::string& dir : gameDirs) {
        std::string why;
        if (!out.add(dir, why)) {
            error = "--game-dir " + dir + ": " + why;
            return false;
        }
    }
    if (gameDirs.empty())
        if (const std::string folder = gameFolderOf(charPath); !folder.empty()) {
            std::string why;
            out.addFolder(folder, why);  // it exists: the .char lies in it
        }
    return true;
}

Character loadCharacter(const std::string& charPath, const SearchPath& search) {
    Character c;
    SearchPath own;
    const SearchPath* used = &search;
    if (search.empty()) {
        std::string why;
        if (const std::string folder = gameFolderOf(charPath); !folder.empty() && own.addFolder(folder, why)) used = &own;
    }
    Loader(*used, c).run(charPath);
    return c;
}

}  // namespace game
