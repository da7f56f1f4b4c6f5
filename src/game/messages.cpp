#include "game/messages.h"

#include <utility>

namespace game {

std::string Message::text() const {
    const char* kind = severity == Severity::Error ? "ERROR" : severity == Severity::Warning ? "WARNING" : "NOTE";
    std::string out = std::string(kind) + ": " + file;
    if (line > 0) out += ", line " + std::to_string(line);
    return out + ": " + message;
}

void report(Messages& out, Id id, std::string file, std::uint32_t line, std::string message) {
    report(out, id, formats::defaultSeverity(id), std::move(file), line, std::move(message));
}

void report(Messages& out, Id id, Severity severity, std::string file, std::uint32_t line, std::string message) {
    out.push_back(Message{id, severity, std::move(file), line, std::move(message)});
}

std::string quote(const std::string& name) {
    constexpr std::size_t kShown = 80;
    std::string out = "'";
    for (std::size_t i = 0; i < name.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += formats::strf("\\x%02x", c);
        }
    }
    if (name.size() > kShown) out += "...";
    return out + "'";
}

}  // namespace game
