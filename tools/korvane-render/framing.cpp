#include "framing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kr {

namespace {

using Vec = std::array<double, 3>;

constexpr double kDegree = 3.14159265358979323846 / 180.0;
// The three-quarter view's turn from the front and its height above it.
constexpr double kQuarterTurn = -45.0 * kDegree;
constexpr double kQuarterRise = 15.0 * kDegree;

struct Named {
    View view;
    const char* name;
};
constexpr Named kNames[] = {{View::front, "front"}, {View::back, "back"},
                            {View::left, "left"},   {View::right, "right"},
                            {View::threeQuarter, "three-quarter"}, {View::top, "top"}};

double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The same product as D3DXVec3Cross.
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec unit(const Vec& v) {
    const double length = std::sqrt(dot(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

// Game axes to drawing axes.
Vec drawn(double x, double y, double z) { return {-y, z, x}; }

// From the model towards the eye, and the picture's up, in game axes.
void directions(View view, Vec& toEye, Vec& up) {
    up = {0.0, 0.0, 1.0};
    switch (view) {
        case View::front: toEye = {1.0, 0.0, 0.0}; break;
        case View::back: toEye = {-1.0, 0.0, 0.0}; break;
        case View::left: toEye = {0.0, 1.0, 0.0}; break;
        case View::right: toEye = {0.0, -1.0, 0.0}; break;
        case View::threeQuarter:
            toEye = {std::cos(kQuarterRise) * std::cos(kQuarterTurn), std::cos(kQuarterRise) * std::sin(kQuarterTurn),
                     std::sin(kQuarterRise)};
            break;
        case View::top:
            toEye = {0.0, 0.0, 1.0};
            up = {1.0, 0.0, 0.0};
            break;
    }
}

// The box's corners in drawing axes, an empty box a unit one at the origin,
// every side at least 1 % of the largest (and that at least 1e-3).
std::array<Vec, 8> cornersOf(const scene::Box& box) {
    double lo[3] = {-0.5, -0.5, -0.5};
    double hi[3] = {0.5, 0.5, 0.5};
    if (!box.empty()) {
        for (int i = 0; i < 3; ++i) {
            lo[i] = box.min[i];
            hi[i] = box.max[i];
        }
    }
    double largest = 1e-3;
    for (int i = 0; i < 3; ++i) largest = std::max(largest, hi[i] - lo[i]);
    for (int i = 0; i < 3; ++i) {
        const double grow = std::max(0.0, 0.01 * largest - (hi[i] - lo[i])) / 2.0;
        lo[i] -= grow;
        hi[i] += grow;
    }
    std::array<Vec, 8> corners;
    for (int k = 0; k < 8; ++k) {
        corners[static_cast<std::size_t>(k)] =
            drawn((k & 1) ? hi[0] : lo[0], (k & 2) ? hi[1] : lo[1], (k & 4) ? hi[2] : lo[2]);
    }
    return corners;
}

// Along one picture axis `side` with the half-angle's tangent `t`: the eye's
// furthest distance along `ahead` that keeps every corner within the angle,
// and the eye's coordinate along `side` that centres them.
struct Fit {
    double distance;
    double centre;
};
Fit fit(const std::array<Vec, 8>& corners, const Vec& side, const Vec& ahead, double t) {
    double high = std::numeric_limits<double>::max();
    double low = std::numeric_limits<double>::lowest();
    for (const Vec& p : corners) {
        high = std::min(high, dot(side, p) + t * dot(ahead, p));
        low = std::max(low, dot(side, p) - t * dot(ahead, p));
    }
    return {(high - low) / (2.0 * t), (high + low) / 2.0};
}

}  // namespace

std::optional<View> viewNamed(std::string_view name) {
    for (const Named& n : kNames) {
        if (name == n.name) return n.view;
    }
    return std::nullopt;
}

const char* nameOf(View view) {
    for (const Named& n : kNames) {
        if (n.view == view) return n.name;
    }
    return "";
}

Eye frameBox(const scene::Box& box, View view, int width, int height) {
    Vec toEye = {1.0, 0.0, 0.0};
    Vec upGame;
    directions(view, toEye, upGame);
    const Vec look = unit(drawn(-toEye[0], -toEye[1], -toEye[2]));
    const Vec right = unit(cross(drawn(upGame[0], upGame[1], upGame[2]), look));
    const Vec up = cross(look, right);

    // A point p seen from eye e: x = right.(p - e), y = up.(p - e),
    // z = look.(p - e); it is in the picture with the margin while
    // |x| <= z tx and |y| <= z ty.
    const double w = std::max(width, 1);
    const double h = std::max(height, 1);
    const double margin = kMarginShare * std::min(w, h);
    const double tanY = std::tan(kFieldOfViewY / 2.0);
    const double tx = tanY * (w / h) * (1.0 - 2.0 * margin / w);
    const double ty = tanY * (1.0 - 2.0 * margin / h);
    const std::array<Vec, 8> corners = cornersOf(box);
    const Fit across = fit(corners, right, look, tx);
    const Fit upright = fit(corners, up, look, ty);
    const double along = std::min(across.distance, upright.distance);

    Eye eye;
    double nearest = std::numeric_limits<double>::max();
    double furthest = 0.0;
    for (const Vec& p : corners) {
        const double z = dot(look, p) - along;
        nearest = std::min(nearest, z);
        furthest = std::max(furthest, z);
    }
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        eye.position[i] = static_cast<float>(across.centre * right[k] + upright.centre * up[k] + along * look[k]);
        eye.look[i] = static_cast<float>(look[k]);
        eye.up[i] = static_cast<float>(up[k]);
    }
    eye.farZ = static_cast<float>(std::max(500.0, 2.0 * furthest));
    eye.nearZ = static_cast<float>(std::max(std::min(1.0, 0.5 * nearest), 1e-6));
    return eye;
}

}  // namespace kr
