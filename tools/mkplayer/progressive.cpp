#include "mkplayer/progressive.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace mp {

namespace {

// Weighted sum of squared distances to planes n·p + d = 0: the upper half of
// a symmetric 4 x 4 matrix, row by row.
struct Quadric {
    std::array<double, 10> q{};

    void addPlane(Vec3 n, double d, double weight) {
        const double a = n.x, b = n.y, c = n.z;
        const double terms[10] = {a * a, a * b, a * c, a * d, b * b, b * c, b * d, c * c, c * d, d * d};
        for (std::size_t i = 0; i < q.size(); ++i) q[i] += weight * terms[i];
    }
    void add(const Quadric& o) {
        for (std::size_t i = 0; i < q.size(); ++i) q[i] += o.q[i];
    }
    double at(Vec3 p) const {
        const double x = p.x, y = p.y, z = p.z;
        return q[0] * x * x + q[4] * y * y + q[7] * z * z + q[9] +
               2.0 * (q[1] * x * y + q[2] * x * z + q[3] * x + q[5] * y * z + q[6] * y + q[8] * z);
    }
};

// Copies of a vertex along a texture seam differ by rounding only.
constexpr float kSamePlace = 1e-3f;
// An open edge's planes weigh this much per squared unit of its length.
constexpr double kOpenEdgeWeight = 10.0;
// Added to a move's cost for each triangle it would turn over.
constexpr double kFlipCost = 1e9;

using Triangle = std::array<int, 3>;
using Moves = std::vector<std::pair<int, int>>;  // vertex, the vertex it moves onto

class Collapser {
public:
    explicit Collapser(const Mesh& mesh);

    // Collapses until no triangle is left; returns the vertices in removal
    // order, and onto(v) is the vertex v was moved onto.
    const std::vector<int>& run();
    int onto(int v) const { return onto_[static_cast<std::size_t>(v)]; }

private:
    Vec3 pos(int v) const { return mesh_.vertices[static_cast<std::size_t>(v)].pos; }
    int place(int v) const { return place_[static_cast<std::size_t>(v)]; }
    std::set<int>& around(int v) { return around_[static_cast<std::size_t>(v)]; }
    Vec3 normalOf(const Triangle& t) const { return cross(pos(t[1]) - pos(t[0]), pos(t[2]) - pos(t[0])); }
    // Two corners at one place: the triangle covers nothing.
    bool flat(const Triangle& t) const {
        return place(t[0]) == place(t[1]) || place(t[1]) == place(t[2]) || place(t[0]) == place(t[2]);
    }
    void addPlanes();
    Moves movesOf(int from, int to);
    double cost(int from, int to, const Moves& moves);
    void apply(int from, int to, const Moves& moves);

    const Mesh& mesh_;
    std::vector<int> place_;                // vertex -> place
    std::vector<std::vector<int>> members_;  // place -> its vertices still there
    std::vector<Quadric> quadric_;          // per place
    std::vector<Triangle> tris_;
    std::vector<std::set<int>> around_;  // vertex -> the triangles still using it
    std::vector<int> removed_, onto_;
};

Collapser::Collapser(const Mesh& mesh) : mesh_(mesh), around_(mesh.vertices.size()), onto_(mesh.vertices.size(), -1) {
    const int n = static_cast<int>(mesh.vertices.size());
    for (int v = 0; v < n; ++v) {
        int at = -1;
        for (int w = 0; w < v && at < 0; ++w)
            if (length(pos(v) - pos(w)) < kSamePlace) at = place(w);
        if (at < 0) {
            at = static_cast<int>(members_.size());
            members_.emplace_back();
        }
        place_.push_back(at);
        members_[static_cast<std::size_t>(at)].push_back(v);
    }
    quadric_.resize(members_.size());
    for (const auto& t : mesh.triangles) {
        const int id = static_cast<int>(tris_.size());
        tris_.push_back({t[0], t[1], t[2]});
        for (int c : t) around(c).insert(id);
    }
    addPlanes();
}

// Each triangle's plane, weighted by its area, on its three places; each
// open edge (one triangle only) a plane through it square to that triangle.
void Collapser::addPlanes() {
    std::map<std::pair<int, int>, std::vector<std::pair<Triangle, int>>> edges;  // places -> triangle, corner
    for (const Triangle& t : tris_) {
        const Vec3 n = normalOf(t);
        const float area2 = length(n);
        if (flat(t) || area2 <= 0.0f) continue;
        const Vec3 unit = n * (1.0f / area2);
        for (int c = 0; c < 3; ++c) {
            quadric_[static_cast<std::size_t>(place(t[static_cast<std::size_t>(c)]))].addPlane(
                unit, -dot(unit, pos(t[0])), 0.5 * area2);
            const int a = place(t[static_cast<std::size_t>(c)]), b = place(t[static_cast<std::size_t>((c + 1) % 3)]);
            edges[std::minmax(a, b)].push_back({t, c});
        }
    }
    for (const auto& [places, uses] : edges) {
        if (uses.size() != 1) continue;
        const auto& [t, c] = uses.front();
        const Vec3 a = pos(t[static_cast<std::size_t>(c)]), e = pos(t[static_cast<std::size_t>((c + 1) % 3)]) - a;
        const Vec3 across = normalized(cross(e, normalized(normalOf(t))));
        for (int p : {places.first, places.second})
            quadric_[static_cast<std::size_t>(p)].addPlane(across, -dot(across, a), kOpenEdgeWeight * dot(e, e));
    }
}

// Every vertex at place `from` moves onto the vertex at place `to` it shares
// most triangles with, else onto the nearest in texture space (a seam's
// copies stay on their own side of the seam).
Moves Collapser::movesOf(int from, int to) {
    Moves moves;
    for (int v : members_[static_cast<std::size_t>(from)]) {
        const MeshVertex& a = mesh_.vertices[static_cast<std::size_t>(v)];
        std::tuple<int, float, int> best{1, 0.0f, -1};
        for (int u : members_[static_cast<std::size_t>(to)]) {
            int shared = 0;
            for (int t : around(v))
                for (int c : tris_[static_cast<std::size_t>(t)]) shared += c == u ? 1 : 0;
            const MeshVertex& b = mesh_.vertices[static_cast<std::size_t>(u)];
            const float du = a.u - b.u, dv = a.v - b.v;
            best = std::min(best, std::tuple<int, float, int>{-shared, du * du + dv * dv, u});
        }
        moves.push_back({v, std::get<2>(best)});
    }
    return moves;
}

double Collapser::cost(int from, int to, const Moves& moves) {
    Quadric q = quadric_[static_cast<std::size_t>(from)];
    q.add(quadric_[static_cast<std::size_t>(to)]);
    double c = q.at(pos(moves.front().second));
    for (const auto& [v, u] : moves)
        for (int id : around(v)) {
            const Triangle& before = tris_[static_cast<std::size_t>(id)];
            Triangle after = before;
            for (int& corner : after)
                for (const auto& m : moves) corner = corner == m.first ? m.second : corner;
            if (flat(before) || flat(after)) continue;  // covered nothing, or will not
            if (dot(normalOf(before), normalOf(after)) <= 0.0f) c += kFlipCost;
        }
    return c;
}

void Collapser::apply(int from, int to, const Moves& moves) {
    for (const auto& [v, u] : moves) {
        removed_.push_back(v);
        onto_[static_cast<std::size_t>(v)] = u;
        for (int id : std::set<int>(around(v))) {
            Triangle& t = tris_[static_cast<std::size_t>(id)];
            for (int& corner : t) corner = corner == v ? u : corner;
            // Two corners alike: the triangle is gone, as when the game draws the reduced surface.
            if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]) {
                for (int corner : t) around(corner).erase(id);
            } else {
                around(u).insert(id);
            }
        }
        around(v).clear();
    }
    quadric_[static_cast<std::size_t>(to)].add(quadric_[static_cast<std::size_t>(from)]);
    members_[static_cast<std::size_t>(from)].clear();
}

const std::vector<int>& Collapser::run() {
    for (;;) {
        std::set<std::pair<int, int>> candidates;  // place -> neighbouring place
        for (std::size_t v = 0; v < around_.size(); ++v)
            for (int id : around_[v])
                for (int c : tris_[static_cast<std::size_t>(id)])
                    if (place(c) != place(static_cast<int>(v))) candidates.insert({place(static_cast<int>(v)), place(c)});
        if (candidates.empty()) return removed_;
        double best = 0.0;
        std::pair<int, int> pick{-1, -1};
        Moves pickMoves;
        for (const auto& [from, to] : candidates) {
            Moves moves = movesOf(from, to);
            const double c = cost(from, to, moves);
            if (pick.first < 0 || c < best) {
                best = c;
                pick = {from, to};
                pickMoves = std::move(moves);
            }
        }
        apply(pick.first, pick.second, pickMoves);
    }
}

}  // namespace

std::vector<std::int32_t> progressiveOrder(Mesh& mesh) {
    Collapser collapser(mesh);
    const std::vector<int>& removed = collapser.run();
    const std::size_t n = mesh.vertices.size();
    // The vertices never removed keep their order at the front; then the
    // removed ones, the last removed first.
    std::vector<int> order;  // new index -> old index
    std::vector<bool> gone(n, false);
    for (int v : removed) gone[static_cast<std::size_t>(v)] = true;
    for (std::size_t v = 0; v < n; ++v)
        if (!gone[v]) order.push_back(static_cast<int>(v));
    const std::size_t kept = order.size();
    order.insert(order.end(), removed.rbegin(), removed.rend());
    std::vector<std::int32_t> newIndex(n);
    for (std::size_t i = 0; i < n; ++i) newIndex[static_cast<std::size_t>(order[i])] = static_cast<std::int32_t>(i);

    std::vector<std::int32_t> map(n, 0);
    for (std::size_t i = 1; i < n; ++i)
        map[i] = i < kept ? static_cast<std::int32_t>(i - 1) : newIndex[static_cast<std::size_t>(collapser.onto(order[i]))];
    std::vector<MeshVertex> vertices;
    for (int v : order) vertices.push_back(mesh.vertices[static_cast<std::size_t>(v)]);
    mesh.vertices = std::move(vertices);
    for (auto& t : mesh.triangles)
        for (int& c : t) c = newIndex[static_cast<std::size_t>(c)];
    return map;
}

}  // namespace mp
