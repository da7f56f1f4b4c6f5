#include "model_files.h"

#include <filesystem>

#include "modelgen/bytes.h"
#include "modelgen/samples.h"
#include "modelgen/skin_writer.h"

namespace app_test {

void writeBody(const std::string& dir, int frames) {
    std::filesystem::create_directories(dir);
    mg::MdsModel body = mg::sampleMds();
    if (frames > 0) body.frames.resize(static_cast<std::size_t>(frames), body.frames.front());
    mg::writeFile(dir + "/body.mds", mg::writeMds(body).bytes);
}

void writeModelFolder(const std::string& dir) {
    writeBody(dir);
    const mg::MdsModel body = mg::sampleMds();
    std::vector<mg::SkinEntry> entries;
    for (const auto& s : body.surfaces) entries.push_back({s.name, "textures/" + s.name});
    mg::writeFile(dir + "/body_default.skin", mg::skinText(entries));
    mg::writeFile(dir + "/head_default.skin", mg::skinText({{"h_head", "textures/face"}}));
    mg::writeFile(dir + "/head.mdc", mg::writeMdc(mg::sampleMdc()).bytes);
}

}  // namespace app_test
