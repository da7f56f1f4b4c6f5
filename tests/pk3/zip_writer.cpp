#include "zip_writer.h"

#include <zip.h>

#include <array>
#include <cstring>

namespace pk3_fixture {
namespace {

std::uint32_t crc32(const std::string& data) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint32_t get16(const std::string& in, std::size_t at) {
    return static_cast<unsigned char>(in[at]) | (static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + 1])) << 8);
}

}  // namespace

bool writeZip(const std::string& path, const std::vector<Member>& members) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (z == nullptr) return false;
    for (const auto& m : members) {
        zip_source_t* src = zip_source_buffer(z, m.data.data(), m.data.size(), 0);
        const zip_int64_t i = src ? zip_file_add(z, m.name.c_str(), src, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE) : -1;
        if (i < 0) {
            if (src) zip_source_free(src);
            zip_discard(z);
            return false;
        }
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i), m.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    return zip_close(z) == 0;
}

std::string rawStoredZip(const std::vector<Member>& members) {
    std::string out;
    std::string central;
    for (const auto& m : members) {
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        const std::uint32_t crc = crc32(m.data);
        const auto size = static_cast<std::uint32_t>(m.data.size());
        const auto nameLength = static_cast<std::uint32_t>(m.name.size());
        put32(out, 0x04034b50);
        put16(out, 20);  // version needed
        put16(out, 0);   // flags
        put16(out, 0);   // stored
        put32(out, 0);   // time, date
        put32(out, crc);
        put32(out, size);
        put32(out, size);
        put16(out, nameLength);
        put16(out, 0);
        out += m.name;
        out += m.data;

        put32(central, 0x02014b50);
        put16(central, 20);
        put16(central, 20);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, crc);
        put32(central, size);
        put32(central, size);
        put16(central, nameLength);
        put16(central, 0);  // extra
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, 0);  // external attributes
        put32(central, offset);
        central += m.name;
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(members.size()));
    put16(out, static_cast<std::uint32_t>(members.size()));
    put32(out, static_cast<std::uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

void setStatedSize(std::string& archive, std::uint32_t size) {
    set32(archive, 22, size);  // local header
    const std::size_t central = archive.find("PK\1\2");
    if (central != std::string::npos) set32(archive, central + 24, size);
}

std::size_t firstDataOffset(const std::string& archive) { return 30 + get16(archive, 26) + get16(archive, 28); }

}  // namespace pk3_fixture
