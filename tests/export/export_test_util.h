// Running the exporter and the fixture writers from the tests, in a fresh
// folder per test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "program_run.h"

namespace exporttest {

inline std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A new empty folder below the system's temporary folder, removed with
// everything in it at the end of the test.
struct Folder {
    std::string path;
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kx-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
};

// The program with its arguments in `dir`; standard error joins the output lines.
inline testing_support::ProgramRun run(const std::string& dir, const std::string& program,
                                       const std::vector<std::string>& args) {
    std::string command = "{ cd " + quoted(dir) + " && " + quoted(program);
    for (const std::string& a : args) command += " " + quoted(a);
    return testing_support::runProgram(command + " 2>&1; }");
}

inline testing_support::ProgramRun exportModel(const std::string& dir, const std::vector<std::string>& args) {
    return run(dir, KORVANE_EXPORT_PATH, args);
}

// The demo player below `dir`; its folder.
inline std::string demoPlayer(const std::string& dir) {
    std::filesystem::create_directories(dir);
    run(dir, MKPLAYER_PATH, {dir});
    return dir + "/models/players/infantryss";
}

}  // namespace exporttest
