// A body model read from a .pk3 through MDS::loadFromFile: the same log
// lines and buffers as the same model read from disk, and the read
// failures of a missing or damaged member reported as for disk files.
#include <memory>

#include "model/mds.h"
#include "modelgen/samples.h"
#include "pk3_test_util.h"
#include "recording_device.h"

namespace pk3_test {
namespace {

using ModelFromArchiveTest = Pk3Test;

struct Loaded {
    int result = 0;
    std::string log;
    std::vector<std::string> calls;
};

// Loads `path` with a fresh log and device; the log with `path` written as
// "PATH", so that loads of different paths compare.
Loaded load(const std::string& path) {
    testing_support::ScopedLog log;
    rec::RecordingDevice device;
    Loaded out;
    {
        MDS mds(&device, "test");
        out.result = mds.loadFromFile(path.c_str());
        out.calls = device.calls;
    }
    out.log = log.body();
    for (std::size_t at; (at = out.log.find(path)) != std::string::npos;) out.log.replace(at, path.size(), "PATH");
    return out;
}

std::string bytesString(const mg::Bytes& b) { return std::string(b.begin(), b.end()); }

TEST_F(ModelFromArchiveTest, BodyFromAnArchiveLogsAsFromDisk) {
    const std::string body = bytesString(mg::writeMds(mg::sampleMds()).bytes);
    dir.write("disk/models/players/hud/body.mds", body);
    zip("game/main/pak0.pk3", {{"models/players/hud/body.mds", "an older body"}});
    zip("game/main/pak1.pk3", {{"Models/Players/Hud/Body.MDS", body}});

    const Loaded disk = load(dir.file("disk/models/players/hud/body.mds"));
    ASSERT_EQ(disk.result, 1) << disk.log;
    ASSERT_NE(disk.log.find("File 'PATH' read"), std::string::npos) << disk.log;
    for (const std::string& path : {dir.file("game/main/models/players/hud/body.mds"),
                                   dir.file("game\\main\\models\\players\\hud\\body.mds"),
                                   dir.file("game/main/pak1.pk3:models/players/hud/body.mds")}) {
        const Loaded packed = load(path);
        EXPECT_EQ(packed.result, 1) << path;
        EXPECT_EQ(packed.log, disk.log) << path;
        EXPECT_EQ(packed.calls, disk.calls) << path;
    }
}

TEST_F(ModelFromArchiveTest, MissingAndDamagedMembersFailAsOnDisk) {
    const std::string body = bytesString(mg::writeMds(mg::sampleMds()).bytes);
    zip("main/pak0.pk3", {{"models/players/hud/body.mds", body}});
    std::string bytes = bytesOf("main/pak0.pk3");
    const std::size_t data = pk3_fixture::firstDataOffset(bytes);
    for (std::size_t i = 0; i < 16; ++i) bytes[data + 10 + i] = static_cast<char>(~bytes[data + 10 + i]);
    dir.write("main/pak0.pk3", bytes);

    const Loaded missing = load(dir.file("main/models/players/hud/head.mds"));
    EXPECT_EQ(missing.result, -1);
    EXPECT_NE(missing.log.find("CreateFile - Invalid Handle Value"), std::string::npos) << missing.log;
    const Loaded damaged = load(dir.file("main/models/players/hud/body.mds"));
    EXPECT_EQ(damaged.result, -1);
    EXPECT_NE(damaged.log.find("ReadFile didn't read requested Number of bytes"), std::string::npos) << damaged.log;
}

}  // namespace
}  // namespace pk3_test
