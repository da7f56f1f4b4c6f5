// Runs a program through the command shell, as a user would, for the tests
// of the command-line tools: its exit code and its standard output as lines
// (standard error is discarded).
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProgramRun {
    int status = -1;  // the exit code; -1 when it did not exit normally
    std::vector<std::string> lines;
};

ProgramRun runProgram(const std::string& command);

}  // namespace testing_support
