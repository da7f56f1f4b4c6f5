// The HTML log "log.htm": one process-wide object that every part of the
// viewer reports into through the global pointer pLog.
//
// Each writer takes a printf-style format. The format's own text (the
// callers' markup) is written as it stands; every %s / %hs argument is
// HTML-escaped (& < > "), because those strings come from files. Line
// breaks are written as CR LF on every platform. An error line reaches the
// file at once, other lines at most 50 ms later or at the next flush():
// flushing after every line made a skin of a million entries take seconds.
// The viewer's message loop flushes on every pass, so the log can still be
// followed during a run.
#pragma once

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

class Log {
public:
    // Opens (truncating) the file and writes the header. Throws the plain
    // string "Log File Creation failed" when the file cannot be created.
    explicit Log(const char* path);
    // A disabled log: no file, every writer does nothing.
    Log() = default;
    // Writes the footer and closes the file.
    ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // The compiler checks each call's arguments against its format.
    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void printOk(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void printError(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Hands everything written so far to the file.
    void flush();

    // The system's error number (errno) of the last failed creation.
    static int lastCreationError();

    // Formats like the writers do (escaping string arguments), without the
    // line-end translation; exposed for tests.
    static std::string format(const char* format, std::va_list args);

private:
    void write(const char* prefix, const char* format, std::va_list args, const char* suffix, bool urgent);

    std::FILE* stream_ = nullptr;
    bool enabled_ = false;
    std::chrono::steady_clock::time_point lastFlush_{};
};

// The process-wide log. Points at a silent sink until a Log is made current
// with setCurrentLog; the viewer's entry makes "log.htm" current before
// anything else runs.
extern Log* pLog;

// Makes `log` the target of pLog (null restores the silent sink).
void setCurrentLog(Log* log);

// Opens the log at `path` for a program's entry. When the file cannot be
// created it writes one line to stderr, "PROGRAM: cannot create PATH in
// WORKING-DIRECTORY: REASON", and returns null; the program then ends with
// status 1 before showing anything.
std::unique_ptr<Log> openProgramLog(const char* program, const char* path);
