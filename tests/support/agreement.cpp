#include "agreement.h"

#include "browser/format_trees.h"
#include "browser/mds_file.h"
#include "browser/text_tree.h"
#include "formats/identify.h"
#include "formats/mdc_index.h"
#include "formats/mds_index.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "recording_device.h"

namespace agreement {

namespace {

using formats::Reader;

constexpr Reader kReaders[] = {Reader::Walk, Reader::Draw, Reader::Print};

const char* nameOf(Reader r) { return r == Reader::Walk ? "walk" : r == Reader::Draw ? "draw" : "print"; }

bool stops(const formats::Report& report, Reader reader) {
    for (const auto& f : report.findings())
        if (formats::stops(f.need, reader)) return true;
    return false;
}

// First-fatal against collect-all, for each reader.
template <class Index>
void walks(const char* format, formats::ByteView bytes, Index index, std::string& out) {
    formats::Report report;
    index(bytes, &report, Reader::Print);
    for (const Reader r : kReaders) {
        const bool accepted = index(bytes, nullptr, r);
        if (accepted == stops(report, r))
            out += std::string(format) + " " + nameOf(r) + ": first-fatal " + (accepted ? "accepts" : "refuses") +
                   ", collect-all " + (accepted ? "stops it" : "does not stop it") + "\n";
    }
}

void expect(bool actual, bool expected, const char* what, std::string& out) {
    if (actual != expected) out += std::string(what) + (actual ? " accepts" : " refuses") + " against its walk\n";
}

}  // namespace

std::string disagreements(const std::uint8_t* data, std::size_t size, const std::string& path) {
    const formats::ByteView bytes(data, size);
    const formats::Format format = formats::identify(bytes).format;
    std::string out;
    walks("MDS", bytes,
          [](formats::ByteView b, formats::Report* report, Reader r) {
              return report ? (formats::indexMds(b, *report), true) : formats::indexMds(b, r).ok();
          },
          out);
    walks("MDC", bytes,
          [](formats::ByteView b, formats::Report* report, Reader r) {
              return report ? (formats::indexMdc(b, *report), true) : formats::indexMdc(b, r).ok();
          },
          out);
    walks("MD3", bytes,
          [](formats::ByteView b, formats::Report* report, Reader r) {
              return report ? (formats::indexMd3(b, *report), true) : formats::indexMd3(b, r).ok();
          },
          out);
    walks("MDM", bytes,
          [](formats::ByteView b, formats::Report* report, Reader r) {
              return report ? (formats::indexMdm(b, *report), true) : formats::indexMdm(b, r).ok();
          },
          out);
    walks("MDX", bytes,
          [](formats::ByteView b, formats::Report* report, Reader r) {
              return report ? (formats::indexMdx(b, *report), true) : formats::indexMdx(b, r).ok();
          },
          out);

    rec::RecordingDevice device;
    const bool mdc = format == formats::Format::Mdc;
    {
        MDS body(&device, "m");
        expect(body.loadFromFile(path.c_str()) == 1,
               formats::isMds(bytes) && formats::indexMds(bytes, Reader::Draw).ok(), "the body loader", out);
    }
    {
        MDC model(&device);
        expect(model.loadFromFile(path.c_str()) == 1, mdc && formats::indexMdc(bytes, Reader::Draw).ok(),
               "the MDC loader", out);
    }
    browser::MdsFile file;
    expect(file.adopt(data, static_cast<std::uint32_t>(size)) && file.resolve(),
           formats::isMds(bytes) && formats::indexMds(bytes, Reader::Walk).ok(), "the browser", out);
    // The printers of the other formats stop exactly where their walk did.
    const auto printer = [&](const char* what, auto index, auto tree) {
        browser::TextTree text("f");
        expect(tree(index, text), index.ok(), what, out);
    };
    if (mdc)
        printer("the MDC printer", formats::indexMdc(bytes, Reader::Print),
                [&](const auto& x, browser::TextTree& t) { return browser::mdcTree(bytes, x, t.root(), t); });
    if (format == formats::Format::Md3)
        printer("the MD3 printer", formats::indexMd3(bytes, Reader::Print),
                [&](const auto& x, browser::TextTree& t) { return browser::md3Tree(bytes, x, t.root(), t); });
    if (format == formats::Format::Mdm)
        printer("the MDM printer", formats::indexMdm(bytes, Reader::Print), [&](const auto& x, browser::TextTree& t) {
            return browser::mdmTree(bytes, x, browser::BoneNames(), t.root(), t);
        });
    if (format == formats::Format::Mdx)
        printer("the MDX printer", formats::indexMdx(bytes, Reader::Print),
                [&](const auto& x, browser::TextTree& t) { return browser::mdxTree(bytes, x, t.root(), t); });
    return out;
}

}  // namespace agreement
