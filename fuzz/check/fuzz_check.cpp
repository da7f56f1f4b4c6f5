// Arbitrary bytes through korvane-check's model walkers, as an MDS and as
// an MDC file, and the findings through both output forms. The walkers'
// work is bounded by the file size, so the findings are too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "check/model_check.h"
#include "check/output.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const formats::ByteView bytes(data, size);
    for (const check::Game game : {check::Game::Both, check::Game::Multiplayer}) {
        check::Report report;
        check::Limits limits;
        limits.game = game;
        report.beginFile("f");
        check::checkMds(bytes, report, limits);
        check::checkMdc(bytes, report, limits);
        report.endFile();
        // Findings stay proportional to the input: capped per list, and
        // every list was charged against the bytes.
        if (report.findings().size() > 64 + size) std::abort();
        const std::string text = check::asText(report.findings());
        const std::string json = check::asJson(report.findings());
        if (json.empty() || (report.findings().empty() != text.empty())) std::abort();
    }
    return 0;
}
