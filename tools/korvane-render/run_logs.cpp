#include "run_logs.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/sys/path.h"

namespace kr {

namespace {

// The markup a format carries ("</li>") is not part of the message.
std::string withoutMarkup(const std::string& text) {
    std::string out;
    bool inTag = false;
    for (char c : text) {
        if (c == '<') inTag = true;
        if (!inTag && c != '\r' && c != '\n') out += c;
        if (c == '>') inTag = false;
    }
    return out;
}

}  // namespace

std::string strictLine(const std::string& logPath, const loadctx::Failure& failure) {
    std::string line = logPath + ": ERROR: " + withoutMarkup(failure.message);
    std::string where = failure.describe();
    std::replace(where.begin(), where.end(), '\\', '/');
    if (!where.empty()) line += ": " + where;
    return line;
}

RunLogs::RunLogs(const Options& options) : options_(options) {
    loadctx::setListener([this](const loadctx::Failure& failure) { errors_.push_back(strictLine(path_, failure)); });
}

RunLogs::~RunLogs() {
    close();
    loadctx::setListener(nullptr);
}

bool RunLogs::open(std::size_t skin, std::string& error) {
    const std::string path = logPath(options_, skin);
    if (log_ && path == path_) return true;
    close();
    try {
        log_ = std::make_unique<Log>(path.c_str());
    } catch (const char*) {
        // The same line the viewer gives: the file, where, and the system's reason.
        const int reason = Log::lastCreationError();
        std::error_code ec;
        const std::filesystem::path cwd = std::filesystem::current_path(ec);
        error = "cannot create " + path + " in " + (ec ? std::string("the working directory") : sys::utf8Path(cwd)) +
                ": " + (reason != 0 ? std::strerror(reason) : "unknown reason");
        return false;
    }
    path_ = path;
    setCurrentLog(log_.get());
    return true;
}

void RunLogs::close() {
    if (!log_) return;
    setCurrentLog(nullptr);
    log_.reset();
}

std::vector<std::string> RunLogs::errorLines() const { return errors_; }

}  // namespace kr
