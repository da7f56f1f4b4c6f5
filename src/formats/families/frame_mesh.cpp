#include "formats/families/frame_mesh.h"

namespace formats {

namespace {

std::int32_t field(const Walker& w, std::int64_t at, FieldRef f) { return w.bytes().read<std::int32_t>(at + f.offset); }

}  // namespace

bool walkFrameMesh(Walker& w, const FrameMeshFields& f, const std::string& rec, FrameMeshSurface& out) {
    const std::int64_t s = out.at;
    const auto count = [&](Need need, FieldRef ref) {
        return !w.stopped() && w.count(need, field(w, s, ref), rec, ref, s);
    };
    const std::int32_t numShaders = field(w, s, f.numShaders);
    out.shaderAt = s + field(w, s, f.offsetShaders);
    const bool counted = count(Need::Print, f.numShaders);
    if (w.stopped()) return false;
    out.firstShaderName = w.bytes().has(out.shaderAt, kNameLength);
    if (counted) {
        out.shaders = w.list(out.firstShaderName ? Need::Print : Need::Draw, out.shaderAt, numShaders,
                             sizeof(MdcShader), "shaders", rec, f.offsetShaders, s);
        if (out.shaders.inside && w.collecting())
            for (std::int64_t k = 0; k < out.shaders.count; ++k)
                w.name(out.shader(k), kNameLength, rec + strf(" shader %lld .Name", static_cast<long long>(k)), "names");
    }
    if ((!counted || numShaders == 0) && !out.firstShaderName)
        w.fail(Need::Draw, Id::RecordOutside, rec + " " + f.offsetShaders.name, s + f.offsetShaders.offset,
               strf("the first shader's name at %s does not lie inside the file of %s bytes",
                    hex(out.shaderAt).c_str(), hex(w.size()).c_str()));
    if (count(Need::Draw, f.numTriangles))
        out.triangles = w.list(Need::Draw, s + field(w, s, f.offsetTriangles), field(w, s, f.numTriangles),
                               sizeof(MdcTriangle), "triangles", rec, f.offsetTriangles, s);
    const bool verts = count(Need::Draw, f.numVertices);
    if (verts && !w.stopped()) {
        out.texCoords = w.list(Need::Draw, s + field(w, s, f.offsetTexCoords), field(w, s, f.numVertices),
                               sizeof(MdcTexCoord), "texture coordinates", rec, f.offsetTexCoords, s);
        if (out.texCoords.inside && w.collecting())
            for (std::int64_t v = 0; v < out.texCoords.count; ++v)
                w.values<MdcTexCoord>(out.texCoord(v), rec + strf(" texture coordinate %lld", static_cast<long long>(v)),
                                      rec + " texture coordinates");
    }
    return verts;
}

}  // namespace formats
