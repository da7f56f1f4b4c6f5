// fuzz_md3, fuzz_mdm, fuzz_mdx: the sibling game's formats. Each gets its
// sample files (the MD3 head and a LOD file; the demo body split into MDM
// and MDX), a layout with gaps in another section order, damaged twins,
// and the amplifying shapes of modelgen/amplify.h at a few hundred KB.
#include <cstddef>
#include <string>

#include "mkplayer/split_body.h"
#include "mkseeds/seeds.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"

namespace seeds {

namespace {

struct Out {
    std::string dir;
    bool ok = true;
    void operator()(const std::string& name, const mg::Bytes& bytes) {
        ok = mg::writeFile(dir + "/" + name, bytes) && ok;
    }
};

template <class Image>
mg::Bytes cut(Image img, std::int64_t at) {
    img.bytes.resize(static_cast<std::size_t>(at));
    return img.bytes;
}

}  // namespace

bool md3(const std::string& dir) {
    Out write{dir};
    write("head.md3", mg::writeMd3(mg::sampleMd3()).bytes);
    write("head_3.md3", mg::writeMd3(mg::sampleMd3(3)).bytes);
    mg::Md3Model gapped = mg::sampleMd3(2);
    gapped.order = {mg::Md3Section::Surfaces, mg::Md3Section::Tags, mg::Md3Section::Frames};
    gapped.gapBefore = {8, 4, 12};
    gapped.surfaces[1].gapAfterHeader = 16;
    write("gapped.md3", mg::writeMd3(gapped).bytes);

    write("truncated.md3", cut(mg::writeMd3(mg::sampleMd3()), 3000));
    mg::Md3Model damaged = mg::sampleMd3(1);
    damaged.version = 16;
    write("version16.md3", mg::writeMd3(damaged).bytes);
    damaged = mg::sampleMd3(1);
    damaged.surfaces[0].numFrames = 9;         // more frames than the header's
    damaged.surfaces[1].numVertices = 100000;  // positions past the end
    damaged.surfaces[1].triangles[0].Indices[2] = 500;
    write("surface_counts.md3", mg::writeMd3(damaged).bytes);
    damaged = mg::sampleMd3(1);
    damaged.surfaces[0].offsetEnd = 1 << 24;
    write("surface_end_outside.md3", mg::writeMd3(damaged).bytes);

    // 600 surfaces sharing 8000 triangles and 16 frames (170 KB), one
    // header named 100000 times.
    write("shared_lists.md3", mg::sharedListsMd3(600, 8000, 16));
    write("shared_header.md3", mg::sharedHeaderMd3(100000));
    return write.ok;
}

bool mdm(const std::string& dir) {
    Out write{dir};
    const mg::MdmModel body = mp::bodyMdm();
    write("body.mdm", mg::writeMdm(body).bytes);
    write("small.mdm", mg::sharedListsMdm(1, 2));
    mg::MdmModel gapped = body;
    gapped.order = {mg::MdmSection::Tags, mg::MdmSection::Surfaces};
    gapped.gapBefore = {8, 4};
    gapped.surfaces[0].gapAfter = 12;
    gapped.tags[0].gapAfter = 4;
    write("gapped.mdm", mg::writeMdm(gapped).bytes);

    const mg::MdmImage img = mg::writeMdm(body);
    write("truncated.mdm", cut(img, img.surfaces[1].triangles + 6));
    mg::MdmModel damaged = body;
    damaged.version = 2;
    write("version2.mdm", mg::writeMdm(damaged).bytes);
    damaged = body;
    damaged.surfaces.back().vertices.back().numWeights = 100000;
    damaged.surfaces[0].collapseMap[5] = 7;  // not below its vertex
    damaged.surfaces[0].minLod = -1;
    damaged.tags[2].boneIndex = 200;
    write("weights_and_lod.mdm", mg::writeMdm(damaged).bytes);
    mg::MdmImage far = mg::writeMdm(body);
    mg::put<std::int32_t>(far.bytes, far.tags[1].at + offsetof(formats::MdmTag, OffsetBoneRefs), 1 << 24);
    write("tag_refs_outside.mdm", far.bytes);

    // Lists shared by 600 surfaces (8000 triangles) and by 500 tags (20000
    // references), a header and a tag each named 100000 times, a 3000-vertex
    // collapse chain shared by 100 surfaces.
    write("shared_lists.mdm", mg::sharedListsMdm(600, 8000));
    write("shared_tag_refs.mdm", mg::sharedTagRefsMdm(500, 20000));
    write("shared_header.mdm", mg::sharedHeaderMdm(100000, 100000));
    write("collapse_chain.mdm", mg::collapseChainMdm(100, 3000));
    return write.ok;
}

bool mdx(const std::string& dir) {
    Out write{dir};
    const mg::MdxModel walk = mp::walkMdx();
    write("walk.mdx", mg::writeMdx(walk).bytes);
    mg::MdxModel gapped = walk;
    gapped.order = {mg::MdxSection::Bones, mg::MdxSection::Frames};
    gapped.gapBefore = {8, 4};
    gapped.frames.resize(3);
    write("gapped.mdx", mg::writeMdx(gapped).bytes);

    const mg::MdxImage img = mg::writeMdx(walk);
    write("truncated.mdx", cut(img, img.frames + 5 * formats::mdsFrameSize(56) + 30));
    mg::MdxModel damaged = walk;
    damaged.version = 3;
    write("version3.mdx", mg::writeMdx(damaged).bytes);
    damaged = walk;
    damaged.frames.resize(2);
    damaged.bones[9].parent = 99;
    damaged.bones[10].parent = 10;  // its own parent
    damaged.torsoParent = -3;
    write("bad_parents.mdx", mg::writeMdx(damaged).bytes);
    mg::MdxImage many = mg::writeMdx(walk);
    mg::put<std::int32_t>(many.bytes, offsetof(formats::MdxHeader, NumBones), 1000);
    write("more_bones_than_stored.mdx", many.bytes);

    // 1000 bones in one chain, 20 frames (320 KB).
    write("bone_chain.mdx", mg::boneChainMdx(1000, 20));
    return write.ok;
}

}  // namespace seeds
