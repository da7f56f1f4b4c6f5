// Reading a .skin file whole and parsing it in place: line breaks and the
// cuts of each line become terminators written into the held text, so keys
// and values are pieces of that text and never copies.
#include "skin/skin.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "log/load_context.h"
#include "log/log.h"
#include "platform/sys/sys.h"

Skin::Skin(const char* modelName) : modelName_(modelName) {}

Skin::~Skin() { std::free(text_); }

int Skin::load(const char* path) {
    pLog->print("<h1>Loading Skin from file: '%s'</h1>\n", path);
    path_ = path ? path : "";
    const loadctx::Scope scope(path_, "");

    sys::File file = sys::openForReading(path);
    if (!file.valid()) {
        pLog->printError("CreateFile - Invalid Handle Value");
        return -1;
    }
    const std::uint32_t size = sys::fileSize(file);
    if (size == sys::kInvalidFileSize) {
        pLog->printError("GetFileSize - Invalid File Size");
        sys::closeFile(file);
        return -1;
    }

    // The entries of an earlier load point into the text given back here.
    entries_.clear();
    index_.build(entries_);
    std::free(text_);
    textSize_ = 0;
    // One byte more than the file: the terminator of the last line, which
    // need not end with a line break. An empty file gets a block too.
    text_ = static_cast<char*>(std::malloc(static_cast<std::size_t>(size) + 1));
    if (!text_) {
        pLog->printError("Skin::load - no memory for %u bytes", static_cast<unsigned>(size));
        sys::closeFile(file);
        return -1;
    }
    if (sys::readFile(file, text_, size) != size) {
        pLog->printError("ReadFile didn't read requested Number of bytes");
        std::free(text_);
        text_ = nullptr;
        sys::closeFile(file);
        return -1;
    }
    text_[size] = '\0';
    textSize_ = size;
    sys::closeFile(file);

    pLog->printOk("Skin File loaded");
    pLog->print("Start parsing...<br>\n");
    try {
        parse();
    } catch (const std::bad_alloc&) {
        entries_.clear();
        index_.build(entries_);
        pLog->printError("Skin::load - no memory for the entries of %u bytes", static_cast<unsigned>(size));
        return -1;
    }
    return 1;
}

void Skin::parse() {
    skin::parseInPlace(text_, textSize_, modelName_, skin::ValueBlanks::Kept, entries_);
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
