// The command line and the standard streams as a script expects them on
// every system: arguments as UTF-8, output bytes unchanged.
#pragma once

#include <cstdio>

namespace sys {

// Called first thing in main. On Windows: argv is replaced by the arguments
// as UTF-8 (read from the wide-character command line, so any file name
// arrives whole), standard output and error pass bytes unchanged (no CR
// before each LF: the output is the same bytes as on POSIX) and a console
// shows UTF-8. On POSIX nothing changes: arguments are bytes already.
void useUtf8CommandLine(int& argc, char**& argv);

// Whether the stream writes to a terminal (a console on Windows).
bool isTerminal(std::FILE* stream);

}  // namespace sys
