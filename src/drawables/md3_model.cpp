#include "drawables/md3_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "drawables/model_file.h"
#include "skin/names.h"
#include "skin/texture_cache.h"
#include "skin/texture_loader.h"

namespace drawables {

bool Md3Model::load(const std::string& path, std::string& error) {
    formats::Format format = formats::Format::Md3;
    if (!readModelFile(path, format, bytes_, error)) return false;
    const formats::ByteView bytes(bytes_.data(), bytes_.size());
    index_ = formats::indexMd3(bytes, formats::Reader::Draw);
    if (!index_.ok() || !index_.readable) {
        error = path + ": damaged: " + (index_.refusal ? index_.refusal->message : std::string("not an MD3 file"));
        return false;
    }
    if (index_.header.NumFrames < 1) {
        error = path + ": an MD3 model needs at least one frame";
        return false;
    }
    for (const formats::Md3SurfaceIndex& s : index_.surfaces) {
        Surface out;
        const std::int64_t n = s.numVertices();
        const bool usable = s.triangles.inside && s.texCoords.inside && s.xyzNormals.inside && n > 0 &&
                            s.texCoords.count >= n;
        std::vector<formats::Triangle> triangles;
        if (usable) {
            out.frames = static_cast<std::uint32_t>(std::min<std::int64_t>(s.xyzNormals.count / n, 0xFFFFFFFF));
            out.uv.resize(static_cast<std::size_t>(2 * n));
            for (std::int64_t k = 0; k < n; ++k) {
                const auto st = bytes.read<formats::Md3TexCoord>(s.texCoord(k));
                std::memcpy(&out.uv[static_cast<std::size_t>(2 * k)], &st, sizeof(float) * 2);
            }
            for (std::int64_t t = 0; t < s.triangles.count; ++t) {
                const auto tri = bytes.read<formats::Md3Triangle>(s.triangle(t));
                formats::Triangle c;
                std::memcpy(c.data(), &tri, sizeof c);
                if (std::all_of(c.begin(), c.end(), [n](std::int32_t v) { return v >= 0 && v < n; }))
                    triangles.push_back(c);
            }
        }
        if (out.frames == 0) triangles.clear();
        const bool drawn = buffers_.add(out.frames ? static_cast<std::uint32_t>(n) : 0,
                                        static_cast<std::uint32_t>(triangles.size()));
        if (drawn) buffers_.writeTriangles(buffers_.size() - 1, triangles);
        surfaces_.push_back(std::move(out));
    }
    setFrame(0);
    return true;
}

std::uint32_t Md3Model::numFrames() const {
    return index_.readable && index_.header.NumFrames > 0 ? static_cast<std::uint32_t>(index_.header.NumFrames) : 0;
}

void Md3Model::setFrame(std::uint32_t frame, std::uint32_t next, float lerp) {
    const std::uint32_t last = numFrames() ? numFrames() - 1 : 0;
    frame_ = std::min(frame, last);
    next_ = std::min(next, last);
    lerp_ = std::clamp(lerp, 0.0f, 1.0f);
    const formats::ByteView bytes(bytes_.data(), bytes_.size());
    for (std::size_t i = 0; i < surfaces_.size(); ++i) {
        Surface& s = surfaces_[i];
        if (s.frames == 0) continue;
        const formats::Md3SurfaceIndex& x = index_.surfaces[i];
        const std::int64_t n = x.numVertices();
        const std::uint32_t a = std::min(frame_, s.frames - 1), b = std::min(next_, s.frames - 1);
        s.at.resize(static_cast<std::size_t>(3 * n));
        std::vector<ModelVertex> vertices(static_cast<std::size_t>(n));
        for (std::int64_t k = 0; k < n; ++k) {
            const auto p = bytes.read<formats::Md3XyzNormal>(x.xyzNormal(a, k));
            float* at = &s.at[static_cast<std::size_t>(3 * k)];
            for (int c = 0; c < 3; ++c) at[c] = static_cast<float>(p.xyz[c]) * formats::kMd3VertexScale;
            if (lerp_ > 0.0f) {
                const auto q = bytes.read<formats::Md3XyzNormal>(x.xyzNormal(b, k));
                for (int c = 0; c < 3; ++c)
                    at[c] += lerp_ * (static_cast<float>(q.xyz[c]) * formats::kMd3VertexScale - at[c]);
            }
            const auto kk = static_cast<std::size_t>(k);
            vertices[kk] = {-at[1], at[2], at[0], surfaceColor(static_cast<std::uint32_t>(i)), s.uv[2 * kk],
                            s.uv[2 * kk + 1]};
        }
        buffers_.writeVertices(i, vertices);
    }
}

bool Md3Model::tag(const std::string& name, Orientation& out) const {
    if (!index_.tags.inside || index_.header.NumTags <= 0) return false;
    const formats::ByteView bytes(bytes_.data(), bytes_.size());
    for (std::int32_t t = 0; t < index_.header.NumTags; ++t) {
        const auto a = bytes.read<formats::Md3Tag>(index_.tag(frame_, t));
        if (formats::nameOf(a.Name) != name) continue;
        const auto b = bytes.read<formats::Md3Tag>(index_.tag(next_, t));
        const float l = lerp_;
        for (int c = 0; c < 3; ++c) out.origin[c] = a.Origin[c] + l * (b.Origin[c] - a.Origin[c]);
        for (int r = 0; r < 3; ++r) {
            float len = 0.0f;
            for (int c = 0; c < 3; ++c) {
                out.axis[r][c] = a.Axis[3 * r + c] + l * (b.Axis[3 * r + c] - a.Axis[3 * r + c]);
                len += out.axis[r][c] * out.axis[r][c];
            }
            if (l > 0.0f && len > 0.0f)
                for (float& v : out.axis[r]) v /= std::sqrt(len);
        }
        return true;
    }
    return false;
}

std::vector<std::string> Md3Model::skinKeys() const {
    std::vector<std::string> keys;
    for (const formats::Md3SurfaceIndex& s : index_.surfaces) {
        std::string key = skin::lowered(s.name.c_str());
        if (key.size() > 2 && key[key.size() - 2] == '_') key.resize(key.size() - 2);
        keys.push_back(key);
    }
    return keys;
}

void Md3Model::shaderTextures(skin::TextureCache& cache, const char* modelName, const char* dir) {
    const formats::ByteView bytes(bytes_.data(), bytes_.size());
    std::vector<std::string> shaders;
    for (const formats::Md3SurfaceIndex& s : index_.surfaces) {
        std::string name;
        if (s.firstShaderName && s.shaders.count > 0) {
            const auto shader = bytes.read<formats::Md3Shader>(s.shaderName());
            name = formats::nameOf(shader.Name);
        }
        shaders.push_back(name);
    }
    skin::texturesFromShaders(cache, modelName, dir, shaders, buffers_.textures());
    buffers_.setTextured();
}

void Md3Model::skinTextures(skin::TextureCache& cache, const char* dir, const Skin* skin) {
    skin::texturesFromSkin(cache, dir, skin, skinKeys(), buffers_.textures());
    buffers_.setTextured();
}

void Md3Model::draw(IDirect3DDevice8* device) { buffers_.draw(device, worldMatrix(placement)); }

void Md3Model::addBounds(scene::Box& box) const {
    for (const Surface& s : surfaces_)
        for (std::size_t k = 0; k + 2 < s.at.size(); k += 3) {
            const float p[3] = {s.at[k], s.at[k + 1], s.at[k + 2]};
            float w[3];
            placement.place(p, w);
            box.add(w[0], w[1], w[2]);
        }
}

}  // namespace drawables
