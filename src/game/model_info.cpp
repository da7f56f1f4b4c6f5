#include "game/model_info.h"

#include <algorithm>

#include "formats/byte_view.h"
#include "formats/md3_index.h"
#include "formats/mdc_index.h"
#include "formats/mdm_index.h"
#include "formats/mdx_index.h"
#include "game/read_file.h"

namespace game {

namespace {

using formats::ByteView;
using formats::Format;
using formats::Reader;

void names(ByteView bytes, const formats::ListAt& list, std::int64_t stride, std::vector<std::string>& out) {
    if (!list.inside) return;
    for (std::int64_t i = 0; i < list.count; ++i) {
        // A 64-byte name leads both records that hold tag names.
        out.push_back(formats::nameOf(bytes.read<formats::MdcTagName>(list.at + i * stride).Name));
    }
}

// Each format's index, what it tells, and why it was refused.
template <class Index>
bool refused(const Index& index, ModelRead& out) {
    if (index.ok()) return false;
    out.id = index.refusal->id;
    out.why = "is damaged: " + index.refusal->text();
    return true;
}

void describe(ByteView bytes, ModelRead& out) {
    ModelInfo& info = out.info;
    switch (info.format) {
    case Format::Mdm: {
        const formats::MdmIndex index = formats::indexMdm(bytes, Reader::Draw, false);
        if (refused(index, out)) return;
        for (const auto& t : index.tags) info.tags.push_back(t.name);
        for (const auto& s : index.surfaces) info.surfaces.push_back(s.name);
        break;
    }
    case Format::Mdx: {
        const formats::MdxIndex index = formats::indexMdx(bytes, Reader::Draw);
        if (refused(index, out)) return;
        info.frames = index.header.NumFrames;
        info.bones = index.header.NumBones;
        break;
    }
    case Format::Md3: {
        const formats::Md3Index index = formats::indexMd3(bytes, Reader::Draw);
        if (refused(index, out)) return;
        info.frames = index.header.NumFrames;
        formats::ListAt frame0 = index.tags;
        frame0.count = std::min<std::int64_t>(frame0.count, index.header.NumTags);
        names(bytes, frame0, sizeof(formats::Md3Tag), info.tags);
        for (const auto& s : index.surfaces) info.surfaces.push_back(formats::nameOf(s.header.Name));
        break;
    }
    case Format::Mdc: {
        const formats::MdcIndex index = formats::indexMdc(bytes, Reader::Draw);
        if (refused(index, out)) return;
        info.frames = index.numFrames();
        names(bytes, index.tagNames, sizeof(formats::MdcTagName), info.tags);
        for (const auto& s : index.surfaces) info.surfaces.push_back(formats::nameOf(s.header.Name));
        break;
    }
    default: break;
    }
    out.ok = true;
}

}  // namespace

bool ModelInfo::hasTag(const std::string& name) const { return std::find(tags.begin(), tags.end(), name) != tags.end(); }

ModelRead readModelInfo(const std::string& path) {
    ModelRead out;
    const FileRead read = readFile(path, kMaxModelBytes);
    if (!read.ok) {
        out.id = read.tooLarge ? formats::Id::ReadBudget : formats::Id::Unreadable;
        out.why = read.why;
        return out;
    }
    const ByteView bytes(read.bytes.data(), read.bytes.empty() ? 0 : read.size);
    const formats::Identity identity = formats::identify(bytes);
    out.info.format = identity.format;
    if (identity.format == Format::Unknown) {
        out.id = formats::Id::NotModel;
        out.why = "is not a model file (its first bytes are no model's)";
        return out;
    }
    describe(bytes, out);
    return out;
}

}  // namespace game
