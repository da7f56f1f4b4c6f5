// The walk that stops at the first defect, the walk that collects every
// finding and the programs built on them agree on which files are damaged:
// over every one-defect file, every hostile shape of the generators, and
// thousands of files with one or two fields changed.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "agreement.h"
#include "modelgen/amplify.h"
#include "modelgen/defects.h"
#include "modelgen/samples.h"
#include "scoped_log.h"

namespace {

class Agreement : public ::testing::Test {
protected:
    void expectAgreement(const mg::Bytes& bytes, const std::string& what) {
        dir_.write("model", bytes.data(), bytes.size());
        const std::string out = agreement::disagreements(bytes.data(), bytes.size(), dir_.file("model"));
        EXPECT_EQ(out, "") << what;
    }

    testing_support::TempDir dir_;
    testing_support::ScopedLog log_;
};

TEST_F(Agreement, OnEveryOneDefectFileAndItsCleanTwin) {
    expectAgreement(mg::cleanMds(), "clean MDS");
    expectAgreement(mg::cleanMdc(), "clean MDC");
    for (const auto& d : mg::mdsDefects()) expectAgreement(d.bytes, d.name);
    for (const auto& d : mg::mdcDefects()) expectAgreement(d.bytes, d.name);
    for (const auto& d : mg::familyCleanTwins()) expectAgreement(d.bytes, d.name);
    for (const auto& d : mg::familyDefects()) expectAgreement(d.bytes, d.name);
}

TEST_F(Agreement, OnTheGeneratorsHostileShapes) {
    for (const auto damage : {mg::MdsDamage::WrongIdent, mg::MdsDamage::Version3, mg::MdsDamage::Truncated,
                              mg::MdsDamage::SurfaceEndOutside, mg::MdsDamage::WeightsPastEnd,
                              mg::MdsDamage::BadBoneIndices, mg::MdsDamage::NegativeCount,
                              mg::MdsDamage::UnterminatedNames})
        expectAgreement(mg::damagedMds(damage), "damaged MDS " + std::to_string(static_cast<int>(damage)));
    for (const int surfaces : {1, 2, 40}) {
        expectAgreement(mg::sharedListsMds(surfaces, 2000), "shared MDS lists x" + std::to_string(surfaces));
        expectAgreement(mg::sharedHeaderMds(surfaces), "shared MDS header x" + std::to_string(surfaces));
        expectAgreement(mg::sharedListsMdc(surfaces, 500), "shared MDC lists x" + std::to_string(surfaces));
    }
    expectAgreement(mg::backwardChainMds(), "backward chain");
    expectAgreement(mg::writeMds(mg::syntheticMds(3, 50, 2, 8, 4)).bytes, "synthetic");
}

// Fields of the headers and lists set to the values that break readers:
// negative, zero, one past the end, huge, and random ones.
TEST_F(Agreement, OnFilesWithFieldsChanged) {
    std::mt19937 random(20261208);
    const auto twins = mg::familyCleanTwins();
    for (const mg::Bytes& base : {mg::cleanMds(), mg::cleanMdc(), twins[0].bytes, twins[1].bytes, twins[2].bytes}) {
        const auto size = static_cast<std::int32_t>(base.size());
        const std::int32_t values[] = {-1, 0, 1, 3, size - 4, size, 0x7FFFFFFF, -0x7FFFFFFF - 1};
        for (int n = 0; n < 500; ++n) {
            mg::Bytes b = base;
            const int changes = 1 + n % 2;
            for (int c = 0; c < changes; ++c) {
                const auto at = 4 * static_cast<std::int64_t>(random() % (base.size() / 4));
                const std::int32_t value = random() % 3 == 0 ? static_cast<std::int32_t>(random() % 4096)
                                                             : values[random() % std::size(values)];
                mg::put<std::int32_t>(b, at, value);
            }
            if (n % 7 == 0) b.resize(random() % b.size());
            expectAgreement(b, "variant " + std::to_string(n));
            if (HasFailure()) return;
        }
    }
}

}  // namespace
