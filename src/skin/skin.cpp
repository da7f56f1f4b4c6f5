// Reading a .skin file whole and parsing it in place: line breaks and the
// cuts of each line become terminators written into the held text, so keys
// and values are pieces of that text and never copies.
#include "skin/skin.h"

#include <cstring>
#include <limits>
#include <utility>
#include <new>

#include "log/load_context.h"
#include "log/log.h"
#include "platform/sys/sys.h"
#include "platform/sys/whole_file.h"

Skin::Skin(const char* modelName) : modelName_(modelName) {}

Skin::~Skin() {
    if (!text_.empty() && !sys::releaseBlock(text_.release())) pLog->printError("VirtualFree failed");
}

int Skin::load(const char* path) {
    pLog->print("<h1>Loading Skin from file: '%s'</h1>\n", path);
    path_ = path ? path : "";
    const loadctx::Scope scope(path_, "");

    // One byte more than the file: the terminator of the last line, which
    // need not end with a line break. An empty file gets a block too.
    sys::WholeFile file = sys::readWholeFile(path, std::numeric_limits<std::uint32_t>::max(), 1);
    switch (file.failed) {
    case sys::ReadStep::Open: pLog->printError("CreateFile - Invalid Handle Value"); return -1;
    case sys::ReadStep::Size:
    case sys::ReadStep::TooLarge: pLog->printError("GetFileSize - Invalid File Size"); return -1;
    default: break;
    }
    // The entries of an earlier load point into the text given back here.
    entries_.clear();
    index_.build(entries_);
    if (!text_.empty() && !sys::releaseBlock(text_.release())) pLog->printError("VirtualFree failed");
    if (file.failed == sys::ReadStep::Memory) {
        pLog->printError("Skin::load - no memory for %u bytes", static_cast<unsigned>(file.size));
        return -1;
    }
    if (file.failed == sys::ReadStep::Read) {
        pLog->printError("ReadFile didn't read requested Number of bytes");
        if (file.releaseFailed) pLog->printError("VirtualFree failed");
        return -1;
    }
    text_ = std::move(file.bytes);

    pLog->printOk("Skin File loaded");
    pLog->print("Start parsing...<br>\n");
    try {
        parse();
    } catch (const std::bad_alloc&) {
        entries_.clear();
        index_.build(entries_);
        pLog->printError("Skin::load - no memory for the entries of %u bytes", static_cast<unsigned>(file.size));
        return -1;
    }
    return 1;
}

void Skin::parse() {
    skin::parseInPlace(reinterpret_cast<char*>(text_.data()), text_.size(), modelName_, skin::ValueBlanks::Kept, entries_);
    index_.build(entries_);

    pLog->print("<table>\n");
    for (const Entry& entry : entries_)
        pLog->print("  <tr>\n    <td>%s</td>\n    <td>%s</td>\n  </tr>\n", entry.key, entry.value);
    pLog->print("</table>\n");
}

const Skin::Entry* Skin::find(const char* name) const { return index_.find(entries_, name); }

const char* Skin::lookup(const char* name) const {
    const Entry* entry = find(name);
    return entry ? entry->value : nullptr;
}
