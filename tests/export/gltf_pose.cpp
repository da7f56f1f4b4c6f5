#include "gltf_pose.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gltftest {

namespace {

using Mat4 = std::array<double, 16>;  // column-major

Mat4 identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Mat4 mul(const Mat4& a, const Mat4& b) {
    Mat4 r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[4 * c + row] += a[4 * k + row] * b[4 * c + k];
    return r;
}

Mat4 localOf(const tinygltf::Node& n) {
    if (n.matrix.size() == 16) {
        Mat4 m;
        for (int i = 0; i < 16; ++i) m[i] = n.matrix[i];
        return m;
    }
    double t[3] = {0, 0, 0}, q[4] = {0, 0, 0, 1}, s[3] = {1, 1, 1};
    for (std::size_t i = 0; i < n.translation.size(); ++i) t[i] = n.translation[i];
    for (std::size_t i = 0; i < n.rotation.size(); ++i) q[i] = n.rotation[i];
    for (std::size_t i = 0; i < n.scale.size(); ++i) s[i] = n.scale[i];
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                            {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    Mat4 m = identity();
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 3; ++c) m[4 * c + row] = r[row][c] * s[c];
    for (int row = 0; row < 3; ++row) m[12 + row] = t[row];
    return m;
}

Vec3 transformPoint(const Mat4& m, const Vec3& p) {
    Vec3 out;
    for (int row = 0; row < 3; ++row) out[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    return out;
}

// Values of `width` at `seconds` from a LINEAR sampler; rotations by slerp.
std::vector<double> sample(const tinygltf::Model& model, const tinygltf::AnimationSampler& s, int width,
                           double seconds) {
    const std::vector<double> times = readAccessor(model, s.input), values = readAccessor(model, s.output);
    const auto w = static_cast<std::size_t>(width);
    std::size_t k = 0;
    while (k + 1 < times.size() && times[k + 1] <= seconds) ++k;
    std::vector<double> a(values.begin() + static_cast<std::ptrdiff_t>(k * w),
                          values.begin() + static_cast<std::ptrdiff_t>((k + 1) * w));
    if (k + 1 >= times.size() || seconds <= times[k]) return a;
    const double t = (seconds - times[k]) / (times[k + 1] - times[k]);
    const double* b = &values[(k + 1) * w];
    if (width != 4) {
        for (std::size_t i = 0; i < w; ++i) a[i] += t * (b[i] - a[i]);
        return a;
    }
    double dot = 0.0;
    for (std::size_t i = 0; i < 4; ++i) dot += a[i] * b[i];
    const double sign = dot < 0.0 ? -1.0 : 1.0;
    const double angle = std::acos(std::min(1.0, std::fabs(dot)));
    const double wa = angle < 1e-9 ? 1.0 - t : std::sin((1.0 - t) * angle) / std::sin(angle);
    const double wb = angle < 1e-9 ? t : std::sin(t * angle) / std::sin(angle);
    for (std::size_t i = 0; i < 4; ++i) a[i] = wa * a[i] + sign * wb * b[i];
    return a;
}

}  // namespace

bool load(const std::string& path, tinygltf::Model& model, std::string& error) {
    tinygltf::TinyGLTF loader;
    std::string warning;
    const bool binary = path.size() > 4 && path.substr(path.size() - 4) == ".glb";
    const bool ok = binary ? loader.LoadBinaryFromFile(&model, &error, &warning, path)
                           : loader.LoadASCIIFromFile(&model, &error, &warning, path);
    if (!warning.empty() && error.empty()) error = warning;
    return ok;
}

std::vector<double> readAccessor(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& a = model.accessors[static_cast<std::size_t>(index)];
    const int width = tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(a.type));
    const int size = tinygltf::GetComponentSizeInBytes(static_cast<std::uint32_t>(a.componentType));
    std::vector<double> out(a.count * static_cast<std::size_t>(width), 0.0);
    const auto read = [&](const unsigned char* p) -> double {
        switch (a.componentType) {
            case TINYGLTF_COMPONENT_TYPE_FLOAT: { float f; std::memcpy(&f, p, 4); return f; }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return a.normalized ? *p / 255.0 : *p;
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: { std::uint16_t v; std::memcpy(&v, p, 2); return a.normalized ? v / 65535.0 : v; }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: { std::uint32_t v; std::memcpy(&v, p, 4); return v; }
            default: return 0.0;
        }
    };
    if (a.bufferView >= 0) {
        const tinygltf::BufferView& v = model.bufferViews[static_cast<std::size_t>(a.bufferView)];
        const auto& data = model.buffers[static_cast<std::size_t>(v.buffer)].data;
        const std::size_t stride = v.byteStride ? v.byteStride : static_cast<std::size_t>(width * size);
        for (std::size_t i = 0; i < a.count; ++i)
            for (int c = 0; c < width; ++c)
                out[i * static_cast<std::size_t>(width) + static_cast<std::size_t>(c)] =
                    read(&data[v.byteOffset + a.byteOffset + i * stride + static_cast<std::size_t>(c * size)]);
    }
    return out;
}

std::vector<PosedMesh> posedMeshes(const tinygltf::Model& model, int animation, double seconds) {
    const std::size_t n = model.nodes.size();
    std::vector<tinygltf::Node> nodes = model.nodes;
    if (animation >= 0) {
        const tinygltf::Animation& anim = model.animations.at(static_cast<std::size_t>(animation));
        for (const tinygltf::AnimationChannel& ch : anim.channels) {
            const auto& sampler = anim.samplers.at(static_cast<std::size_t>(ch.sampler));
            tinygltf::Node& node = nodes.at(static_cast<std::size_t>(ch.target_node));
            if (ch.target_path == "translation") node.translation = sample(model, sampler, 3, seconds);
            if (ch.target_path == "rotation") node.rotation = sample(model, sampler, 4, seconds);
        }
    }
    std::vector<int> parent(n, -1);
    for (std::size_t i = 0; i < n; ++i)
        for (const int c : model.nodes[i].children) parent[static_cast<std::size_t>(c)] = static_cast<int>(i);
    std::vector<Mat4> world(n);
    std::vector<char> done(n, 0);
    const auto worldOf = [&](auto& self, std::size_t i) -> const Mat4& {
        if (!done[i]) {
            const Mat4 local = localOf(nodes[i]);
            world[i] = parent[i] < 0 ? local : mul(self(self, static_cast<std::size_t>(parent[i])), local);
            done[i] = 1;
        }
        return world[i];
    };
    std::vector<PosedMesh> out;
    for (std::size_t i = 0; i < n; ++i) {
        const tinygltf::Node& node = model.nodes[i];
        if (node.mesh < 0) continue;
        const tinygltf::Mesh& mesh = model.meshes[static_cast<std::size_t>(node.mesh)];
        const tinygltf::Primitive& prim = mesh.primitives.at(0);
        std::vector<double> pos = readAccessor(model, prim.attributes.at("POSITION"));
        for (std::size_t t = 0; t < prim.targets.size() && t < mesh.weights.size(); ++t) {
            if (mesh.weights[t] == 0.0) continue;
            const std::vector<double> d = readAccessor(model, prim.targets[t].at("POSITION"));
            for (std::size_t k = 0; k < pos.size(); ++k) pos[k] += mesh.weights[t] * d[k];
        }
        PosedMesh posed{mesh.name, {}};
        if (node.skin >= 0) {
            const tinygltf::Skin& skin = model.skins[static_cast<std::size_t>(node.skin)];
            const std::vector<double> ibm = readAccessor(model, skin.inverseBindMatrices);
            std::vector<Mat4> joint(skin.joints.size());
            for (std::size_t j = 0; j < joint.size(); ++j) {
                Mat4 inv;
                for (int k = 0; k < 16; ++k) inv[static_cast<std::size_t>(k)] = ibm[16 * j + static_cast<std::size_t>(k)];
                joint[j] = mul(worldOf(worldOf, static_cast<std::size_t>(skin.joints[j])), inv);
            }
            std::vector<std::vector<double>> joints, weights;
            for (int set = 0; prim.attributes.count("JOINTS_" + std::to_string(set)); ++set) {
                joints.push_back(readAccessor(model, prim.attributes.at("JOINTS_" + std::to_string(set))));
                weights.push_back(readAccessor(model, prim.attributes.at("WEIGHTS_" + std::to_string(set))));
            }
            for (std::size_t v = 0; v < pos.size() / 3; ++v) {
                const Vec3 p{pos[3 * v], pos[3 * v + 1], pos[3 * v + 2]};
                Vec3 sum{0, 0, 0};
                for (std::size_t s = 0; s < joints.size(); ++s)
                    for (std::size_t k = 0; k < 4; ++k) {
                        const double w = weights[s][4 * v + k];
                        if (w == 0.0) continue;
                        const Vec3 q = transformPoint(joint[static_cast<std::size_t>(joints[s][4 * v + k])], p);
                        for (int c = 0; c < 3; ++c) sum[static_cast<std::size_t>(c)] += w * q[static_cast<std::size_t>(c)];
                    }
                posed.points.push_back(sum);
            }
        } else {
            const Mat4& m = worldOf(worldOf, i);
            for (std::size_t v = 0; v < pos.size() / 3; ++v) posed.points.push_back(transformPoint(m, {pos[3 * v], pos[3 * v + 1], pos[3 * v + 2]}));
        }
        out.push_back(std::move(posed));
    }
    return out;
}

}  // namespace gltftest
