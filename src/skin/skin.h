// A parsed .skin file: surface-name and accessory-key entries whose values
// name textures and models relative to the model's folder. The text is
// read whole and parsed in place (skin_text.h, the viewer's rule: blanks
// around a value are kept); entries point into it.
#pragma once

#include "platform/sys/whole_file.h"

#include <cstdint>
#include <string>
#include <vector>

#include "skin/skin_text.h"

class Skin {
public:
    using Entry = skin::Entry;

    // The model name is not owned; it must outlive the skin.
    explicit Skin(const char* modelName);
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // 1 when the file was read and parsed, -1 otherwise (logged).
    int load(const char* path);
    // The value of the first entry whose key equals name byte for byte;
    // null when there is none. Indexed: a lookup costs the logarithm of
    // the number of entries, not the entries.
    const char* lookup(const char* name) const;
    // The same entry whole (its game path too); null when there is none.
    const Entry* find(const char* name) const;

    const std::vector<Entry>& entries() const { return entries_; }
    // The path given to the last load (for reports of what failed).
    const std::string& path() const { return path_; }

private:
    void parse();

    const char* modelName_;
    sys::Block text_;  // the file and a terminator after it
    std::vector<Entry> entries_;
    skin::KeyIndex index_;
    std::string path_;
};
