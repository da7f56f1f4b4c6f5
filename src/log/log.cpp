// The HTML log file: header on creation, three writers, footer on close.
#include <cerrno>
#include <cstdarg>
#include <string>

#include "log/log.h"
#include "log/load_context.h"
#include "platform/sys/output_file.h"

namespace {

Log g_silent;
int g_creationError = 0;

constexpr const char* kHeader =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
    "<html>\n"
    "<head>\n"
    "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
    "  <title>Log</title>\n"
    "</head>\n"
    "<body>\n";

constexpr const char* kFooter = "</body>\n</html>";

// The file keeps CR LF line ends on every platform.
void writeText(std::FILE* stream, const std::string& text) {
    std::size_t from = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', from)) {
        std::fwrite(text.data() + from, 1, nl - from, stream);
        std::fwrite("\r\n", 1, 2, stream);
        from = nl + 1;
    }
    std::fwrite(text.data() + from, 1, text.size() - from, stream);
}

}  // namespace

Log* pLog = &g_silent;

int Log::lastCreationError() { return g_creationError; }

void setCurrentLog(Log* log) { pLog = log != nullptr ? log : &g_silent; }

Log::Log(const char* path) {
    stream_ = sys::openForWriting(path);
    if (stream_ == nullptr) {
        g_creationError = errno;
        throw "Log File Creation failed";
    }
    enabled_ = true;
    writeText(stream_, kHeader);
    flush();
}

Log::~Log() {
    if (pLog == this) setCurrentLog(nullptr);
    if (stream_ != nullptr) {
        writeText(stream_, kFooter);
        std::fclose(stream_);
    }
}

void Log::flush() {
    if (stream_ == nullptr) return;
    std::fflush(stream_);
    lastFlush_ = std::chrono::steady_clock::now();
}

void Log::write(const char* prefix, const char* format, std::va_list args, const char* suffix, bool urgent) {
    if (!enabled_ || stream_ == nullptr) return;
    std::string text = prefix;
    text += Log::format(format, args);
    text += suffix;
    writeText(stream_, text);
    constexpr auto kFlushInterval = std::chrono::milliseconds(50);
    if (urgent || std::chrono::steady_clock::now() - lastFlush_ >= kFlushInterval) flush();
}

void Log::print(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    write("", format, args, "\n", false);
    va_end(args);
}

void Log::printOk(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    write("<p style=\"color: green; background-color: transparent;\"><b>OK:</b> ", format, args, "</p>\n", false);
    va_end(args);
}

void Log::printError(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    if (enabled_ && stream_ != nullptr && loadctx::listening()) {
        // The same text as written, unescaped, for whoever asks what failed.
        std::va_list copy;
        va_copy(copy, args);
        char text[1024];
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
        loadctx::errorLogged(text);
    }
    write("<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> ", format, args, "</p>\n", true);
    va_end(args);
}
