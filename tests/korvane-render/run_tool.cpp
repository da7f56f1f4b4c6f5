#include "run_tool.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

namespace krt {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int statusOf(int raw) { return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1; }

}  // namespace

Result runRender(const std::string& dir, const std::vector<std::string>& args, const std::string& environment) {
    std::string command = "cd " + quoted(dir) + " && " + environment + " " + quoted(KORVANE_RENDER_PATH);
    for (const std::string& a : args) command += " " + quoted(a);
    command += " 2>render.err >render.out";
    Result run;
    run.status = statusOf(std::system(command.c_str()));
    std::istringstream err(readFile(dir + "/render.err"));
    for (std::string line; std::getline(err, line);) {
        if (line.rfind("korvane-render: ", 0) == 0) run.ownLines.push_back(line);
    }
    return run;
}

int runMkplayer(const std::string& dir) {
    const std::string command = quoted(MKPLAYER_PATH) + " " + quoted(dir) + " >/dev/null";
    return statusOf(std::system(command.c_str()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace krt
