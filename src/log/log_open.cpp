// The programs' way into the log: the file opened at start-up, or one line
// on standard error that says why it could not be and where.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "log/log.h"
#include "platform/sys/path.h"

std::unique_ptr<Log> openProgramLog(const char* program, const char* path) {
    try {
        return std::make_unique<Log>(path);
    } catch (const char*) {
        // The constructor keeps the reason the system gave for the failed open.
        const int reason = Log::lastCreationError();
        std::error_code ec;
        const std::filesystem::path cwd = std::filesystem::current_path(ec);
        const std::string where = ec ? std::string("the working directory") : sys::utf8Path(cwd);
        std::fprintf(stderr, "%s: cannot create %s in %s: %s\n", program, path, where.c_str(),
                     reason != 0 ? std::strerror(reason) : "unknown reason");
        return nullptr;
    }
}
