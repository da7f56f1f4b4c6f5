// Arbitrary bytes as a held MDS file: resolve, the whole tree into a
// counting sink, then every frame node filled.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "browser/mds_file.h"
#include "browser/tree_builder.h"

namespace {

class CountingSink : public browser::TreeSink {
public:
    browser::TreeNode appendChild(browser::TreeNode, const char* label, int frameNumber, bool) override {
        ++nodes;
        while (*label) checksum += static_cast<unsigned char>(*label++);
        if (frameNumber != -1) frames.push_back(frameNumber);
        return reinterpret_cast<browser::TreeNode>(nodes);
    }
    browser::TreeNode appendLast(browser::TreeNode p, const char* label) override { return appendChild(p, label, -1, false); }
    void progressRange(int, int) override {}
    void progressPos(int) override {}
    std::uintptr_t nodes = 0;
    unsigned checksum = 0;
    std::vector<int> frames;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 0xFFFFFFFFu) return 0;
    browser::MdsFile model;
    model.adopt(data, static_cast<std::uint32_t>(size));
    model.resolve();
    CountingSink sink;
    browser::toTreeView(model, nullptr, sink);
    for (int k : sink.frames) browser::fillFrame(model, sink, nullptr, k);
    return 0;
}
