// The command line and standard streams on POSIX: arguments and output are
// bytes already.
#include <unistd.h>

#include "platform/sys/command_line.h"

namespace sys {

void useUtf8CommandLine(int&, char**&) {}

bool isTerminal(std::FILE* stream) { return stream != nullptr && ::isatty(::fileno(stream)) != 0; }

}  // namespace sys
