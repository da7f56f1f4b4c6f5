#include "program_run.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <array>
#include <cstdio>
#include <sstream>

namespace testing_support {

ProgramRun runProgram(const std::string& command) {
    ProgramRun r;
#ifdef _WIN32
    FILE* p = popen((command + " 2>NUL").c_str(), "r");
#else
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
#endif
    if (!p) return r;
    std::string out;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    const int status = pclose(p);
#ifdef _WIN32
    r.status = status;  // the exit code itself
#else
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) r.lines.push_back(line);
    return r;
}

}  // namespace testing_support
