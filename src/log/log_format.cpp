// printf-style formatting for the log, with every string argument
// HTML-escaped. Each conversion is handed to vsnprintf on its own, so the
// standard library does the number formatting exactly as printf would.
#include <cstdio>
#include <cstring>
#include <string>

#include "log/log.h"

namespace {

void appendEscaped(std::string& out, const char* s) {
    if (s == nullptr) s = "(null)";
    for (; *s != '\0'; ++s) {
        switch (*s) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += *s;
        }
    }
}

template <typename T>
void appendOne(std::string& out, const std::string& conversion, T value) {
    char small[128];
    const int n = std::snprintf(small, sizeof small, conversion.c_str(), value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), conversion.c_str(), value);
    out.append(big.data(), static_cast<std::size_t>(n));
}

}  // namespace

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif

std::string Log::format(const char* format, std::va_list args) {
    std::string out;
    if (format == nullptr) return out;
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            const char* next = std::strchr(p, '%');
            const std::size_t len = next ? static_cast<std::size_t>(next - p) : std::strlen(p);
            out.append(p, len);
            p += len;
            continue;
        }
        // One conversion: flags, width, precision, length, then the kind.
        const char* start = p++;
        while (*p != '\0' && std::strchr("-+ #0", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        int longs = 0;
        bool halves = false;
        while (*p == 'h' || *p == 'l' || *p == 'z') {
            if (*p == 'h') halves = true;
            if (*p == 'l') ++longs;
            if (*p == 'z') longs = 3;
            ++p;
        }
        const char kind = *p;
        if (kind == '\0') {
            out.append(start);
            break;
        }
        ++p;
        // The conversion passed on keeps flags, width and precision but drops the
        // length modifiers, which are re-added to match the argument read.
        std::string conversion(start, static_cast<std::size_t>(p - start));
        std::string base;
        for (char c : conversion)
            if (c != 'h' && c != 'l' && c != 'z') base += c;
        const std::string head = base.substr(0, base.size() - 1);
        switch (kind) {
            case '%': out += '%'; break;
            case 's': {
                // Width and precision do not apply to escaped text; the
                // viewer's formats never use them with strings.
                appendEscaped(out, va_arg(args, const char*));
                break;
            }
            case 'c': appendOne(out, base, va_arg(args, int)); break;
            case 'd': case 'i':
                if (longs >= 2) appendOne(out, head + "lld", va_arg(args, long long));
                else if (longs == 1) appendOne(out, head + "ld", va_arg(args, long));
                else appendOne(out, base, va_arg(args, int));
                break;
            case 'u': case 'x': case 'X': case 'o':
                if (longs >= 2) appendOne(out, head + "ll" + kind, va_arg(args, unsigned long long));
                else if (longs == 1) appendOne(out, head + "l" + kind, va_arg(args, unsigned long));
                else appendOne(out, base, va_arg(args, unsigned int));
                break;
            case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
                appendOne(out, base, va_arg(args, double));
                break;
            case 'p': appendOne(out, base, va_arg(args, void*)); break;
            default:
                // An unknown conversion is written as it stands and consumes
                // no argument.
                out.append(conversion);
        }
        (void)halves;
    }
    return out;
}
