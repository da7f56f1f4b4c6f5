// Damaged and hostile archives fail cleanly: repeated names, names climbing
// out, zip bombs, members that inflate to another size, truncated archives;
// and the fault injection of the system layer applies to members as to
// disk files.
#include <chrono>

#include "pk3_test_util.h"
#include "platform/sys/archive.h"
#include "platform/sys/archive_member.h"

namespace pk3_test {
namespace {

using HostileTest = Pk3Test;
using sys::archive::Archive;

TEST(ArchiveIndex, KeysAndWhatIsLeftOut) {
    using sys::archive::memberKey;
    EXPECT_EQ(memberKey("Models\\Players//./Hud/Body.MDS"), "models/players/hud/body.mds");
    EXPECT_EQ(memberKey("../etc/passwd"), "");
    EXPECT_EQ(memberKey("a/../../b"), "");
    EXPECT_EQ(memberKey("/abs/name"), "");
    EXPECT_EQ(memberKey("dir/"), "");

    const std::string raw = pk3_fixture::rawStoredZip({{"Same.txt", "first"},
                                                       {"../escape.txt", "out"},
                                                       {"/abs.txt", "abs"},
                                                       {"models/", ""},
                                                       {"same.TXT", "second"}});
    const auto archive = Archive::openBytes(raw.data(), raw.size());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->members().size(), 1u);
    ASSERT_EQ(archive->find("same.txt"), 4);  // the last of the repeated names
    sys::archive::MemberBytes m;
    ASSERT_TRUE(sys::archive::readMember(archive, 4, m));
    EXPECT_EQ(std::string(m.data.begin(), m.data.end()), "second");
    EXPECT_FALSE(m.damaged);
    EXPECT_EQ(archive->find("escape.txt"), -1);
    EXPECT_EQ(archive->find("abs.txt"), -1);
}

TEST_F(HostileTest, RepeatedNamesInOneArchiveTakeTheLast) {
    dir.write("main/dup.pk3", pk3_fixture::rawStoredZip({{"a.txt", "one"}, {"A.txt", "two"}, {"../a.txt", "out"}}));
    EXPECT_EQ(readWhole(dir.file("main/a.txt")), "two");
}

// Bytes deflate cannot shrink, as real JPEG textures are.
std::string noise(std::size_t n) {
    std::string out(n, '\0');
    std::uint32_t x = 12345u;
    for (char& c : out) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    return out;
}

TEST_F(HostileTest, ZipBombsAreRefusedOrCutAtTheStatedSize) {
    // Far more than its archive's size allows: the member has no size, and
    // nothing is inflated.
    zip("bomb/pak0.pk3", {{"big.bin", std::string(8u << 20, '\0')}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sys::fileSize(sys::openForReading(dir.file("bomb/big.bin").c_str())), sys::kInvalidFileSize);

    const std::string data = noise(64u << 10);
    zip("plain.pk3", {{"big.bin", data}});
    const std::string good = bytesOf("plain.pk3");
    // Stating more than any member may hold, or than its compressed bytes
    // can give: refused the same way.
    std::string huge = good;
    pk3_fixture::setStatedSize(huge, 0xF0000000u);
    dir.write("huge/pak0.pk3", huge);
    EXPECT_EQ(sys::fileSize(sys::openForReading(dir.file("huge/big.bin").c_str())), sys::kInvalidFileSize);
    // Stating less than it inflates to: inflating stops, the read is short.
    std::string less = good;
    pk3_fixture::setStatedSize(less, 100);
    dir.write("less/pak0.pk3", less);
    // Stating more than it inflates to: a short read too.
    std::string more = good;
    pk3_fixture::setStatedSize(more, (64u << 10) + 1);
    dir.write("more/pak0.pk3", more);
    for (const char* path : {"less/big.bin", "more/big.bin"}) {
        sys::File f = sys::openForReading(dir.file(path).c_str());
        ASSERT_TRUE(f.valid()) << path;
        const std::uint32_t size = sys::fileSize(f);
        std::string bytes(size, 'x');
        EXPECT_LT(sys::readFile(f, bytes.data(), size), size) << path;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(readWhole(dir.file("plain.pk3:big.bin")) == data);
}

// The members read from one archive inflate to at most 8 times its size in
// all: one flat image after another is refused once they reach it, while a
// member read again counts once, and other archives have their own share.
TEST_F(HostileTest, ManyMembersOfOneSmallArchiveShareOneAllowance) {
    std::vector<Member> flat;
    for (int i = 0; i < 40; ++i) flat.push_back({"flat" + std::to_string(i) + ".tga", std::string(64u << 10, 'f')});
    flat.push_back({"noise.bin", noise(16u << 10)});
    zip("main/pak0.pk3", flat);
    const std::uint64_t allowance = bytesOf("main/pak0.pk3").size() * sys::archive::kInflatedPerArchiveByte;

    std::uint64_t inflated = 0;
    int read = 0;
    for (int i = 0; i < 40; ++i) {
        const auto got = readWhole(dir.file("main/flat" + std::to_string(i) + ".tga"));
        if (!got) continue;
        inflated += got->size();
        ++read;
        // Read again: still there, not counted again.
        EXPECT_TRUE(readWhole(dir.file("main/flat0.tga")).has_value());
    }
    EXPECT_LE(inflated, allowance);
    EXPECT_GT(read, 0);
    EXPECT_LT(read, 40);
    zip("other/pak0.pk3", {{"flat0.tga", std::string(64u << 10, 'f')}, {"noise.bin", noise(16u << 10)}});
    EXPECT_TRUE(readWhole(dir.file("other/flat0.tga")).has_value());
}

TEST_F(HostileTest, DamagedMemberReadsShortAndOthersStillRead) {
    const std::string text(4000, 'q');
    zip("main/pak0.pk3", {{"bad.txt", text}, {"good.txt", "fine"}, {"flipped.txt", text, true}});
    std::string bytes = bytesOf("main/pak0.pk3");
    const std::size_t data = pk3_fixture::firstDataOffset(bytes);
    for (std::size_t i = 2; i < 8; ++i) bytes[data + i] = static_cast<char>(bytes[data + i] ^ 0x5A);
    // The stored member: one byte changed, so only its checksum tells.
    const std::size_t flipped = bytes.find(std::string(100, 'q'));
    ASSERT_NE(flipped, std::string::npos);
    bytes[flipped] = 'Q';
    dir.write("main/pak0.pk3", bytes);

    for (const char* name : {"main/bad.txt", "main/flipped.txt"}) {
        sys::File f = sys::openForReading(dir.file(name).c_str());
        ASSERT_TRUE(f.valid()) << name;
        ASSERT_EQ(sys::fileSize(f), 4000u) << name;
        std::string out(4000, '\0');
        EXPECT_LT(sys::readFile(f, out.data(), 4000), 4000u) << name;
    }
    EXPECT_EQ(readWhole(dir.file("main/good.txt")), "fine");
}

TEST_F(HostileTest, TruncatedOrEmptyArchivesAreIgnored) {
    zip("main/pak0.pk3", {{"a.txt", "pak0"}, {"b.txt", "pak0"}});
    zip("main/pak1.pk3", {{"a.txt", "pak1"}, {"b.txt", "pak1"}});
    const std::string whole = bytesOf("main/pak1.pk3");
    dir.write("main/pak1.pk3", whole.substr(0, whole.size() - 30));  // end record and part of the directory gone
    dir.write("main/pak2.pk3", "");
    dir.write("main/pak3.pk3", "PK\5\6 not really");
    EXPECT_EQ(readWhole(dir.file("main/a.txt")), "pak0");
    EXPECT_FALSE(readWhole(dir.file("main/pak1.pk3:a.txt")).has_value());

    // Every cut of a small archive: never a crash, never a wrong byte.
    zip("cut/src.bin", {{"m.txt", "member text"}, {"n.txt", std::string(300, 'n')}});
    const std::string src = bytesOf("cut/src.bin");
    for (std::size_t n = 0; n < src.size(); ++n) {
        const std::string name = "cut/c" + std::to_string(n) + ".pk3";
        dir.write(name, src.substr(0, n));
        const auto got = readWhole(dir.file(name + ":m.txt"));
        if (got) {
            EXPECT_EQ(*got, "member text") << n;
        }
    }
}

TEST_F(HostileTest, FaultInjectionAppliesToMembers) {
    zip("main/pak0.pk3", {{"a.txt", "0123456789"}});
    const std::string path = dir.file("main/a.txt");

    sys::Faults faults;
    faults.failOnCall[static_cast<int>(sys::Step::Open)] = 1;
    sys::setSysFaults(faults);
    EXPECT_FALSE(sys::openForReading(path.c_str()).valid());
    EXPECT_TRUE(sys::openForReading(path.c_str()).valid());

    faults = {};
    faults.failAlways[static_cast<int>(sys::Step::Size)] = true;
    sys::setSysFaults(faults);
    EXPECT_EQ(sys::fileSize(sys::openForReading(path.c_str())), sys::kInvalidFileSize);

    faults = {};
    faults.failOnCall[static_cast<int>(sys::Step::Read)] = 1;
    faults.shortReadBytes = 4;
    sys::setSysFaults(faults);
    sys::File f = sys::openForReading(path.c_str());
    char buf[10] = {};
    EXPECT_EQ(sys::readFile(f, buf, 10), 4u);
    EXPECT_EQ(std::string(buf, 4), "0123");
    EXPECT_EQ(sys::sysCallCount(sys::Step::Open), 1u);
}

}  // namespace
}  // namespace pk3_test
