#include "picture_options.h"

#include <cstdlib>

#include "options.h"

namespace kr {

const char* const kPictureUsage =
    "picture: [--view V | --sheet V,V,...] [--samples 1|2|4|8] [--background COLOR|transparent]\n"
    "         [--no-grid] [--standing]\n"
    "views: front back left right three-quarter top; without --camera the model is framed whole\n"
    "(default three-quarter); COLOR: #rrggbb, white, black, grey.\n";

namespace {

constexpr std::size_t kMaxViews = 8;
constexpr int kMaxWidth = 8192;

bool parseColour(const std::string& text, std::uint32_t& rgb) {
    static const struct {
        const char* name;
        std::uint32_t rgb;
    } kNamed[] = {{"white", 0xFFFFFFu}, {"black", 0x000000u}, {"grey", 0x808080u}, {"gray", 0x808080u}};
    for (const auto& named : kNamed) {
        if (text == named.name) {
            rgb = named.rgb;
            return true;
        }
    }
    if (text.size() != 7 || text[0] != '#') return false;
    for (std::size_t i = 1; i < 7; ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    }
    rgb = static_cast<std::uint32_t>(std::strtoul(text.c_str() + 1, nullptr, 16));
    return true;
}

bool parseViews(const std::string& text, std::vector<View>& views) {
    views.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::optional<View> view = viewNamed(text.substr(start, comma == std::string::npos ? comma : comma - start));
        if (!view || views.size() == kMaxViews) return false;
        views.push_back(*view);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

PictureArgument takePictureArgument(int argc, char** argv, int& i, PictureOptions& p, std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--no-grid") {
        p.grid = false;
        return PictureArgument::taken;
    }
    if (arg == "--standing") {
        p.standing = true;
        return PictureArgument::taken;
    }
    if (arg != "--view" && arg != "--sheet" && arg != "--samples" && arg != "--background") {
        return PictureArgument::other;
    }
    if (i + 1 >= argc) {
        error = arg + " needs a value";
        return PictureArgument::wrong;
    }
    const std::string value = argv[++i];
    bool ok = true;
    if (arg == "--view" || arg == "--sheet") {
        const bool sheet = arg == "--sheet";
        ok = !p.viewGiven && parseViews(value, p.views) && (sheet || p.views.size() == 1);
        if (!ok) {
            error = p.viewGiven ? "give one --view or one --sheet"
                                : arg + (sheet ? " wants 1 to 8 views separated by commas" : " wants one view") +
                                      " (front, back, left, right, three-quarter, top), not \"" + value + "\"";
        }
        p.viewGiven = true;
    } else if (arg == "--samples") {
        ok = value == "1" || value == "2" || value == "4" || value == "8";
        if (ok) p.samples = value[0] - '0';
        if (!ok) error = "--samples wants 1, 2, 4 or 8, not \"" + value + "\"";
    } else {  // --background
        p.transparent = value == "transparent";
        ok = p.transparent || parseColour(value, p.background);
        if (!ok) error = "--background wants #rrggbb, white, black, grey or transparent, not \"" + value + "\"";
    }
    return ok ? PictureArgument::taken : PictureArgument::wrong;
}

bool checkPictureOptions(const Options& o, bool frameGiven, std::string& error) {
    const PictureOptions& p = o.picture;
    if (o.camera && p.viewGiven) {
        error = "--camera excludes --view and --sheet";
        return false;
    }
    if (p.standing && (frameGiven || !o.anim.empty())) {
        error = "--standing excludes --frame, --frames and --anim";
        return false;
    }
    if (pictureWidth(o) > kMaxWidth) {
        error = "--sheet of " + std::to_string(p.views.size()) + " views " + std::to_string(o.width) +
                " pixels wide is wider than " + std::to_string(kMaxWidth);
        return false;
    }
    return true;
}

int pictureWidth(const Options& o) { return o.width * static_cast<int>(o.picture.views.size()); }

}  // namespace kr
