// fuzz_browser: valid MDS files of a few layouts and the damaged twins.
#include "mkseeds/seeds.h"

#include "modelgen/amplify.h"
#include "modelgen/samples.h"

namespace seeds {

bool browser(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const mg::Bytes& bytes) { ok &= mg::writeFile(dir + "/" + name, bytes); };
    write("sample.mds", mg::writeMds(mg::sampleMds()).bytes);
    auto m = mg::sampleMds();
    m.order = {mg::MdsSection::Tags, mg::MdsSection::Surfaces, mg::MdsSection::Bones, mg::MdsSection::Frames};
    m.gapBefore = {4, 8, 12, 16};
    m.surfaces[0].gapAfterHeader = 8;
    m.surfaces[0].gapAfter = 4;
    write("reordered.mds", mg::writeMds(m).bytes);
    write("empty.mds", mg::writeMds(mg::MdsModel{}).bytes);
    write("small.mds", mg::writeMds(mg::syntheticMds(2, 6, 2, 3, 2)).bytes);
    // Shapes that multiply a naive reader's work: lists shared by 600
    // surfaces (4.8 million triangle records from 200 KB), one header named
    // by every surface, a chain stored backwards.
    write("shared_lists.mds", mg::sharedListsMds(600, 8000));
    write("shared_header.mds", mg::sharedHeaderMds(100000));
    write("backward_chain.mds", mg::backwardChainMds());
    const struct {
        const char* name;
        mg::MdsDamage damage;
    } damaged[] = {
        {"wrong_ident.mds", mg::MdsDamage::WrongIdent},
        {"version3.mds", mg::MdsDamage::Version3},
        {"truncated.mds", mg::MdsDamage::Truncated},
        {"surface_end_outside.mds", mg::MdsDamage::SurfaceEndOutside},
        {"weights_past_end.mds", mg::MdsDamage::WeightsPastEnd},
        {"bad_bone_indices.mds", mg::MdsDamage::BadBoneIndices},
        {"negative_count.mds", mg::MdsDamage::NegativeCount},
        {"unterminated_names.mds", mg::MdsDamage::UnterminatedNames},
    };
    for (const auto& d : damaged) write(d.name, mg::damagedMds(d.damage));
    return ok;
}

}  // namespace seeds
