#include "check/output.h"

namespace check {

namespace {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F)
                out += strf("\\u%04x", c);  // bytes of names: shown as Latin-1 code points
            else
                out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

std::string asText(const std::vector<Finding>& findings) {
    std::string out;
    for (const auto& f : findings) {
        out += severityName(f.severity);
        out += ' ' + f.file + ": " + f.where;
        if (f.offset >= 0) out += " @" + hex(f.offset);
        out += ": " + f.message + '\n';
    }
    return out;
}

std::string asJson(const std::vector<Finding>& findings) {
    std::string out = "[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += i == 0 ? "\n" : ",\n";
        out += "  {\"severity\": " + jsonString(severityName(f.severity)) + ", \"id\": " + jsonString(idName(f.id)) +
               ", \"file\": " + jsonString(f.file) + ", \"where\": " + jsonString(f.where) +
               ", \"offset\": " + (f.offset >= 0 ? std::to_string(f.offset) : std::string("null")) +
               ", \"message\": " + jsonString(f.message) + "}";
    }
    return out + (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace check
