// What every program answers before it starts anything: --help and
// --version, on standard output, with exit status 0.
#pragma once

namespace cli {

// The project's version, as "--version" prints it after the program's name.
const char* version();

// Prints "PROGRAM VERSION" and a newline on standard output.
void printVersion(const char* program);

// For the desktop programs, which otherwise ignore their command line: when
// any argument is --help (or -h) or --version, prints `help` or the version
// and returns true, so the program can end with 0 before a window system
// is touched. Every other argument is left alone.
bool answerHelpOrVersion(int argc, char** argv, const char* program, const char* help);

// For the generators, which take names only: an argument starting with '-'
// is a mistyped option, never a name. Reports the first one as
// "PROGRAM: unknown option X" followed by `usage` on standard error and
// returns true (the caller ends with status 2).
bool refuseOption(int argc, char** argv, const char* program, const char* usage);

}  // namespace cli
