#include "scoped_log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/sys/path.h"

namespace testing_support {

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp on Windows: try fresh names until one is created.
    static unsigned counter = 0;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
        const auto p = base / ("kvtest-" + std::to_string(std::rand()) + "-" + std::to_string(++counter));
        std::error_code ec;
        if (std::filesystem::create_directory(p, ec)) path_ = sys::genericUtf8Path(p);
    }
    if (path_.empty()) throw std::runtime_error("no temporary directory");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "kvtest-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(sys::fsPath(path_), ec);
}

std::string TempDir::file(const std::string& relative) const { return path_ + "/" + relative; }

void TempDir::write(const std::string& relative, const std::string& bytes) const {
    write(relative, bytes.data(), bytes.size());
}

void TempDir::write(const std::string& relative, const void* bytes, std::size_t size) const {
    const std::filesystem::path p = sys::fsPath(file(relative));  // UTF-8, as the programs take paths
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

std::string readFileText(const std::string& path) {
    std::ifstream in(sys::fsPath(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

ScopedLog::ScopedLog() : path_(dir_.file("log.htm")), log_(std::make_unique<Log>(path_.c_str())) {
    setCurrentLog(log_.get());
}

ScopedLog::~ScopedLog() {
    setCurrentLog(nullptr);
    log_.reset();
}

std::string ScopedLog::text() const {
    log_->flush();
    std::string raw = readFileText(path_), out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) out += raw[i];
    return out;
}

std::string ScopedLog::body() const {
    const std::string t = text();
    const std::size_t at = t.find("<body>\n");
    return at == std::string::npos ? t : t.substr(at + 7);
}

}  // namespace testing_support
