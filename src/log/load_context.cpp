#include "log/load_context.h"

#include <utility>

namespace loadctx {

namespace {

Listener gListener;
std::vector<Load> gScopes;  // outermost first

}  // namespace

std::string Failure::describe() const {
    std::string out;
    for (const Load& load : loads) {
        std::string part = load.file;
        if (!load.askedBy.empty()) part += (part.empty() ? "" : " ") + ("(" + load.askedBy + ")");
        if (part.empty()) continue;
        out += (out.empty() ? "" : "; ") + part;
    }
    return out;
}

Scope::Scope(const std::string& file, const std::string& askedBy) {
    if (!gListener) return;
    gScopes.push_back({file, askedBy});
    pushed_ = true;
}

Scope::~Scope() {
    if (pushed_ && !gScopes.empty()) gScopes.pop_back();
}

void setListener(Listener listener) {
    gListener = std::move(listener);
    gScopes.clear();
}

bool listening() { return static_cast<bool>(gListener); }

void errorLogged(const std::string& message) {
    if (!gListener) return;
    Failure failure{message, {}};
    for (auto it = gScopes.rbegin(); it != gScopes.rend(); ++it) {
        // A load whose file the scope inside it already names only adds
        // who asked (a caller's scope around a loader's own).
        if (!failure.loads.empty() && (it->file.empty() || it->file == failure.loads.back().file) &&
            failure.loads.back().askedBy.empty()) {
            failure.loads.back().askedBy = it->askedBy;
            continue;
        }
        failure.loads.push_back(*it);
    }
    gListener(failure);
}

}  // namespace loadctx
