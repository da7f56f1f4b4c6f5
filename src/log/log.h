// The HTML log "log.htm": one process-wide object that every part of the
// viewer reports into through the global pointer pLog.
//
// Each writer takes a printf-style format. The format's own text (the
// callers' markup) is written as it stands; every %s / %hs argument is
// HTML-escaped (& < > "), because those strings come from files. Line
// breaks are written as CR LF on every platform, and the stream is flushed
// after every message so the log can be followed during a run and survives
// a crash.
#pragma once

#include <cstdarg>
#include <cstdio>
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

    void print(const char* format, ...);
    void printOk(const char* format, ...);
    void printError(const char* format, ...);

    // Formats like the writers do (escaping string arguments), without the
    // line-end translation; exposed for tests.
    static std::string format(const char* format, std::va_list args);

private:
    void write(const char* prefix, const char* format, std::va_list args, const char* suffix);

    std::FILE* stream_ = nullptr;
    bool enabled_ = false;
};

// The process-wide log. Points at a silent sink until a Log is made current
// with setCurrentLog; the viewer's entry makes "log.htm" current before
// anything else runs.
extern Log* pLog;

// Makes `log` the target of pLog (null restores the silent sink).
void setCurrentLog(Log* log);
