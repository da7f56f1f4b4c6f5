// mkplayer [BASEDIR]: writes the demo player below BASEDIR (default: the
// working directory), where the viewer's start-up defaults find it, and
// lists every file written.
#include <cstdio>

#include "mkplayer/player.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: mkplayer [BASEDIR]\n");
        return 2;
    }
    const mp::WriteResult r = mp::writePlayer(argc == 2 ? argv[1] : ".");
    for (const auto& path : r.written) std::printf("wrote %s\n", path.c_str());
    if (!r.ok) {
        std::fprintf(stderr, "mkplayer: %s\n", r.error.c_str());
        return 1;
    }
    return 0;
}
