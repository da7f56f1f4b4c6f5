// Node labels packed for a tree that holds millions of them. A label is cut
// into numbers and the text between them, and that text again after ": "
// and " (" and before ")", so that a name quoted in many labels is one run.
// Each distinct run of text ("Normal: ", ", ", "Bip01 Spine") is kept once
// and named by an index, and each number by a binary value that prints back
// to the same characters (a "%d" or "%u" as a variable-length integer, a
// "%f" as the float or double it was printed from). Anything that would not
// print back exactly stays text, so unpacking always gives the label that
// was packed.
//
// A packed label is a sequence of tokens, each a LEB128 number whose low
// three bits are its kind, ended by a zero byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

class LabelPack {
public:
    // Longest label cut into tokens; a longer one is kept as one run of
    // text. A packed label takes at most 5 bytes per character (a run of
    // one character with a five-byte index) and its end byte.
    static constexpr std::size_t kMaxTokenized = 256;
    static constexpr std::size_t kMaxPacked = 5 * kMaxTokenized + 1;

    // Appends the packed form of text to out. False (out unchanged) when the
    // table of runs is full or memory runs out.
    bool pack(std::string_view text, std::string& out);
    // Appends the text of the packed label at p to out; returns the byte
    // after its end. p must come from pack on this table.
    const std::uint8_t* unpack(const std::uint8_t* p, std::string& out) const;
    // The byte after the end of the packed label at p.
    static const std::uint8_t* skip(const std::uint8_t* p);

    // Forgets every run; labels packed before cannot be unpacked any more.
    void clear();
    // Bytes the table of runs holds (text, index and lookup).
    std::size_t bytesHeld() const;
    std::size_t runs() const { return runs_.size(); }

private:
    static constexpr std::uint32_t kNoRun = 0xFFFFFFFF;
    static constexpr std::size_t kTextChunk = 64 * 1024;

    bool packTokens(std::string_view text, std::string& out);
    bool putText(std::string_view text, std::string& out);
    bool putRun(std::string_view run, std::string& out);
    // The index of run, or kNoRun and the free slot where it would go.
    std::uint32_t find(std::string_view run, std::size_t& slot) const;
    void grow();
    std::string_view keep(std::string_view run);

    std::vector<std::string_view> runs_;  // by index, into text_
    // Open addressing over the runs' text: index + 1, 0 for free; at most
    // half full.
    std::vector<std::uint32_t> slots_;
    std::vector<std::unique_ptr<char[]>> text_;  // chunks that never move
    char* chunk_ = nullptr;                      // the chunk being filled
    std::size_t chunkUsed_ = 0;
    std::size_t textBytes_ = 0;
};

}  // namespace shell
