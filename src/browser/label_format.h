// A small, fast formatter for the tree's labels. It understands exactly the
// conversions the labels use: %d (int), %u (unsigned), %f (double, six
// decimals) and %s (C string), each optionally written with a zero flag and
// no width ("%0d"), which changes nothing. Its output is byte for byte what
// snprintf gives for the same format and arguments; it exists because
// building a large tree spends nearly all its time in printf's float path.
//
// %f is computed exactly (round half to even on the exact binary value) for
// every double whose significand, without trailing zero bits, has at most 44
// bits and whose value times 10^6 fits in 64 bits: that covers every float32
// below about 1.8e13 and every compressed angle in degrees. Any other value,
// infinities and NaNs included, is handed to snprintf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace browser {

struct LabelArg {
    enum Kind { Int, Unsigned, Double, String } kind;
    union {
        long long i;
        unsigned long long u;
        double d;
        const char* s;
    };
    constexpr LabelArg(int v) : kind(Int), i(v) {}
    constexpr LabelArg(unsigned v) : kind(Unsigned), u(v) {}
    constexpr LabelArg(double v) : kind(Double), d(v) {}
    constexpr LabelArg(const char* v) : kind(String), s(v) {}
};

namespace detail {

// Never defined: a label format whose conversions do not match its
// arguments reaches it while compiling, and the build stops there.
void labelFormatDoesNotMatchItsArguments();

// The conversion letter an argument of type T is formatted with (by the
// LabelArg it becomes: a uint8_t is an int, a float a double).
template <class T>
consteval char conversionFor() {
    switch (LabelArg(T{}).kind) {
        case LabelArg::Int: return 'd';
        case LabelArg::Unsigned: return 'u';
        case LabelArg::Double: return 'f';
        case LabelArg::String: return 's';
    }
    return '?';
}

}  // namespace detail

// A label format checked while compiling: one conversion per argument, in
// order, each with the letter of its argument's kind (%d int, %u unsigned,
// %f double, %s string). A %d given a float no longer prints 2.500000.
template <class... Args>
struct LabelFormat {
    const char* text;
    consteval LabelFormat(const char* format) : text(format) {
        constexpr char wanted[] = {detail::conversionFor<Args>()..., '\0'};
        std::size_t next = 0;
        for (const char* p = format; *p; ++p) {
            if (*p != '%') continue;
            ++p;
            while (*p == '0') ++p;
            if (*p == '%') continue;
            if (next >= sizeof...(Args) || *p != wanted[next]) detail::labelFormatDoesNotMatchItsArguments();
            ++next;
        }
        if (next != sizeof...(Args)) detail::labelFormatDoesNotMatchItsArguments();
    }
};

// Writes the label into out (capacity cap, always terminated when cap > 0;
// a longer label is cut, as snprintf cuts it). Returns the length written.
std::size_t formatLabel(char* out, std::size_t cap, const char* format, const LabelArg* args, std::size_t count);

template <class... Args>
std::size_t formatLabel(char* out, std::size_t cap, LabelFormat<std::type_identity_t<Args>...> format, Args... args) {
    const LabelArg list[sizeof...(Args) + 1] = {LabelArg(args)..., LabelArg(0)};
    return formatLabel(out, cap, format.text, list, sizeof...(Args));
}

}  // namespace browser
