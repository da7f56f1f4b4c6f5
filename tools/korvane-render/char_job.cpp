#include "char_job.h"

#include <cstdio>

namespace kr {

bool loadCharacter(const Options& o, LoadedCharacter& out, std::string& error) {
    if (!game::searchPathFor(o.gameDirs, o.scene.character, out.search, error)) return false;
    out.character = game::loadCharacter(o.scene.character, out.search);
    for (const game::Message& m : out.character.messages)
        if (m.severity != game::Severity::Note) std::fprintf(stderr, "korvane-render: %s\n", m.text().c_str());
    if (o.scene.verbose)
        for (const std::string& line : game::provenance(out.character, out.search))
            std::fprintf(stderr, "korvane-render: %s\n", line.c_str());
    if (!out.character.file.found() || out.character.charFiles.empty()) {
        error = o.scene.character + ": the character file cannot be read";
        return false;
    }
    return true;
}

std::string standingAnimation(const game::Character& c) {
    for (const game::Animations::Mdx& m : c.animations.mdx)
        if (m.mdx.read)
            for (const game::AnimRow& r : m.rows)
                if (r.name.find("idle") != std::string::npos && r.numFrames > 0) return r.name;
    return {};
}

bool listCharacterAnimations(const Options& o, std::string& error) {
    LoadedCharacter loaded;
    if (!loadCharacter(o, loaded, error)) return false;
    const game::Animations& a = loaded.character.animations;
    if (!a.group.found()) {
        error = o.scene.character + ": the animation group cannot be read";
        return false;
    }
    std::printf("# NAME FIRST FRAMES LOOP FPS REVERSED MDX (%s, %zu animations)\n", a.group.named.c_str(), a.rowCount());
    for (const game::Animations::Mdx& m : a.mdx)
        for (const game::AnimRow& r : m.rows)
            std::printf("%s %d %d %d %g %d %s\n", r.name.c_str(), r.first, r.numFrames, r.loopFrames, r.fps,
                        r.reversed ? 1 : 0, m.mdx.named.c_str());
    // The hud head's rows, by number (--head-anim N plays one on the head).
    const game::Character& c = loaded.character;
    if (!c.hudHeadRows.empty()) {
        std::printf("# HEAD-ANIM FIRST FRAMES LOOP FPS (%s, %zu animations)\n", c.hudHeadAnims.named.c_str(),
                    c.hudHeadRows.size());
        for (std::size_t n = 0; n < c.hudHeadRows.size(); ++n) {
            const game::HudHeadRow& r = c.hudHeadRows[n];
            std::printf("%zu %d %d %d %g\n", n, r.first, r.numFrames, r.loopFrames, r.fps);
        }
    }
    return std::fflush(stdout) == 0;
}

}  // namespace kr
