// The demo player written once per test run by the real mkplayer program
// into a temporary directory, with what the program printed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mkp {

struct GeneratedPlayer {
    std::string base;      // the directory given to mkplayer
    std::string modelDir;  // base + "/models/players/infantryss"
    int exitCode = -1;
    std::string output;    // mkplayer's standard output
};

// Runs `mkplayer dir` and returns its exit code; output receives stdout.
int runMkplayer(const std::string& dir, std::string& output);

// Generated on first use, removed when the test program ends.
const GeneratedPlayer& player();

std::vector<std::uint8_t> readBytes(const std::string& path);
bool exists(const std::string& path);

}  // namespace mkp
