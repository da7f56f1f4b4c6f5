// fuzz_mdc: valid MDC models of a few shapes and damaged twins.
// fuzz_skin: skin texts of every line form (the first byte picks the model name).
#include <cstddef>
#include <string>

#include "mkseeds/seeds.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"

namespace seeds {

namespace {

mg::MdcSurfaceDesc quad(const std::string& name, const std::string& shader) {
    mg::MdcSurfaceDesc d;
    d.name = name;
    d.shader = shader;
    d.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    d.texCoords = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    d.baseFrames = {{mg::baseVertex(0, 0, 0), mg::baseVertex(64, 0, 0), mg::baseVertex(64, 64, 0),
                     mg::baseVertex(0, 64, 0)}};
    return d;
}

}  // namespace

bool mdc(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const mg::Bytes& bytes) { ok &= mg::writeFile(dir + "/" + name, bytes); };
    write("sample.mdc", mg::writeMdc(mg::sampleMdc()).bytes);

    mg::MdcModel gapped = mg::sampleMdc();
    gapped.gapBeforeSurfaces = 16;
    gapped.surfaces[0].gapAfterHeader = 8;
    gapped.surfaces[0].gapAfter = 24;
    write("gapped.mdc", mg::writeMdc(gapped).bytes);
    // 500 surfaces sharing one list of 4000 triangles (2 million from 90 KB).
    write("shared_lists.mdc", mg::sharedListsMdc(500, 4000));

    mg::MdcModel six;
    six.name = "six";
    for (int s = 0; s < 6; ++s) six.surfaces.push_back(quad("s" + std::to_string(s), "models/players/fuzz/s.tga"));
    write("six_surfaces.mdc", mg::writeMdc(six).bytes);

    mg::MdcModel empty;
    empty.name = "empty";
    write("no_surfaces.mdc", mg::writeMdc(empty).bytes);

    mg::MdcModel wrong = mg::sampleMdc();
    wrong.ident = {'I', 'D', 'P', '3'};
    write("wrong_ident.mdc", mg::writeMdc(wrong).bytes);

    mg::MdcImage cut = mg::writeMdc(mg::sampleMdc());
    cut.bytes.resize(static_cast<std::size_t>(cut.surfaces[1].baseVertices));
    write("truncated.mdc", cut.bytes);

    mg::MdcImage far = mg::writeMdc(mg::sampleMdc());
    mg::put<std::uint16_t>(far.bytes, far.surfaces[0].frameBaseFrames, 9);  // a base frame not stored
    write("frame_table_outside.mdc", far.bytes);
    return ok;
}

bool skin(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, char model, const std::string& text) {
        ok &= mg::writeFile(dir + "/" + name, std::string(1, model) + text);
    };
    write("worked_example.skin", 0,
          "u_body,\"models/players/soldier/body_a.tga\"\n"
          "u_body,Models/Players/SOLDIER/Body_A.TGA\n"
          "md3_beltr,models/players/common/belt1.md3 //left\n"
          "U_Body,body_b.tga\n");
    write("crlf.skin", 3,
          "// head\r\nh_head,\"models/players/infantryss/head.tga\"\r\nmd3_hat,\"models/players/infantryss/acc/"
          "helmet.md3\"\r\nmd3_part,head");
    write("odd_lines.skin", 0,
          "\n\nno comma\n u_body,\".tga\"\nk,a,b,c\nq,\"open\nm,models/players/soldier\nn,soldier/\r\r\n,v\n");
    write("long.skin", 2, "md3_back," + std::string(3000, 'x') + ".md3\n" + std::string(2000, 'k') + ",v\n");
    write("empty.skin", 1, "");
    return ok;
}

}  // namespace seeds
