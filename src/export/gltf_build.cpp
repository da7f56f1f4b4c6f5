#include "export/gltf_build.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "export/clip_steps.h"
#include "export/node_layout.h"

namespace exporter {

namespace {

using tinygltf::Accessor;

// Buffer 0 and the views and accessors into it.
class Bin {
public:
    explicit Bin(tinygltf::Model& m) : m_(m) {
        m_.buffers.emplace_back();
    }
    std::vector<unsigned char>& data() { return m_.buffers[0].data; }

    int view(const void* bytes, std::size_t size, int target = 0) {
        auto& d = data();
        d.resize((d.size() + 3) & ~std::size_t{3}, 0);
        tinygltf::BufferView v;
        v.buffer = 0;
        v.byteOffset = d.size();
        v.byteLength = size;
        v.target = target;
        const auto* p = static_cast<const unsigned char*>(bytes);
        d.insert(d.end(), p, p + size);
        m_.bufferViews.push_back(v);
        return static_cast<int>(m_.bufferViews.size() - 1);
    }

    // `values` floats of `width` components each; with bounds, their min and max.
    int floats(const std::vector<float>& values, int type, int width, bool bounds, int target = 0) {
        Accessor a;
        a.bufferView = view(values.data(), values.size() * sizeof(float), target);
        a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        a.type = type;
        a.count = values.size() / static_cast<std::size_t>(width);
        if (bounds) setBounds(a, values, width);
        return push(a);
    }

    template <class T>
    int integers(const std::vector<T>& values, int componentType, int type, std::size_t count, int target) {
        Accessor a;
        a.bufferView = view(values.data(), values.size() * sizeof(T), target);
        a.componentType = componentType;
        a.type = type;
        a.count = count;
        return push(a);
    }

    int push(const Accessor& a) {
        m_.accessors.push_back(a);
        return static_cast<int>(m_.accessors.size() - 1);
    }

    static void setBounds(Accessor& a, const std::vector<float>& values, int width) {
        const auto w = static_cast<std::size_t>(width);
        a.minValues.assign(w, 0.0);
        a.maxValues.assign(w, 0.0);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double v = values[i];
            if (i < w || v < a.minValues[i % w]) a.minValues[i % w] = v;
            if (i < w || v > a.maxValues[i % w]) a.maxValues[i % w] = v;
        }
    }

private:
    tinygltf::Model& m_;
};

int indexAccessor(Bin& bin, const std::vector<std::uint32_t>& gameIndices, std::uint32_t numVertices) {
    // The game's fronts are clockwise: two indices swap per triangle.
    std::vector<std::uint32_t> ccw(gameIndices.size());
    for (std::size_t t = 0; t + 2 < gameIndices.size(); t += 3) {
        ccw[t] = gameIndices[t];
        ccw[t + 1] = gameIndices[t + 2];
        ccw[t + 2] = gameIndices[t + 1];
    }
    if (numVertices <= 65535) {
        std::vector<std::uint16_t> narrow(ccw.begin(), ccw.end());
        return bin.integers(narrow, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_SCALAR, narrow.size(),
                            TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    }
    return bin.integers(ccw, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR, ccw.size(),
                        TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
}

tinygltf::Value number(double v) { return tinygltf::Value(v); }
tinygltf::Value text(const std::string& s) { return tinygltf::Value(s); }

class Builder {
public:
    Builder(const Asset& asset, const ExportOptions& o, tinygltf::Model& m, ExportReport& r)
        : a_(asset), o_(o), m_(m), r_(r), bin_(m), layout_(asset) {}

    bool build(std::string& error) {
        const bool pair = !a_.clips.empty() && a_.clips[0].torso && a_.skeleton;
        if (const std::uint32_t steps = pair ? ClipSteps(a_, a_.clips[0]).count() : 0; pair && o_.frame >= steps) {
            error = "step " + std::to_string(o_.frame) + " is past the pair's " + std::to_string(steps) + " steps (0 to " +
                    std::to_string(steps - 1) + ")";
            return false;
        }
        if (!pair && o_.frame >= a_.numFrames()) {
            error = "frame " + std::to_string(o_.frame) + " is past the model's " + std::to_string(a_.numFrames()) +
                    " frames (0 to " + std::to_string(a_.numFrames() - 1) + ")";
            return false;
        }
        if (a_.skeleton && o_.bindFrame && *o_.bindFrame >= a_.skeleton->numFrames) {
            error = "--bind-frame " + std::to_string(*o_.bindFrame) + " is past the skeleton's " +
                    std::to_string(a_.skeleton->numFrames) + " frames";
            return false;
        }
        m_.asset.version = "2.0";
        m_.asset.generator = o_.generator;
        materials();
        if (pair)
            ClipSteps(a_, a_.clips[0]).pose(o_.frame, defaultState_.bones);
        else
            state(o_.frame, defaultState_);
        if (a_.skeleton && !a_.skinned.empty()) skinnedMeshes();
        frameMeshes();
        nodes();
        animations();
        tinygltf::Scene scene;
        scene.name = a_.name;
        for (std::size_t n = 0; n < m_.nodes.size(); ++n)
            if (layout_.nodes()[n].parent < 0) scene.nodes.push_back(static_cast<int>(n));
        tinygltf::Value::Object extras;
        extras["scale"] = number(o_.scale);
        if (r_.skinned) {
            extras["bindFrame"] = number(r_.bind.frame);
            extras["bindResidual"] = number(r_.bind.residual);
        }
        scene.extras = tinygltf::Value(extras);
        m_.scenes.push_back(scene);
        m_.defaultScene = 0;
        r_.nodes = m_.nodes.size();
        r_.meshes = m_.meshes.size();
        r_.animations = m_.animations.size();
        return true;
    }

private:
    void state(std::uint32_t frame, PoseState& out) const {
        if (a_.skeleton) a_.skeleton->pose(frame, out.bones);
        out.modelFrame = frame;
    }

    void materials() {
        if (a_.materials.empty()) return;
        tinygltf::Sampler sampler;
        sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
        sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
        sampler.wrapS = sampler.wrapT = TINYGLTF_TEXTURE_WRAP_REPEAT;
        m_.samplers.push_back(sampler);
        for (std::size_t i = 0; i < a_.images.size(); ++i) {
            const Image& in = a_.images[i];
            tinygltf::Image image;
            image.name = in.name;
            if (o_.imageUris.empty()) {
                image.bufferView = bin_.view(in.bytes.data(), in.bytes.size());
                image.mimeType = in.mimeType;
            } else {
                image.uri = o_.imageUris[i];
            }
            m_.images.push_back(image);
            tinygltf::Texture texture;
            texture.sampler = 0;
            texture.source = static_cast<int>(i);
            m_.textures.push_back(texture);
        }
        // Plain lit materials: the viewer draws unlit, but a client that
        // knows KHR_materials_unlit may then drop the texture (f3d 1.3 does).
        for (const Material& in : a_.materials) {
            tinygltf::Material mat;
            mat.name = in.name;
            mat.pbrMetallicRoughness.metallicFactor = 0.0;
            mat.pbrMetallicRoughness.roughnessFactor = 1.0;
            if (in.image >= 0) mat.pbrMetallicRoughness.baseColorTexture.index = in.image;
            m_.materials.push_back(mat);
        }
    }

    int addMesh(const std::string& name, tinygltf::Primitive primitive, std::vector<double> weights = {}) {
        tinygltf::Mesh mesh;
        mesh.name = name;
        mesh.primitives.push_back(std::move(primitive));
        mesh.weights = std::move(weights);
        m_.meshes.push_back(std::move(mesh));
        return static_cast<int>(m_.meshes.size() - 1);
    }

    void skinnedMeshes() {
        const Skeleton& s = *a_.skeleton;
        r_.skinned = true;
        r_.bind = o_.bindFrame ? bindFrameAt(a_, *o_.bindFrame) : chooseBindFrame(a_);
        PoseState bind;
        state(r_.bind.frame, bind);
        const bool wideJoints = s.size() > 256;
        for (const SkinnedSurface& surface : a_.skinned) {
            const std::uint32_t n = surface.numVertices();
            if (n == 0 || surface.indices.empty()) continue;
            std::vector<float> positions(3 * std::size_t{n}), normals(3 * std::size_t{n});
            for (std::uint32_t v = 0; v < n; ++v) {
                double p[3];
                weightedPoint(surface, v, bind.bones, p);
                float out[3];
                gltfPoint(p, o_.scale, out);
                std::memcpy(&positions[3 * std::size_t{v}], out, sizeof out);
                // The normal turns with the vertex's first bone.
                const float* in = &surface.normals[3 * std::size_t{v}];
                double nv[3] = {in[0], in[1], in[2]};
                const std::uint32_t first = surface.weightStart[v];
                if (first < surface.weightStart[v + 1]) {
                    const std::int32_t b = surface.weights[first].bone;
                    if (b >= 0 && static_cast<std::size_t>(b) < bind.bones.size()) {
                        const auto& t = bind.bones[static_cast<std::size_t>(b)].turn;
                        for (int i = 0; i < 3; ++i) nv[i] = t[i][0] * in[0] + t[i][1] * in[1] + t[i][2] * in[2];
                    }
                }
                gltfVector(nv, out);
                std::memcpy(&normals[3 * std::size_t{v}], out, sizeof out);
            }
            tinygltf::Primitive prim;
            prim.mode = TINYGLTF_MODE_TRIANGLES;
            prim.material = surface.material;
            prim.attributes["POSITION"] = bin_.floats(positions, TINYGLTF_TYPE_VEC3, 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
            prim.attributes["NORMAL"] = bin_.floats(normals, TINYGLTF_TYPE_VEC3, 3, false, TINYGLTF_TARGET_ARRAY_BUFFER);
            prim.attributes["TEXCOORD_0"] =
                bin_.floats(surface.texCoords, TINYGLTF_TYPE_VEC2, 2, false, TINYGLTF_TARGET_ARRAY_BUFFER);
            const VertexWeights vw = vertexWeights(surface, s.size(), o_.weightsPerVertex, r_.loss);
            for (int set = 0; set * 4 < vw.perVertex; ++set) {
                std::vector<float> weights;
                std::vector<std::uint16_t> joints;
                for (std::uint32_t v = 0; v < n; ++v)
                    for (int k = 0; k < 4; ++k) {
                        const std::size_t at = static_cast<std::size_t>(vw.perVertex) * v + static_cast<std::size_t>(4 * set + k);
                        weights.push_back(vw.weights[at]);
                        joints.push_back(vw.joints[at]);
                    }
                const std::string suffix = "_" + std::to_string(set);
                prim.attributes["WEIGHTS" + suffix] =
                    bin_.floats(weights, TINYGLTF_TYPE_VEC4, 4, false, TINYGLTF_TARGET_ARRAY_BUFFER);
                if (wideJoints) {
                    prim.attributes["JOINTS" + suffix] = bin_.integers(
                        joints, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_VEC4, n, TINYGLTF_TARGET_ARRAY_BUFFER);
                } else {
                    std::vector<std::uint8_t> narrow(joints.begin(), joints.end());
                    prim.attributes["JOINTS" + suffix] = bin_.integers(
                        narrow, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_TYPE_VEC4, n, TINYGLTF_TARGET_ARRAY_BUFFER);
                }
            }
            prim.indices = indexAccessor(bin_, surface.indices, n);
            skinnedNodes_.push_back({addMesh(surface.name, std::move(prim)), surface.name});
        }
        // One joint per bone; the inverse bind matrices from the bind frame.
        std::vector<float> matrices(16 * s.size());
        for (std::size_t b = 0; b < s.size(); ++b) {
            float m[16];
            gltfInverseMatrix(poseOf(bind.bones[b]), o_.scale, m);
            std::memcpy(&matrices[16 * b], m, sizeof m);
        }
        tinygltf::Skin skin;
        skin.name = a_.name;
        skin.skeleton = layout_.armature();
        for (std::size_t b = 0; b < s.size(); ++b) skin.joints.push_back(static_cast<int>(b));
        skin.inverseBindMatrices = bin_.floats(matrices, TINYGLTF_TYPE_MAT4, 16, false);
        m_.skins.push_back(skin);
    }

    void frameMeshes() {
        for (std::size_t mi = 0; mi < a_.models.size(); ++mi) {
            const FrameModel& model = a_.models[mi];
            const bool morphs = model.followsClips && model.numFrames > 1;
            const std::uint32_t base = morphs ? 0 : layout_.frameOf(static_cast<int>(mi), defaultState_);
            for (const FrameSurface& surface : model.surfaces) {
                const std::uint32_t n = surface.numVertices();
                if (n == 0 || surface.indices.empty()) continue;
                const auto frameOf = [&](const std::vector<float>& all, std::uint32_t f) {
                    std::vector<float> out(3 * std::size_t{n});
                    for (std::uint32_t v = 0; v < n; ++v) {
                        const float* in = &all[3 * (std::size_t{f} * n + v)];
                        const double p[3] = {in[0], in[1], in[2]};
                        float g[3];
                        if (&all == &surface.positions)
                            gltfPoint(p, o_.scale, g);
                        else
                            gltfVector(p, g);
                        std::memcpy(&out[3 * std::size_t{v}], g, sizeof g);
                    }
                    return out;
                };
                const std::vector<float> positions = frameOf(surface.positions, base);
                const std::vector<float> normals = frameOf(surface.normals, base);
                tinygltf::Primitive prim;
                prim.mode = TINYGLTF_MODE_TRIANGLES;
                prim.material = surface.material;
                prim.attributes["POSITION"] = bin_.floats(positions, TINYGLTF_TYPE_VEC3, 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
                prim.attributes["NORMAL"] = bin_.floats(normals, TINYGLTF_TYPE_VEC3, 3, false, TINYGLTF_TARGET_ARRAY_BUFFER);
                prim.attributes["TEXCOORD_0"] =
                    bin_.floats(surface.texCoords, TINYGLTF_TYPE_VEC2, 2, false, TINYGLTF_TARGET_ARRAY_BUFFER);
                prim.indices = indexAccessor(bin_, surface.indices, n);
                std::vector<double> weights;
                if (morphs) {
                    // Target k - 1 holds frame k as a difference from frame 0.
                    for (std::uint32_t f = 1; f < model.numFrames; ++f) {
                        std::vector<float> dp = frameOf(surface.positions, f), dn = frameOf(surface.normals, f);
                        for (std::size_t i = 0; i < dp.size(); ++i) {
                            dp[i] -= positions[i];
                            dn[i] -= normals[i];
                        }
                        std::map<std::string, int> target;
                        target["POSITION"] = bin_.floats(dp, TINYGLTF_TYPE_VEC3, 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
                        target["NORMAL"] = bin_.floats(dn, TINYGLTF_TYPE_VEC3, 3, false, TINYGLTF_TARGET_ARRAY_BUFFER);
                        prim.targets.push_back(std::move(target));
                    }
                    weights.assign(model.numFrames - 1, 0.0);
                    if (o_.frame > 0 && o_.frame < model.numFrames) weights[o_.frame - 1] = 1.0;
                    r_.morphTargets += model.numFrames - 1;
                }
                const int mesh = addMesh(surface.name, std::move(prim), std::move(weights));
                frameNodes_.push_back({static_cast<int>(mi), mesh, surface.name, morphs});
            }
        }
    }

    void nodes() {
        for (const auto& s : skinnedNodes_) layout_.add({Node::Kind::Surface, s.mesh, -1, -1, s.name});
        for (const auto& f : frameNodes_)
            morphNodes_.push_back(
                layout_.add({Node::Kind::Surface, f.mesh, -1, layout_.modelNode(f.model), f.name}));
        std::vector<Xf> locals;
        layout_.locals(defaultState_, locals);
        const auto& all = layout_.nodes();
        m_.nodes.resize(all.size());
        for (std::size_t n = 0; n < all.size(); ++n) {
            tinygltf::Node& node = m_.nodes[n];
            node.name = all[n].name;
            if (all[n].parent >= 0) m_.nodes[static_cast<std::size_t>(all[n].parent)].children.push_back(static_cast<int>(n));
            if (all[n].kind == Node::Kind::Surface) {
                node.mesh = all[n].index;
                if (all[n].parent < 0 && r_.skinned) node.skin = 0;
                continue;
            }
            if (all[n].kind == Node::Kind::Armature) continue;
            const Trs trs = gltfTrs(locals[n], o_.scale);
            node.translation.assign(trs.t, trs.t + 3);
            node.rotation.assign(trs.q, trs.q + 4);
            defaults_.push_back(trs);
        }
    }

    // Per clip: every moving node's translation and rotation at each step;
    // a node that never moves (within float noise) gets no channel at all,
    // one that stands still within a clip a single key there.
    void animations() {
        const auto& all = layout_.nodes();
        const std::size_t moving = defaults_.size();  // nodes that are not surfaces or the armature come first
        std::vector<std::vector<Trs>> clips(a_.clips.size());
        std::vector<char> varies(all.size(), 0);
        std::vector<Xf> locals;
        PoseState st;
        for (std::size_t c = 0; c < a_.clips.size(); ++c) {
            const ClipSteps steps(a_, a_.clips[c]);
            clips[c].reserve(std::size_t{steps.count()} * moving);
            for (std::uint32_t k = 0; k < steps.count(); ++k) {
                if (a_.skeleton) steps.pose(k, st.bones);
                st.modelFrame = steps.frameAt(k);
                layout_.locals(st, locals);
                std::size_t slot = 0;
                for (std::size_t n = 0; n < all.size() && slot < moving; ++n) {
                    if (all[n].kind == Node::Kind::Surface || all[n].kind == Node::Kind::Armature) continue;
                    Trs trs = gltfTrs(locals[n], o_.scale);
                    const Trs& before = k > 0 ? clips[c][clips[c].size() - moving] : defaults_[slot];
                    const float dot = trs.q[0] * before.q[0] + trs.q[1] * before.q[1] + trs.q[2] * before.q[2] +
                                      trs.q[3] * before.q[3];
                    if (dot < 0.0f)
                        for (float& q : trs.q) q = -q;
                    if (!same(trs, defaults_[slot])) varies[n] = 1;
                    clips[c].push_back(trs);
                    ++slot;
                }
            }
        }
        for (std::size_t c = 0; c < a_.clips.size(); ++c) animation(a_.clips[c], clips[c], varies, moving);
    }

    static bool same(const Trs& a, const Trs& b) {
        for (int i = 0; i < 3; ++i)
            if (std::fabs(a.t[i] - b.t[i]) > 1e-6f * (1.0f + std::fabs(b.t[i]))) return false;
        for (int i = 0; i < 4; ++i)
            if (std::fabs(a.q[i] - b.q[i]) > 1e-6f) return false;
        return true;
    }

    void animation(const Clip& clip, const std::vector<Trs>& steps, const std::vector<char>& varies, std::size_t moving) {
        const ClipSteps keys(a_, clip);
        const std::uint32_t count = keys.count();
        if (count == 0) return;
        tinygltf::Animation anim;
        anim.name = clip.torso ? "legs_" + clip.name + "+torso_" + clip.torso->name : clip.name;
        std::vector<float> times(count);
        for (std::uint32_t k = 0; k < count; ++k) times[k] = static_cast<float>(keys.seconds(k));
        const int input = bin_.floats(times, TINYGLTF_TYPE_SCALAR, 1, true);
        int still = -1;  // one key at 0
        const auto stillInput = [&] {
            if (still < 0) still = bin_.floats({0.0f}, TINYGLTF_TYPE_SCALAR, 1, true);
            return still;
        };
        const auto& all = layout_.nodes();
        std::size_t slot = 0;
        for (std::size_t n = 0; n < all.size() && slot < moving; ++n) {
            if (all[n].kind == Node::Kind::Surface || all[n].kind == Node::Kind::Armature) continue;
            const std::size_t s = slot++;
            if (!varies[n]) continue;
            for (const bool rotation : {false, true}) {
                std::vector<float> values;
                bool constant = true;
                for (std::uint32_t k = 0; k < count; ++k) {
                    const Trs& t = steps[std::size_t{k} * moving + s];
                    if (k > 0 && !same(t, steps[s])) constant = false;
                    if (rotation)
                        values.insert(values.end(), t.q, t.q + 4);
                    else
                        values.insert(values.end(), t.t, t.t + 3);
                }
                if (constant) values.resize(rotation ? 4 : 3);
                channel(anim, constant ? stillInput() : input,
                        bin_.floats(values, rotation ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3, rotation ? 4 : 3, false),
                        static_cast<int>(n), rotation ? "rotation" : "translation");
            }
        }
        if (!clip.torso) morphChannels(anim, clip, input);
        if (anim.channels.empty()) return;
        tinygltf::Value::Object extras;
        if (clip.torso) {
            for (const Row* row : {static_cast<const Row*>(&clip), &*clip.torso}) {
                tinygltf::Value::Object part = rowExtras(*row).Get<tinygltf::Value::Object>();
                part["name"] = text(row->name);
                part["skeleton"] = text(a_.skeletonOf(row->skeleton).shown);
                extras[row == &clip ? "legs" : "torso"] = tinygltf::Value(part);
            }
            extras["fps"] = number(keys.fps());
            extras["steps"] = number(count);
            const auto& x = clip.torsoAxis;
            if (x[0][0] != 1.0f || x[1][1] != 1.0f || x[2][2] != 1.0f) {
                tinygltf::Value::Array rows;
                for (const auto& row : x)
                    for (const float v : row) rows.push_back(number(v));
                extras["torsoAxis"] = tinygltf::Value(rows);
            }
            anim.extras = tinygltf::Value(extras);
            m_.animations.push_back(std::move(anim));
            return;
        }
        extras = rowExtras(clip).Get<tinygltf::Value::Object>();
        if (clip.skeleton > 0) extras["skeleton"] = text(a_.skeletonOf(clip.skeleton).shown);
        for (const FrameModel& model : a_.models) {
            if (!model.followsClips) continue;
            tinygltf::Value::Array names;
            for (std::uint32_t k = 0; k < clip.numFrames; ++k) {
                const std::uint32_t f = clip.frameAt(k);
                names.push_back(text(f < model.frameNames.size() ? model.frameNames[f] : std::string()));
            }
            extras["frameNames"] = tinygltf::Value(names);
            break;
        }
        anim.extras = tinygltf::Value(extras);
        m_.animations.push_back(std::move(anim));
    }

    // A row's frames, loop, speed and where it was read, as extras.
    static tinygltf::Value rowExtras(const Row& row) {
        tinygltf::Value::Object extras;
        extras["firstFrame"] = number(row.firstFrame);
        extras["numFrames"] = number(row.numFrames);
        extras["loopFrames"] = number(row.loopFrames);
        extras["fps"] = number(row.fps);
        if (row.reversed) extras["reversed"] = tinygltf::Value(true);
        if (!row.source.empty()) extras["source"] = text(row.source);
        return tinygltf::Value(extras);
    }

    void channel(tinygltf::Animation& anim, int input, int output, int node, const char* path) {
        tinygltf::AnimationSampler sampler;
        sampler.input = input;
        sampler.output = output;
        sampler.interpolation = "LINEAR";
        anim.samplers.push_back(sampler);
        tinygltf::AnimationChannel ch;
        ch.sampler = static_cast<int>(anim.samplers.size() - 1);
        ch.target_node = node;
        ch.target_path = path;
        anim.channels.push_back(ch);
    }

    // The frames of a model that follows the clips, as weights of its
    // targets: at each step only the target of that step's frame is 1
    // (frame 0 has none). Sparse: the values are one per step at most. One
    // accessor serves every surface of the model.
    void morphChannels(tinygltf::Animation& anim, const Clip& clip, int input) {
        std::map<int, int> outputs;  // model -> accessor
        for (std::size_t i = 0; i < frameNodes_.size(); ++i) {
            const FrameNode& f = frameNodes_[i];
            if (!f.morphs) continue;
            auto found = outputs.find(f.model);
            if (found == outputs.end()) {
                const std::uint32_t targets = a_.models[static_cast<std::size_t>(f.model)].numFrames - 1;
                std::vector<std::uint32_t> at;
                std::vector<float> ones;
                for (std::uint32_t k = 0; k < clip.numFrames; ++k) {
                    const std::uint32_t frame = clip.frameAt(k);
                    if (frame == 0 || frame > targets) continue;
                    at.push_back(k * targets + frame - 1);
                    ones.push_back(1.0f);
                }
                Accessor a;
                a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
                a.type = TINYGLTF_TYPE_SCALAR;
                a.count = std::size_t{clip.numFrames} * targets;
                if (!at.empty()) {
                    a.sparse.isSparse = true;
                    a.sparse.count = static_cast<int>(at.size());
                    a.sparse.indices.bufferView = bin_.view(at.data(), at.size() * sizeof(std::uint32_t));
                    a.sparse.indices.byteOffset = 0;
                    a.sparse.indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
                    a.sparse.values.bufferView = bin_.view(ones.data(), ones.size() * sizeof(float));
                    a.sparse.values.byteOffset = 0;
                } else {
                    std::vector<float> zeros(a.count, 0.0f);
                    a.bufferView = bin_.view(zeros.data(), zeros.size() * sizeof(float));
                }
                found = outputs.emplace(f.model, bin_.push(a)).first;
            }
            channel(anim, input, found->second, morphNodes_[i], "weights");
        }
    }

    struct SkinnedNode {
        int mesh;
        std::string name;
    };
    struct FrameNode {
        int model, mesh;
        std::string name;
        bool morphs;
    };

    const Asset& a_;
    const ExportOptions& o_;
    tinygltf::Model& m_;
    ExportReport& r_;
    Bin bin_;
    NodeLayout layout_;
    PoseState defaultState_;
    std::vector<SkinnedNode> skinnedNodes_;
    std::vector<FrameNode> frameNodes_;
    std::vector<int> morphNodes_;
    std::vector<Trs> defaults_;
};

}  // namespace

bool buildGltf(const Asset& asset, const ExportOptions& options, tinygltf::Model& model, ExportReport& report,
               std::string& error) {
    model = tinygltf::Model();
    report = ExportReport();
    return Builder(asset, options, model, report).build(error);
}

}  // namespace exporter
