#include "formats/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace formats {

namespace {

struct Entry {
    Severity severity;
    const char* name;
};

constexpr Entry kCatalogue[] = {
#define KV_CHECK_ENTRY(name, severity, text) {Severity::severity, text},
    KV_DIAGNOSTICS(KV_CHECK_ENTRY)
#undef KV_CHECK_ENTRY
};

}  // namespace

Severity defaultSeverity(Id id) { return kCatalogue[static_cast<int>(id)].severity; }
const char* idName(Id id) { return kCatalogue[static_cast<int>(id)].name; }

std::string Finding::text() const {
    std::string out = where;
    if (offset >= 0) out += " @" + hex(offset);
    return out + ": " + message;
}

const char* severityName(Severity severity) {
    switch (severity) {
    case Severity::Note: return "note";
    case Severity::Warning: return "warning";
    case Severity::Error: return "error";
    }
    return "error";
}

std::string strf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
    va_end(args);
    return out;
}

std::string hex(std::int64_t value) {
    if (value < 0) return strf("-0x%llx", static_cast<unsigned long long>(-value));
    return strf("0x%llx", static_cast<unsigned long long>(value));
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            out += strf("\\x%02x", c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void Report::beginFile(std::string file) {
    if (file == file_) return;
    endFile();
    file_ = std::move(file);
    ++counts_.files;
}

void Report::endFile() {
    for (const auto& [key, overflow] : overflows_) {
        if (overflow.count <= kPerList) continue;
        const Id id = static_cast<Id>(key.first);
        add(Id::More, overflow.list, -1,
            strf("... and %d more %s findings like the ones above", overflow.count - kPerList, idName(id)));
    }
    overflows_.clear();
    if (sink_ && !findings_.empty()) {
        sink_(findings_);
        findings_.clear();
    }
}

void Report::add(Id id, std::string where, std::int64_t offset, std::string message) {
    add(id, defaultSeverity(id), std::move(where), offset, std::move(message));
}

void Report::add(Id id, Severity severity, std::string where, std::int64_t offset, std::string message) {
    add(Finding{id, severity, {}, std::move(where), offset, std::move(message)});
}

void Report::add(Finding finding) {
    finding.file = file_;
    switch (finding.severity) {
    case Severity::Error: ++counts_.errors; break;
    case Severity::Warning: ++counts_.warnings; break;
    case Severity::Note: ++counts_.notes; break;
    }
    findings_.push_back(std::move(finding));
}

void Report::addCapped(Id id, const std::string& list, std::string where, std::int64_t offset, std::string message) {
    addCapped(id, defaultSeverity(id), list, std::move(where), offset, std::move(message));
}

void Report::addCapped(Id id, Severity severity, const std::string& list, std::string where, std::int64_t offset,
                       std::string message) {
    addCapped(list, Finding{id, severity, {}, std::move(where), offset, std::move(message)});
}

void Report::addCapped(const std::string& list, Finding finding) {
    Overflow& o = overflows_[{static_cast<int>(finding.id), list}];
    o.list = list;
    if (++o.count > kPerList) return;
    add(std::move(finding));
}

void Report::addNeed(std::size_t index, Need need) {
    if (index < findings_.size()) findings_[index].need = findings_[index].need | need;
}


}  // namespace formats
