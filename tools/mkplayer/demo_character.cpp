#include "mkplayer/demo_character.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "mkplayer/attachments.h"
#include "mkplayer/skeleton.h"
#include "mkplayer/split_body.h"
#include "mkplayer/textures.h"
#include "modelgen/bytes.h"
#include "modelgen/md3_writer.h"
#include "modelgen/skin_writer.h"

namespace mp {

namespace {

using FileVec = std::array<float, 3>;

std::string models(const std::string& relative) { return "models/players/demo/" + relative; }
std::string anims(const std::string& relative) { return "animations/human/demo/" + relative; }

std::string bytesOf(const mg::Bytes& b) { return std::string(b.begin(), b.end()); }

// A point of the file's axes turned about its y axis (a nod) by `degrees`.
FileVec nod(const FileVec& p, float degrees) {
    const float a = deg(degrees), c = std::cos(a), s = std::sin(a);
    return {c * p[0] + s * p[2], p[1], -s * p[0] + c * p[2]};
}

// A rigid MD3 of one mesh, one frame per nod angle, with tags that nod
// along.
mg::Md3Model md3Of(const std::string& name, const Mesh& mesh, const std::string& shader,
                   const std::vector<float>& nods, const std::vector<mg::Md3TagDesc>& tags) {
    mg::Md3Model m;
    m.name = name;
    mg::Md3SurfaceDesc s;
    s.name = mesh.name;
    s.shaders = {{shader, 0}};
    for (const auto& t : mesh.triangles) s.triangles.push_back({{t[0], t[1], t[2]}});
    for (const auto& v : mesh.vertices) s.texCoords.push_back({v.u, v.v});
    for (float degrees : nods) {
        std::vector<formats::Md3XyzNormal> frame;
        mg::Md3FrameDesc f;
        f.name = name.substr(name.find_last_of('/') + 1).substr(0, 15);
        f.bboxMin = {1e9f, 1e9f, 1e9f};
        f.bboxMax = {-1e9f, -1e9f, -1e9f};
        for (const auto& v : mesh.vertices) {
            const FileVec p = nod(toFile(v.pos), degrees);
            frame.push_back(mg::md3Vertex(p, nod(toFile(v.normal), degrees)));
            for (std::size_t c = 0; c < 3; ++c) {
                f.bboxMin[c] = std::min(f.bboxMin[c], p[c]);
                f.bboxMax[c] = std::max(f.bboxMax[c], p[c]);
            }
            f.radius = std::max(f.radius, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
        }
        for (mg::Md3TagDesc t : tags) {
            t.origin = nod(t.origin, degrees);
            for (std::size_t row = 0; row < 3; ++row) {
                const FileVec turned = nod({t.axis[3 * row], t.axis[3 * row + 1], t.axis[3 * row + 2]}, degrees);
                std::copy(turned.begin(), turned.end(), t.axis.begin() + static_cast<std::ptrdiff_t>(3 * row));
            }
            f.tags.push_back(t);
        }
        s.frames.push_back(std::move(frame));
        m.frames.push_back(std::move(f));
    }
    m.surfaces = {std::move(s)};
    return m;
}

// The rest position of bone `at` seen from bone `on`, in the file's axes
// (every bone's rest orientation is the identity).
FileVec restOffset(int on, int at) { return toFile(skeleton()[static_cast<std::size_t>(at)].rest - skeleton()[static_cast<std::size_t>(on)].rest); }

// The body as the game's characters have it: tags named as the game looks
// them up, each on a bone of the body (not on the viewer's attachment
// bones) at the rest position of the part it carries.
mg::MdmModel characterMdm() {
    mg::MdmModel m = bodyMdm();
    m.name = "body";
    for (auto& s : m.surfaces) s.shader = models(s.name);
    struct TagAt {
        const char* name;
        int on, at;
    };
    const TagAt tags[] = {{"tag_head", bone::Neck, bone::TagHead},        {"tag_back", bone::SpineUpper, bone::TagBack},
                          {"tag_bleft", bone::Pelvis, bone::TagBeltL},    {"tag_bright", bone::Pelvis, bone::TagBeltR},
                          {"tag_weapon", bone::HandR, bone::TagWeapon},   {"tag_chest", bone::Chest, bone::TagChest},
                          {"tag_footleft", bone::FootL, bone::FootL},     {"tag_footright", bone::FootR, bone::FootR}};
    m.tags.clear();
    for (const TagAt& t : tags) m.tags.push_back(tagOnBone(t.name, t.on, restOffset(t.on, t.at)));
    return m;
}

// The head nods over four frames. The helmet is modelled around the
// crown, so the head's tag_mouth (where the game hangs hats) sits there.
constexpr float kHeadNods[] = {0.0f, 4.0f, 8.0f, 4.0f};

mg::Md3Model headMd3() {
    mg::Md3TagDesc mouth;
    mouth.name = "tag_mouth";
    mouth.origin = restOffset(bone::TagHead, bone::Head);
    return md3Of(models("head.md3"), headMesh(), models("face.tga"), {std::begin(kHeadNods), std::end(kHeadNods)}, {mouth});
}

mg::Md3Model rigidMd3(const std::string& path, const Mesh& mesh, const std::string& shader) {
    return md3Of(path, mesh, shader, {0.0f}, {});
}

std::string skin(const std::vector<mg::SkinEntry>& entries) { return mg::skinText(entries); }

std::string charText() {
    return "// The demo soldier (written by mkplayer)\n"
           "characterDef\n{\n"
           "\tmesh\t\t\t\t\"models/players/demo/body.mdm\"\n"
           "\tanimationGroup\t\t\"animations/human/demo/body.anim\"\n"
           "\tanimationScript\t\t\"animations/scripts/demo.script\"\n"
           "\tskin\t\t\t\t\"soldier\"\n"
           "\tundressedCorpseModel\t\"models/players/demo/body.mdm\"\n"
           "\tundressedCorpseSkin\t\"corpse\"\n"
           "\thudhead\t\t\t\t\"models/players/demo/head.md3\"\n"
           "\thudheadskin\t\t\t\"models/players/demo/head.skin\"\n"
           "\thudheadanims\t\t\"animations/human/heads/demo.hha\"\n"
           "}\n";
}

std::string animText() {
    return "// The demo soldier's animations: two files of one skeleton.\n"
           "// NAME FIRST NUMFRAMES LOOPFRAMES FPS MOVESPEED TRANSITION REVERSED [PRIORITY]\n"
           "animgroup\n{\n"
           "\tanimfile \"animations/human/demo/walk.mdx\"\n\t{\n"
           "\t\twalk\t\t\t0\t20\t-1\t20\t-1\t100\t0\n"
           "\t\twalk_back\t\t0\t20\t-1\t20\t60\t100\t1\n"
           "\t\t#include \"animations/human/demo/walk.aninc\"\n"
           "\t}\n"
           "\tanimfile \"animations/human/demo/idle.mdx\"\n\t{\n"
           "\t\tidle\t\t\t0\t16\t-1\t10\t0\t200\t0\t5\n"
           "\t\tidle_glance\t\t4\t8\t0\t12.5\t0\t150\t0\t3\n"
           "\t}\n"
           "}\n";
}

std::string anincText() {
    return "// More rows of walk.mdx, read into body.anim where it includes this file.\n"
           "walk_slow\t\t0\t20\t-1\t12.5\t40\t150\t0\t2\n"
           "walk_limp\t\t2\t16\t8\t15\t30\t150\t0\n";
}

std::string hudHeadText() {
    // FIRST NUMFRAMES FPS LOOPFRAMES, 16 rows, within the head's 4 frames.
    std::string t = "// The hud head's 16 animations: FIRST NUMFRAMES FPS LOOPFRAMES\n";
    for (int i = 0; i < 16; ++i) {
        const int first = i % 4, frames = i % 2 == 0 ? 4 - first : 1;
        t += std::to_string(first) + " " + std::to_string(frames) + " " + std::to_string(8 + i) + " " +
             std::to_string(i % 3 == 0 ? 0 : frames) + "\n";
    }
    return t;
}

std::string scriptText() {
    return "// The demo soldier's animation script: the game reads it; our programs only find it.\n"
           "STATES\n{\n\tidle\n\t{\n\t\tdefault\t{ both idle }\n\t}\n"
           "\twalk\n\t{\n\t\tdefault\t{ legs walk }\n\t}\n}\n";
}

std::string bodySkinText(bool accessories) {
    std::vector<mg::SkinEntry> e = {{"legs", models("legs.jpg")},
                                    {"torso", models("torso.jpg")},
                                    {"arms", models("arms.tga")},
                                    {"hands", models("hands.tga")}};
    if (accessories) {
        e.push_back({"md3_beltl", models("acc/pouchl.md3")});
        e.push_back({"md3_beltr", models("acc/pouchr.md3")});
        e.push_back({"md3_back", models("acc/backpack.md3")});
        e.push_back({"md3_hat", models("acc/helmet.md3")});
    }
    return "// The demo soldier's body: surfaces, then what hangs on the body and the head\r\n" + skin(e);
}

}  // namespace

GameFiles characterFiles() {
    GameFiles f;
    f[kCharacterFile] = charText();
    f[anims("body.anim")] = animText();
    f[anims("walk.aninc")] = anincText();
    f[anims("walk.mdx")] = bytesOf(mg::writeMdx(walkMdx()).bytes);
    f[anims("idle.mdx")] = bytesOf(mg::writeMdx(idleMdx()).bytes);
    f["animations/human/heads/demo.hha"] = hudHeadText();
    f["animations/scripts/demo.script"] = scriptText();
    f[models("body.mdm")] = bytesOf(mg::writeMdm(characterMdm()).bytes);
    f[models("body_soldier.skin")] = bodySkinText(true);
    f[models("body_corpse.skin")] = bodySkinText(false);
    f[models("head.md3")] = bytesOf(mg::writeMd3(headMd3()).bytes);
    f[models("head.skin")] = skin({{kHeadSurface, models("face.tga")}});
    f[models("acc/pouchl.md3")] = bytesOf(mg::writeMd3(rigidMd3(models("acc/pouchl.md3"), beltMesh(true), models("acc/belt.jpg"))).bytes);
    f[models("acc/pouchr.md3")] = bytesOf(mg::writeMd3(rigidMd3(models("acc/pouchr.md3"), beltMesh(false), models("acc/belt.jpg"))).bytes);
    f[models("acc/backpack.md3")] = bytesOf(mg::writeMd3(rigidMd3(models("acc/backpack.md3"), packMesh(), models("acc/pack.tga"))).bytes);
    f[models("acc/helmet.md3")] = bytesOf(mg::writeMd3(rigidMd3(models("acc/helmet.md3"), hatMesh(), models("acc/helmet.jpg"))).bytes);
    f[models("acc/pouchl_soldier.skin")] = skin({{"pouch", models("acc/belt.jpg")}});
    f[models("acc/pouchr_soldier.skin")] = skin({{"pouch", models("acc/belt.jpg")}});
    f[models("acc/backpack_soldier.skin")] = skin({{"pack", models("acc/pack.tga")}});
    f[models("acc/helmet_soldier.skin")] = skin({{kHatSurface, models("acc/helmet.jpg")}});
    f[models("legs.jpg")] = jpegBytes(legsTexture());
    f[models("torso.jpg")] = jpegBytes(torsoTexture());
    f[models("arms.tga")] = tgaBytes(armsTexture());
    f[models("hands.tga")] = tgaBytes(handsTexture());
    f[models("face.tga")] = tgaBytes(faceTexture());
    f[models("acc/belt.jpg")] = jpegBytes(beltTexture());
    f[models("acc/pack.tga")] = tgaBytes(packTexture());
    f[models("acc/helmet.jpg")] = jpegBytes(helmetTexture());
    return f;
}

WriteResult writeGameFiles(const std::string& gameDir, const GameFiles& files) {
    WriteResult r;
    const std::string base = gameDir.empty() ? std::string(".") : gameDir;
    for (const auto& [name, bytes] : files) {
        const std::string path = base + "/" + name;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
        if (ec || !mg::writeFile(path, bytes)) {
            r.ok = false;
            r.error = "cannot write " + path;
            return r;
        }
        r.written.push_back(path);
    }
    return r;
}

WriteResult writeCharacter(const std::string& gameDir) { return writeGameFiles(gameDir, characterFiles()); }

std::uint32_t lineOf(const std::string& text, const std::string& needle) {
    const std::size_t at = text.find(needle);
    if (at == std::string::npos) return 0;
    return static_cast<std::uint32_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 1);
}

std::vector<CharacterDefect> characterDefects() {
    const std::string aninc = anims("walk.aninc"), anim = anims("body.anim"), hha = "animations/human/heads/demo.hha";
    const std::string bodySkin = models("body_soldier.skin");
    const std::string include = "#include \"" + aninc + "\"\n";
    std::string shortHha = hudHeadText();
    shortHha.erase(shortHha.rfind('\n', shortHha.size() - 2) + 1);  // the 16th row
    return {
        {"anim-includes-itself", "walk.aninc includes itself", [=](GameFiles& f) { f[aninc] += include; },
         "include-cycle", aninc, lineOf(anincText() + include, include)},
        {"skin-key-case", "the body skin writes md3_Back: the game never finds it",
         [=](GameFiles& f) { f[bodySkin].replace(f[bodySkin].find("md3_back"), 8, "md3_Back"); }, "unknown-skin-key",
         bodySkin, lineOf(bodySkinText(true), "md3_back")},
        {"idle-mdx-missing", "idle.mdx is not there", [=](GameFiles& f) { f.erase(anims("idle.mdx")); }, "missing-file",
         anim, lineOf(animText(), "idle.mdx")},
        {"hud-head-15-rows", "the hud head animations have 15 rows", [=](GameFiles& f) { f[hha] = shortHha; },
         "row-count", hha, static_cast<std::uint32_t>(std::count(shortHha.begin(), shortHha.end(), '\n'))},
    };
}

}  // namespace mp
