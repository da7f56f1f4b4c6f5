// Test helpers: a log written to a temporary file and made current for the
// test's lifetime, and a temporary directory removed afterwards.
#pragma once

#include <memory>
#include <string>

#include "log/log.h"

namespace testing_support {

// A directory under the system's temporary folder, removed with everything
// in it when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + relative
    std::string file(const std::string& relative) const;
    // Writes bytes to a file below the directory, creating parent folders.
    void write(const std::string& relative, const std::string& bytes) const;
    void write(const std::string& relative, const void* bytes, std::size_t size) const;

private:
    std::string path_;
};

std::string readFileText(const std::string& path);

// A Log on a temporary file, current (pLog) while the object lives.
class ScopedLog {
public:
    ScopedLog();
    ~ScopedLog();
    ScopedLog(const ScopedLog&) = delete;
    ScopedLog& operator=(const ScopedLog&) = delete;

    // Everything written so far, with CR LF turned into LF.
    std::string text() const;
    // Only what was written after the header.
    std::string body() const;
    bool contains(const std::string& needle) const { return text().find(needle) != std::string::npos; }
    Log& log() { return *log_; }

private:
    TempDir dir_;
    std::string path_;
    std::unique_ptr<Log> log_;
};

}  // namespace testing_support
