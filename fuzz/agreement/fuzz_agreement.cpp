// Arbitrary bytes through every reader of MDS and MDC files: the walk that
// stops at the first defect, the walk that collects every finding, the
// viewer's loaders, the browser and the MDC printer must agree on whether
// the file is damaged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "agreement.h"
#include "common/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string out = agreement::disagreements(data, size, fuzzing::memoryFile(data, size));
    if (out.empty()) return 0;
    std::fputs(out.c_str(), stderr);
    std::abort();
}
