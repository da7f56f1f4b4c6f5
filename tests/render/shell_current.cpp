// The installed shell, for builds without the shell library.
#include "platform/shell/shell.h"

#include <stdexcept>

namespace shell {

namespace {
Shell* g_shell = nullptr;
}

Shell& current() {
    if (!g_shell) throw std::logic_error("no shell installed");
    return *g_shell;
}

void setCurrent(Shell* s) { g_shell = s; }

}  // namespace shell
