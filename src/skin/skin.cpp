// Reading a .skin file whole and parsing it in place: line breaks and the
// cuts of each line become terminators written into the held text, so keys
// and values are pieces of that text and never copies.
#include "skin/skin.h"

#include <cstdlib>
#include <cstring>

#include "log/log.h"
#include "platform/sys/sys.h"
#include "skin/names.h"

Skin::Skin(const char* modelName) : modelName_(modelName) {}

Skin::~Skin() { std::free(text_); }

int Skin::load(const char* path) {
    pLog->print("<h1>Loading Skin from file: '%s'</h1>\n", path);

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
    parse();
    return 1;
}

void Skin::parse() {
    // Line starts, each line terminated in place. A carriage return belongs
    // to the break only right before a line feed.
    std::vector<char*> lines;
    if (textSize_ > 0) lines.push_back(text_);
    for (std::uint32_t i = 0; i < textSize_; ++i) {
        if (text_[i] != '\n') continue;
        text_[i] = '\0';
        if (i > 0 && text_[i - 1] == '\r') text_[i - 1] = '\0';
        if (i + 1 < textSize_) lines.push_back(text_ + i + 1);
    }

    const std::string lowered = skin::lowered(modelName_ ? modelName_ : "");
    for (char* line : lines) {
        if (char* comment = std::strstr(line, "//")) *comment = '\0';
        char* comma = std::strchr(line, ',');
        if (!comma) continue;
        *comma = '\0';
        char* value = comma + 1;
        skin::lowerInPlace(value);
        if (char* stop = std::strchr(value, '.')) *stop = '\0';
        if (char* quote = std::strchr(value, '"')) value = quote + 1;
        if (char* quote = std::strchr(value, '"')) *quote = '\0';
        value = skin::afterModelName(value, lowered);
        if (*value != '\0') entries_.push_back(Entry{line, value});
    }

    pLog->print("<table>\n");
    for (const Entry& entry : entries_)
        pLog->print("  <tr>\n    <td>%s</td>\n    <td>%s</td>\n  </tr>\n", entry.key, entry.value);
    pLog->print("</table>\n");
}

const char* Skin::lookup(const char* name) const {
    if (!name) return nullptr;
    for (const Entry& entry : entries_)
        if (std::strcmp(entry.key, name) == 0) return entry.value;
    return nullptr;
}
