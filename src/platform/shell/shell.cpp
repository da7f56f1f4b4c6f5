// The process-wide installed shell. The program's entry installs its backend
// (Qt, or a fake in tests); everything else reaches it through current().
#include "platform/shell/shell.h"

#include <stdexcept>

namespace shell {

namespace {
Shell* g_current = nullptr;
}

Shell& current() {
    // No shell installed is a programming error of the entry, never a state
    // to carry on from: dereferencing null would crash somewhere later.
    if (!g_current) throw std::logic_error("no shell installed");
    return *g_current;
}

void setCurrent(Shell* s) { g_current = s; }

}  // namespace shell
