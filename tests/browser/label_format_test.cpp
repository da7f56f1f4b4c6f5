// formatLabel must give exactly what snprintf gives: checked on every
// compressed angle, on float bit patterns across the whole range, on the
// rounding ties and on integers, strings and cut labels.
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "browser/label_format.h"

namespace {

std::string mine(double v) {
    char buf[256];
    browser::formatLabel(buf, sizeof(buf), "x: %0f", v);
    return buf;
}
std::string libc(double v) {
    char buf[256];  // the same cut as mine()
    std::snprintf(buf, sizeof(buf), "x: %f", v);
    return buf;
}

TEST(LabelFormat, EveryAngleInDegrees) {
    for (int a = -32768; a <= 32767; ++a) {
        const double deg = static_cast<double>(a) * 0.0054931640625;
        ASSERT_EQ(mine(deg), libc(deg)) << a;
    }
}

TEST(LabelFormat, FloatsAcrossTheRange) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 300000; ++i) {
        const float f = std::bit_cast<float>(bits(rng));
        ASSERT_EQ(mine(f), libc(f)) << std::bit_cast<std::uint32_t>(f);
    }
    // Values near the six-decimal grid, small ones, ties and specials.
    std::uniform_real_distribution<float> small(-1000.0f, 1000.0f);
    for (int i = 0; i < 300000; ++i) {
        const float f = small(rng);
        ASSERT_EQ(mine(f), libc(f)) << f;
    }
    const double special[] = {0.0, -0.0, 0.0000005, -0.0000005, 0.0078125, 0.0234375, 1.5, 2.5, 1e-7f, -1e-7f,
                              0.1f, 123456.789f, 16777216.0f, 1.8e13f, 3.4e38f, -3.4e38f,
                              std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                              std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
                              0.1, 1.0 / 3.0, 1e300};
    for (double v : special) EXPECT_EQ(mine(v), libc(v)) << v;
    for (std::uint32_t k = 1; k < 40; ++k) {  // exact ties of the seventh decimal
        const double v = static_cast<double>(k) / 128.0 / 1024.0;
        EXPECT_EQ(mine(v), libc(v)) << v;
    }
}

TEST(LabelFormat, IntegersStringsAndCutting) {
    char buf[64];
    browser::formatLabel(buf, sizeof(buf), "%d %0d %u %0u (%s) 100%%", -2147483647 - 1, 2147483647, 4294967295u, 0u,
                         "bone");
    EXPECT_STREQ(buf, "-2147483648 2147483647 4294967295 0 (bone) 100%");
    // A label longer than the buffer is cut and terminated, like snprintf.
    char small[8];
    const auto n = browser::formatLabel(small, sizeof(small), "Name: %s", "abcdefgh");
    EXPECT_STREQ(small, "Name: a");
    EXPECT_EQ(n, 14u);
    char tiny[1] = {'z'};
    browser::formatLabel(tiny, sizeof(tiny), "%d", 5);
    EXPECT_EQ(tiny[0], '\0');
}

}  // namespace
