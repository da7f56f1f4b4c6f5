#include "run_logs.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include <fstream>

namespace kr {

namespace {

// A log line as text: markup dropped, the log's escapes undone, line end cut.
std::string plainText(const std::string& line) {
    std::string text;
    bool inTag = false;
    for (char c : line) {
        if (c == '<') inTag = true;
        if (!inTag && c != '\r' && c != '\n') text += c;
        if (c == '>') inTag = false;
    }
    static const struct {
        const char* escaped;
        char plain;
    } kEscapes[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&amp;", '&'}};
    for (const auto& e : kEscapes) {
        const std::string escaped = e.escaped;
        for (std::size_t at = text.find(escaped); at != std::string::npos; at = text.find(escaped, at + 1)) {
            text.replace(at, escaped.size(), 1, e.plain);
        }
    }
    return text;
}

}  // namespace

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
        error = "cannot create " + path + " in " + (ec ? std::string("the working directory") : cwd.string()) +
                ": " + (reason != 0 ? std::strerror(reason) : "unknown reason");
        return false;
    }
    path_ = path;
    written_.push_back(path);
    setCurrentLog(log_.get());
    return true;
}

void RunLogs::close() {
    if (!log_) return;
    setCurrentLog(nullptr);
    log_.reset();
}

std::vector<std::string> RunLogs::errorLines() const {
    std::vector<std::string> lines;
    for (const std::string& path : written_) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (line.find("<b>ERROR:</b>") != std::string::npos) lines.push_back(path + ": " + plainText(line));
        }
    }
    return lines;
}

}  // namespace kr
