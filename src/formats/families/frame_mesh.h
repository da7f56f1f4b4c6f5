// The frame-mesh family (MDC, MD3): surfaces whose shaders, triangles and
// texture coordinates are the same records in both formats, and whose
// vertices each format stores per frame in its own way (MDC: base and
// compressed frames; MD3: one position and normal per vertex and frame).
#pragma once

#include <cstdint>
#include <string>

#include "formats/byte_view.h"
#include "formats/fields.h"
#include "formats/mdc_layout.h"
#include "formats/walker.h"

namespace formats {

struct FrameMeshSurface {
    std::int64_t at = 0;  // the surface header
    std::string name;
    ListAt shaders, triangles, texCoords;
    bool firstShaderName = false;  // the first shader's 64-byte name lies inside
    std::int64_t shaderAt = 0;     // where the shader list (and its first name) starts

    std::int64_t shader(std::int64_t k) const { return shaderAt + k * std::int64_t{sizeof(MdcShader)}; }
    std::int64_t shaderName() const { return shaderAt; }
    std::int64_t triangle(std::int64_t t) const { return triangles.at + t * std::int64_t{sizeof(MdcTriangle)}; }
    std::int64_t texCoord(std::int64_t k) const { return texCoords.at + k * std::int64_t{sizeof(MdcTexCoord)}; }
};

// The fields of a format's surface header that size and place those lists.
struct FrameMeshFields {
    FieldRef numShaders, offsetShaders, numTriangles, offsetTriangles, numVertices, offsetTexCoords;
};

// Walks the shaders, triangles and texture coordinates of the surface `out`
// (at, name set) whose record is labelled `rec`, each count checked right
// before the lists it sizes. The viewer reads the first shader's name
// whatever NumShaders says. True when NumVertices is a count the format's
// own vertex lists can use.
bool walkFrameMesh(Walker& w, const FrameMeshFields& fields, const std::string& rec, FrameMeshSurface& out);

}  // namespace formats
