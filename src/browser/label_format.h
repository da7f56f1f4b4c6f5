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

namespace browser {

struct LabelArg {
    enum Kind { Int, Unsigned, Double, String } kind;
    union {
        long long i;
        unsigned long long u;
        double d;
        const char* s;
    };
    LabelArg(int v) : kind(Int), i(v) {}
    LabelArg(unsigned v) : kind(Unsigned), u(v) {}
    LabelArg(double v) : kind(Double), d(v) {}
    LabelArg(const char* v) : kind(String), s(v) {}
};

// Writes the label into out (capacity cap, always terminated when cap > 0;
// a longer label is cut, as snprintf cuts it). Returns the length written.
std::size_t formatLabel(char* out, std::size_t cap, const char* format, const LabelArg* args, std::size_t count);

template <class... Args>
std::size_t formatLabel(char* out, std::size_t cap, const char* format, Args... args) {
    const LabelArg list[sizeof...(Args) + 1] = {LabelArg(args)..., LabelArg(0)};
    return formatLabel(out, cap, format, list, sizeof...(Args));
}

}  // namespace browser
