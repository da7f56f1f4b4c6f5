#include "run_tool.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace krt {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int statusOf(int raw) { return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1; }

}  // namespace

Result runRender(const std::string& dir, const std::vector<std::string>& args, const std::string& environment) {
    std::string command = "cd " + quoted(dir) + " && " + environment + " " + quoted(KORVANE_RENDER_PATH);
    for (const std::string& a : args) command += " " + quoted(a);
    command += " 2>render.err >render.out";
    Result run;
    run.status = statusOf(std::system(command.c_str()));
    std::istringstream err(readFile(dir + "/render.err"));
    for (std::string line; std::getline(err, line);) {
        if (line.rfind("korvane-render: ", 0) == 0) run.ownLines.push_back(line);
    }
    return run;
}

int runMkplayer(const std::string& dir) {
    const std::string command = quoted(MKPLAYER_PATH) + " " + quoted(dir) + " >/dev/null";
    return statusOf(std::system(command.c_str()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture readPng(const std::string& path, int channels) {
    Picture picture;
    picture.channels = channels;
    unsigned char* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &picture.fileChannels, channels);
    if (pixels == nullptr) return {};
    picture.rgb.assign(pixels, pixels + static_cast<std::size_t>(channels) * picture.width * picture.height);
    stbi_image_free(pixels);
    return picture;
}

Extent modelIn(const Picture& im, int x0, int width) {
    Extent e;
    for (int y = 0; y < im.height; ++y) {
        for (int x = x0; x < x0 + width; ++x) {
            const unsigned char* p = im.at(x, y);
            const bool background = im.channels == 4 ? p[3] == 0 : (p[0] == 255 && p[1] == 255 && p[2] == 255);
            if (background) continue;
            e.left = std::min(e.left, x - x0);
            e.right = std::max(e.right, x - x0);
            e.top = std::min(e.top, y);
            e.bottom = std::max(e.bottom, y);
            ++e.count;
        }
    }
    return e;
}

}  // namespace krt
