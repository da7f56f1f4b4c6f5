// What the JPEG decoder would trust without checking: its table segments
// and the amount of work a frame and its scans declare.
#pragma once

#include <cstddef>
#include <cstdint>

namespace d3dx {

// False for a JPEG the decoder must not be given: a Huffman table with more
// symbols than it holds, a table named before any segment defines it, or a
// frame declaring more blocks (or scans visiting more) than its bytes can
// code. Damage the decoder reports by itself is left to it.
bool jpegSound(const std::uint8_t* bytes, std::size_t size);

}  // namespace d3dx
