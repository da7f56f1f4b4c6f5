// Shared helpers of the .pk3 tests: whole-file reads through the system
// layer and archives written into a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sys/faults.h"
#include "platform/sys/sys.h"
#include "scoped_log.h"
#include "zip_writer.h"

namespace pk3_test {

using pk3_fixture::Member;

// The whole content through open, size and one read; nothing when a step
// fails or the read comes back short.
inline std::optional<std::string> readWhole(const std::string& path) {
    sys::File f = sys::openForReading(path.c_str());
    if (!f.valid()) return std::nullopt;
    const std::uint32_t size = sys::fileSize(f);
    if (size == sys::kInvalidFileSize) return std::nullopt;
    std::string bytes(size, '\0');
    if (sys::readFile(f, bytes.data(), size) != size) return std::nullopt;
    return bytes;
}

class Pk3Test : public ::testing::Test {
protected:
    ~Pk3Test() override { sys::clearSysFaults(); }

    // Writes an archive below the folder, creating parent folders.
    void zip(const std::string& relative, const std::vector<Member>& members) {
        dir.write(relative, "");
        ASSERT_TRUE(pk3_fixture::writeZip(dir.file(relative), members)) << relative;
    }
    std::string bytesOf(const std::string& relative) { return testing_support::readFileText(dir.file(relative)); }

    testing_support::TempDir dir;
};

}  // namespace pk3_test
