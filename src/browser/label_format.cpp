#include "browser/label_format.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace browser {

namespace {

class Out {
public:
    Out(char* out, std::size_t cap) : out_(out), cap_(cap) {}
    void put(char c) {
        if (len_ + 1 < cap_) out_[len_] = c;
        ++len_;
    }
    void put(const char* s, std::size_t n) {
        if (len_ + 1 < cap_) {
            const std::size_t room = cap_ - 1 - len_;
            std::memcpy(out_ + len_, s, n < room ? n : room);
        }
        len_ += n;
    }
    void putUnsigned(unsigned long long v, int minDigits = 1) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0 || n < minDigits);
        while (n > 0) put(digits[--n]);
    }
    std::size_t finish() {
        if (cap_ > 0) out_[len_ < cap_ ? len_ : cap_ - 1] = '\0';
        return len_;
    }

private:
    char* out_;
    std::size_t cap_;
    std::size_t len_ = 0;
};

constexpr std::uint64_t kMillion = 1000000;

// v * 10^6 rounded half to even, when it can be computed exactly in 64 bits.
bool scaledExactly(double v, std::uint64_t& result) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0x7FF) return false;  // infinity or NaN
    int e;
    if (biased == 0) {
        e = -1074;
    } else {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    if (m == 0) {
        result = 0;
        return true;
    }
    const int zeros = std::countr_zero(m);
    m >>= zeros;
    e += zeros;
    if (m >= (std::uint64_t{1} << 44)) return false;
    const std::uint64_t n = m * kMillion;  // < 2^64
    if (e >= 0) {
        if (e >= std::countl_zero(n)) return false;  // n << e would overflow
        result = n << e;
        return true;
    }
    const int k = -e;
    if (k >= 64) {
        result = 0;  // n < 2^64 <= half of 2^k: rounds down to 0
        return true;
    }
    std::uint64_t q = n >> k;
    const std::uint64_t r = n & ((std::uint64_t{1} << k) - 1);
    const std::uint64_t half = std::uint64_t{1} << (k - 1);
    if (r > half || (r == half && (q & 1) != 0)) ++q;
    result = q;
    return true;
}

void putFixed(Out& out, double v) {
    std::uint64_t scaled;
    if (!scaledExactly(v, scaled)) {
        char buf[400];
        const int n = std::snprintf(buf, sizeof(buf), "%f", v);
        if (n > 0) out.put(buf, static_cast<std::size_t>(n) < sizeof(buf) ? static_cast<std::size_t>(n) : sizeof(buf) - 1);
        return;
    }
    if (std::signbit(v)) out.put('-');
    out.putUnsigned(scaled / kMillion);
    out.put('.');
    out.putUnsigned(scaled % kMillion, 6);
}

}  // namespace

std::size_t formatLabel(char* buffer, std::size_t cap, const char* format, const LabelArg* args, std::size_t count) {
    Out out(buffer, cap);
    std::size_t next = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.put(*p);
            continue;
        }
        ++p;
        while (*p == '0') ++p;
        if (*p == '%') {
            out.put('%');
            continue;
        }
        if (*p == '\0' || next >= count) break;
        const LabelArg& a = args[next++];
        switch (a.kind) {
            case LabelArg::Int:
                if (a.i < 0) {
                    out.put('-');
                    out.putUnsigned(0ull - static_cast<unsigned long long>(a.i));
                } else {
                    out.putUnsigned(static_cast<unsigned long long>(a.i));
                }
                break;
            case LabelArg::Unsigned: out.putUnsigned(a.u); break;
            case LabelArg::Double: putFixed(out, a.d); break;
            case LabelArg::String: out.put(a.s, std::strlen(a.s)); break;
        }
    }
    return out.finish();
}

}  // namespace browser
