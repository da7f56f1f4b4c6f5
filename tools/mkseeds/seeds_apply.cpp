// fuzz_apply: a skin and a body in one input (two length bytes, the skin,
// the body): the sample body with a skin naming its surfaces and
// accessories, and a long skin over a body of many surfaces.
#include <algorithm>
#include <cstdint>
#include <string>

#include "mkseeds/seeds.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"

namespace seeds {

namespace {

mg::Bytes input(const std::string& skin, const mg::Bytes& body) {
    const std::string text = skin.substr(0, 0xFFFF);
    mg::Bytes out(2 + text.size());
    out[0] = static_cast<std::uint8_t>(text.size() & 0xFF);
    out[1] = static_cast<std::uint8_t>(text.size() >> 8);
    std::copy(text.begin(), text.end(), out.begin() + 2);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace

bool apply(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const mg::Bytes& bytes) { ok &= mg::writeFile(dir + "/" + name, bytes); };
    const mg::MdsModel sample = mg::sampleMds();
    std::string skin;
    for (const auto& s : sample.surfaces) skin += s.name + ", models/players/fuzz/" + s.name + ".tga\r\n";
    skin += "md3_beltl,models/players/fuzz/acc/belt.mdc\r\nmd3_part,head\r\nmd3_hat,acc/hat\r\n";
    write("sample.bin", input(skin, mg::writeMds(sample).bytes));
    write("many_surfaces.bin", input(mg::longSkin(1200), mg::manySurfacesMds(300)));
    write("no_skin.bin", input("", mg::writeMds(sample).bytes));
    return ok;
}

}  // namespace seeds
