#include "drawables/model_file.h"

namespace drawables {

namespace {

const char* reason(sys::ReadStep step) {
    switch (step) {
        case sys::ReadStep::Open: return "cannot be opened";
        case sys::ReadStep::Size: return "has no size";
        case sys::ReadStep::TooLarge: return "is larger than the 64 MB a model file may be";
        case sys::ReadStep::Memory: return "is empty or too large for memory";
        case sys::ReadStep::Read: return "cannot be read whole";
        case sys::ReadStep::Done: break;
    }
    return "cannot be read";
}

}  // namespace

bool readModelFile(const std::string& path, formats::Format& format, sys::Block& bytes, std::string& error) {
    sys::WholeFile file = sys::readWholeFile(path.c_str(), kMaxModelBytes);
    if (file.failed != sys::ReadStep::Done) {
        error = path + ": " + reason(file.failed);
        return false;
    }
    const formats::Identity id = formats::identify(formats::ByteView(file.bytes.data(), file.size));
    if (id.format == formats::Format::Unknown || (format != formats::Format::Unknown && id.format != format)) {
        error = path + ": not " + (format == formats::Format::Unknown ? std::string("a model") : std::string("an ") + formats::formatInfo(format).name) + " file (its first bytes are " +
                (id.format == formats::Format::Unknown ? std::string("no model format's")
                                                       : std::string(formats::formatInfo(id.format).name) + "'s") +
                ")";
        return false;
    }
    format = id.format;
    const formats::FormatInfo& want = formats::formatInfo(format);
    // The viewer reads MDS and MDC files of any version.
    const bool anyVersion = format == formats::Format::Mds || format == formats::Format::Mdc;
    if (!anyVersion && id.version != want.version) {
        error = path + ": " + want.name + " version " + std::to_string(id.version) + ", the game reads only " +
                std::to_string(want.version);
        return false;
    }
    bytes = std::move(file.bytes);
    return true;
}

}  // namespace drawables
