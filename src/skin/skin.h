// A parsed .skin file: surface-name and accessory-key entries whose values
// name textures and models relative to the model's folder. The text is
// read whole and parsed in place; entries point into it.
#pragma once

#include <cstdint>
#include <vector>

class Skin {
public:
    struct Entry {
        const char* key;
        const char* value;
    };

    // The model name is not owned; it must outlive the skin.
    explicit Skin(const char* modelName);
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // 1 when the file was read and parsed, -1 otherwise (logged).
    int load(const char* path);
    // The value of the first entry whose key equals name byte for byte;
    // null when there is none.
    const char* lookup(const char* name) const;

    const std::vector<Entry>& entries() const { return entries_; }

private:
    void parse();

    const char* modelName_;
    char* text_ = nullptr;  // owned block, one byte longer than the file
    std::uint32_t textSize_ = 0;
    std::vector<Entry> entries_;
};
