// fuzz_pk3: small archives written with libzip (stored and deflated members,
// a model inside) and damaged twins: truncated, a lying stated size, a
// repeated name, a name climbing out with "..". Without libzip (the
// Windows build) there are no archive seeds.
#include "mkseeds/seeds.h"

#ifdef KV_HAVE_LIBZIP
#include <zip.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "modelgen/samples.h"
#include "platform/sys/path.h"

namespace seeds {
namespace {

struct Entry {
    std::string name;
    std::string data;
    bool store;
};

bool writeZip(const std::string& path, const std::vector<Entry>& entries) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (z == nullptr) return false;
    for (const auto& e : entries) {
        zip_source_t* src = zip_source_buffer(z, e.data.data(), e.data.size(), 0);
        const zip_int64_t i = src ? zip_file_add(z, e.name.c_str(), src, ZIP_FL_ENC_RAW) : -1;
        if (i < 0) {
            if (src) zip_source_free(src);
            zip_discard(z);
            return false;
        }
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i), e.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    return zip_close(z) == 0;
}

std::string readAll(const std::string& path) {
    std::ifstream in(sys::fsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void replaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

}  // namespace

bool pk3(const std::string& dir) {
    const mg::Bytes body = mg::writeMds(mg::sampleMds()).bytes;
    const std::vector<Entry> entries = {
        {"models/players/hud/body.mds", std::string(body.begin(), body.end()), false},
        {"models/players/hud/body_default.skin", "u_body,\"models/players/hud/body.tga\"\n", true},
        {"Models/Players/HUD/Other.md", std::string(600, 'z'), false},
        {"models/players/hud/", "", true},
    };
    const std::string good = dir + "/good.pk3";
    if (!writeZip(good, entries)) return false;
    const std::string bytes = readAll(good);
    const std::size_t central = bytes.find("PK\1\2");
    if (bytes.size() < 64 || central == std::string::npos) return false;
    bool ok = true;
    auto write = [&](const std::string& name, const std::string& b) { ok &= mg::writeFile(dir + "/" + name, b); };
    write("truncated.pk3", bytes.substr(0, bytes.size() - 40));
    // The first member's stated size in both headers: far too big, too small.
    std::string huge = bytes, small = bytes;
    for (std::size_t at : {std::size_t{22}, central + 24}) {
        huge[at + 3] = '\x7F';
        small.replace(at, 4, std::string("\x10\0\0\0", 4));
    }
    write("huge_size.pk3", huge);
    write("small_size.pk3", small);
    // Renamed in both headers to names of the same length: one climbing
    // out, one repeating the body's name in other letter case.
    std::string dotdot = bytes;
    replaceAll(dotdot, "models/players/hud/body_default.skin", "../els/players/hud/body_default.skin");
    write("dotdot.pk3", dotdot);
    std::string repeated = bytes;
    replaceAll(repeated, "Models/Players/HUD/Other.md", "MODELS/players/hud/BODY.mds");
    write("repeated.pk3", repeated);
    return ok;
}

}  // namespace seeds

#else
namespace seeds {
bool pk3(const std::string&) { return true; }
}  // namespace seeds
#endif
