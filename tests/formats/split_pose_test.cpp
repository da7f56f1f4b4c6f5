// Legs/torso poses of the demo skeleton against an evaluation written
// straight from the games' rules, in double precision: angle rows from
// pitch/yaw/roll, positions along the parent directions, the torso's bones
// taken by weight and turned about the torso parent. And level of detail
// from collapse maps, including maps that break the rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "formats/families/collapse_lod.h"
#include "formats/families/split_pose.h"
#include "formats/mdx_index.h"
#include "mkplayer/split_body.h"
#include "modelgen/mdx_writer.h"

namespace {

using V3 = std::array<double, 3>;
using M3 = std::array<V3, 3>;

constexpr double kPi = 3.14159265358979323846;

double degrees(std::int16_t v) { return v * 360.0 / 65536.0; }

M3 axisOf(double pitch, double yaw, double roll) {
    const double p = pitch * kPi / 180, y = yaw * kPi / 180, r = roll * kPi / 180;
    const double sp = std::sin(p), cp = std::cos(p), sy = std::sin(y), cy = std::cos(y), sr = std::sin(r),
                 cr = std::cos(r);
    const V3 right{-sr * sp * cy + cr * sy, -sr * sp * sy - cr * cy, -sr * cp};
    return {V3{cp * cy, cp * sy, -sp}, V3{-right[0], -right[1], -right[2]},
            V3{cr * sp * cy + sr * sy, cr * sp * sy - sr * cy, cr * cp}};
}

V3 direction(double pitch, double yaw) {
    return {std::cos(pitch * kPi / 180) * std::cos(yaw * kPi / 180),
            std::cos(pitch * kPi / 180) * std::sin(yaw * kPi / 180), -std::sin(pitch * kPi / 180)};
}

double shortWay(double a, double b, double t) {
    double d = std::fmod(b - a, 360.0);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return a + t * d;
}

V3 nlerp(const V3& a, const V3& b, double t) {
    V3 v{a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])};
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (double& c : v) c /= len;
    return v;
}

struct Angles {
    double pitch, yaw, roll;
    V3 dir;
};

Angles between(const Angles& a, const Angles& b, double t) {
    if (t == 0) return a;
    if (t == 1) return b;
    return {shortWay(a.pitch, b.pitch, t), shortWay(a.yaw, b.yaw, t), shortWay(a.roll, b.roll, t), nlerp(a.dir, b.dir, t)};
}

Angles anglesOf(const mg::MdxFrameDesc& f, std::size_t bone) {
    const auto& r = f.boneFrames[bone];
    return {degrees(r.Pitch), degrees(r.Yaw), degrees(r.Roll), direction(degrees(r.OffsetPitch), degrees(r.OffsetYaw))};
}

struct Expected {
    std::vector<M3> turn;
    std::vector<V3> origin;
};

Expected expected(const mg::MdxModel& m, int legsFrame, int legsNext, double legsLerp, int torsoFrame, const M3& aim) {
    Expected e;
    const std::size_t n = m.bones.size();
    const auto& lf = m.frames[static_cast<std::size_t>(legsFrame)];
    const auto& ln = m.frames[static_cast<std::size_t>(legsNext)];
    const auto& tf = m.frames[static_cast<std::size_t>(torsoFrame)];
    for (std::size_t b = 0; b < n; ++b) {
        const double w = m.bones[b].torsoWeight;
        const Angles legs = between(anglesOf(lf, b), anglesOf(ln, b), legsLerp);
        const Angles a = between(legs, anglesOf(tf, b), w);
        e.turn.push_back(axisOf(a.pitch, a.yaw, a.roll));
        V3 t{};
        if (m.bones[b].parent < 0) {
            for (int c = 0; c < 3; ++c)
                t[static_cast<std::size_t>(c)] =
                    lf.parentOffset[static_cast<std::size_t>(c)] +
                    legsLerp * (ln.parentOffset[static_cast<std::size_t>(c)] - lf.parentOffset[static_cast<std::size_t>(c)]);
        } else {
            const V3& from = e.origin[static_cast<std::size_t>(m.bones[b].parent)];
            for (int c = 0; c < 3; ++c)
                t[static_cast<std::size_t>(c)] = from[static_cast<std::size_t>(c)] + m.bones[b].parentDist * a.dir[static_cast<std::size_t>(c)];
        }
        e.origin.push_back(t);
    }
    const V3 p = e.origin[static_cast<std::size_t>(m.torsoParent)];
    for (std::size_t b = 0; b < n; ++b) {
        const double w = m.bones[b].torsoWeight;
        if (w <= 0) continue;
        M3 s{}, turned{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) s[i][j] = w * aim[j][i] + (1 - w) * (i == j);
        V3 o{};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) turned[i][j] += s[i][k] * e.turn[b][k][j];
            for (int k = 0; k < 3; ++k) o[i] += s[i][k] * (e.origin[b][k] - p[k]);
            o[i] += p[i];
        }
        e.turn[b] = turned;
        e.origin[b] = o;
    }
    return e;
}

struct Skeleton {
    mg::MdxModel model = mp::walkMdx();
    mg::Bytes bytes = mg::writeMdx(model).bytes;
    formats::MdxIndex index = formats::indexMdx(formats::ByteView(bytes.data(), bytes.size()), formats::Reader::Draw);
    formats::ByteView view() const { return formats::ByteView(bytes.data(), bytes.size()); }
};

TEST(SplitPose, LegsAndTorsoMatchTheRulesForEveryBone) {
    const Skeleton s;
    ASSERT_TRUE(s.index.ok());
    ASSERT_GE(s.model.frames.size(), 12u);
    float aim[3][3];
    formats::anglesToAxis(10.0f, 35.0f, 0.0f, aim);
    M3 aimD = axisOf(10, 35, 0);
    struct Case {
        int legs, next;
        float lerp;
        int torso;
        bool turned;
    };
    for (const Case c : {Case{3, 4, 0.0f, 3, false}, Case{2, 3, 0.0f, 11, false}, Case{5, 6, 0.25f, 9, true},
                         Case{0, 1, 0.5f, 7, true}}) {
        formats::TorsoTurn turn;
        turn.torsoParent = s.model.torsoParent;
        if (c.turned) std::copy(&aim[0][0], &aim[0][0] + 9, &turn.axis[0][0]);
        std::vector<formats::BonePose3> got;
        formats::evaluateSplitPose(s.index, s.view(), {&s.index, s.view(), static_cast<std::uint32_t>(c.legs),
                                                       static_cast<std::uint32_t>(c.next), c.lerp},
                                   {&s.index, s.view(), static_cast<std::uint32_t>(c.torso), 0, 0.0f}, turn, false, got);
        const Expected want = expected(s.model, c.legs, c.next, c.lerp, c.torso, c.turned ? aimD : axisOf(0, 0, 0));
        ASSERT_EQ(got.size(), want.turn.size());
        for (std::size_t b = 0; b < got.size(); ++b)
            for (int i = 0; i < 3; ++i) {
                EXPECT_NEAR(got[b].origin[i], want.origin[b][static_cast<std::size_t>(i)], 1e-4)
                    << "bone " << b << " legs " << c.legs << " torso " << c.torso;
                for (int j = 0; j < 3; ++j)
                    EXPECT_NEAR(got[b].turn[i][j], want.turn[b][static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], 1e-4)
                        << "bone " << b << " row " << i << " legs " << c.legs << " torso " << c.torso;
            }
    }
}

// Both parts on one frame, no turn: the one-frame evaluation, bit for bit.
TEST(SplitPose, OneFrameIsEvaluatePoseExactly) {
    const Skeleton s;
    std::vector<formats::BonePose3> split, one;
    formats::TorsoTurn turn;
    turn.torsoParent = s.model.torsoParent;
    formats::evaluateSplitPose(s.index, s.view(), {&s.index, s.view(), 6, 0, 0.0f}, {&s.index, s.view(), 6, 0, 0.0f},
                               turn, false, split);
    formats::evaluatePose(s.index, s.view(), 6, one);
    ASSERT_EQ(split.size(), one.size());
    for (std::size_t b = 0; b < one.size(); ++b) {
        EXPECT_EQ(std::memcmp(split[b].turn, one[b].turn, sizeof one[b].turn), 0) << b;
        EXPECT_EQ(std::memcmp(split[b].origin, one[b].origin, sizeof one[b].origin), 0) << b;
    }
}

TEST(CollapseLod, KeptCountsAndTrianglesFollowTheRule) {
    EXPECT_EQ(formats::lodVertexCount(10, 0.46f, 2, formats::LodRounding::Round), 5);
    EXPECT_EQ(formats::lodVertexCount(10, 0.46f, 2, formats::LodRounding::Truncate), 4);
    EXPECT_EQ(formats::lodVertexCount(10, 0.05f, 3, formats::LodRounding::Round), 3);
    EXPECT_EQ(formats::lodVertexCount(10, 0.5f, 12, formats::LodRounding::Round), 10);
    EXPECT_FLOAT_EQ(formats::lodFactor(10.0f, 1000.0f, 1.0f, 0.0f), 0.05f);
    EXPECT_FLOAT_EQ(formats::lodFactor(10.0f, 5.0f, 1.0f, 0.0f), 1.0f);

    // A strip of 6 vertices: 4 and 5 collapse onto 2 and 3.
    const std::vector<std::int32_t> map{0, 0, 1, 2, 2, 3};
    const std::vector<formats::Triangle> strip{{0, 1, 2}, {1, 3, 2}, {2, 3, 4}, {3, 5, 4}};
    EXPECT_EQ(formats::collapseTriangles(map, strip, 6).size(), 4u);
    EXPECT_EQ(formats::collapseTriangles(map, strip, 4), (std::vector<formats::Triangle>{{0, 1, 2}, {1, 3, 2}}));
    EXPECT_EQ(formats::collapseTriangles(map, strip, 3), (std::vector<formats::Triangle>{{0, 1, 2}}));
    // Broken maps (pointing forwards, outside) and corners outside the
    // surface: nothing outside is read, nothing undrawn is kept.
    const std::vector<std::int32_t> broken{0, 5, 99, -4, 2, 1};
    const std::vector<formats::Triangle> wild{{0, 1, 2}, {0, 4, 3}, {0, 7, 1}, {-1, 0, 1}};
    for (std::int32_t kept = 0; kept <= 6; ++kept)
        for (const auto& t : formats::collapseTriangles(broken, wild, kept))
            for (const std::int32_t v : t) EXPECT_LT(v, kept);
}

}  // namespace
