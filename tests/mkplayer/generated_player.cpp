#include "generated_player.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/wait.h>

#include "scoped_log.h"

namespace mkp {

int runMkplayer(const std::string& dir, std::string& output) {
    const std::string command = std::string("'") + MKPLAYER_PATH + "' '" + dir + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    output.clear();
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const GeneratedPlayer& player() {
    static testing_support::TempDir dir;
    static const GeneratedPlayer generated = [] {
        GeneratedPlayer g;
        g.base = dir.path();
        g.modelDir = g.base + "/models/players/infantryss";
        g.exitCode = runMkplayer(g.base, g.output);
        return g;
    }();
    return generated;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& path) { return std::filesystem::is_regular_file(path); }

}  // namespace mkp
