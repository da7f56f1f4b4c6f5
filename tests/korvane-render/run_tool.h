// Runs korvane-render (or mkplayer) in a directory and collects its exit
// status and the lines it wrote to stderr that are its own (its standard
// output stays in render.out in that directory).
#pragma once

#include <string>
#include <vector>

namespace krt {

struct Result {
    int status = -1;
    std::vector<std::string> ownLines;  // stderr lines starting "korvane-render: "
};

// `args` are passed one by one, each quoted for the shell; `environment`
// goes before the program as it stands (e.g. "env -u DISPLAY").
Result runRender(const std::string& dir, const std::vector<std::string>& args, const std::string& environment = {});
int runMkplayer(const std::string& dir);
std::string readFile(const std::string& path);

}  // namespace krt
