// fuzz_game: the demo character's text files (.char, .anim, .aninc,
// hud head rows, skins) and a few broken ones.
#include <string>

#include "mkplayer/demo_character.h"
#include "mkseeds/seeds.h"
#include "modelgen/bytes.h"

namespace seeds {

bool gameText(const std::string& dir) {
    bool ok = true;
    int n = 0;
    for (const auto& [name, bytes] : mp::characterFiles()) {
        const std::size_t dot = name.rfind('.');
        const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
        if (ext == ".char" || ext == ".anim" || ext == ".aninc" || ext == ".hha" || ext == ".skin")
            ok &= mg::writeFile(dir + "/" + std::to_string(n++) + ext, bytes);
    }
    ok &= mg::writeFile(dir + "/nine.anim", "animgroup{animfile \"a.mdx\"{run 0 10 -1 12.5 -1 100 0 4 x 1 2 0 0x3 0 0 1}}");
    ok &= mg::writeFile(dir + "/open.char", "characterDef { mesh \"never closed");
    ok &= mg::writeFile(dir + "/directives.anim", "#define X 1\\\n 2\n#include <b.aninc\nanimgroup { /* open");
    return ok;
}

}  // namespace seeds
