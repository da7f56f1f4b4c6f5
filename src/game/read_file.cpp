#include "game/read_file.h"

#include "formats/diagnostics.h"
#include "platform/sys/archive_lookup.h"
#include "platform/sys/archive_member.h"
#include "platform/sys/path.h"

namespace game {

namespace {

// Why an archive member is not read, or empty when `path` is none.
std::string memberRefusal(const std::string& path) {
    sys::archive::MemberRef member;
    if (!sys::resolvePath(path).empty() || !sys::archive::findMember(path, member)) return {};
    const auto why = sys::archive::refusal(*member.archive, member.index);
    return why == sys::archive::Refusal::None ? std::string() : sys::archive::refusalText(why);
}

}  // namespace

FileRead readFile(const std::string& path, std::uint32_t maxBytes) {
    sys::WholeFile file = sys::readWholeFile(path.c_str(), maxBytes);
    FileRead out;
    out.size = file.size;
    switch (file.failed) {
    case sys::ReadStep::Done:
        out.ok = true;
        out.bytes = std::move(file.bytes);
        break;
    case sys::ReadStep::Open: out.why = "does not exist or cannot be opened"; break;
    case sys::ReadStep::Size: {
        const std::string refusal = memberRefusal(path);
        out.tooLarge = !refusal.empty();
        out.why = refusal.empty() ? "has no size that can be taken" : "is not read from its archive: " + refusal;
        break;
    }
    case sys::ReadStep::TooLarge:
        out.tooLarge = true;
        out.why = formats::strf("is %u bytes, more than the %u this reader takes", file.size, maxBytes);
        break;
    case sys::ReadStep::Memory:
        out.ok = file.size == 0;  // an empty file: no block of 0 bytes
        if (!out.ok) out.why = "does not fit in memory";
        break;
    case sys::ReadStep::Read: out.why = "could not be read whole (it is damaged or changed while read)"; break;
    }
    return out;
}

}  // namespace game
