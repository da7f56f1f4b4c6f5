// Runs korvane-render (or mkplayer) in a directory and collects its exit
// status and the lines it wrote to stderr that are its own (its standard
// output stays in render.out in that directory); reads the pictures back.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace krt {

struct Result {
    int status = -1;
    std::vector<std::string> ownLines;  // stderr lines starting "korvane-render: "
};

// `args` are passed one by one, each quoted for the shell; `environment`
// goes before the program as it stands (e.g. "env -u DISPLAY").
Result runRender(const std::string& dir, const std::vector<std::string>& args, const std::string& environment = {});
int runMkplayer(const std::string& dir);
std::string readFile(const std::string& path);

// A PNG file's pixels as 8-bit RGB (or RGBA) rows, the top row first;
// 0 × 0 when the file cannot be read.
struct Picture {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<unsigned char> rgb;
    int fileChannels = 0;  // as stored: 3 RGB, 4 RGBA

    std::pair<int, int> size() const { return {width, height}; }
    const unsigned char* at(int x, int y) const {
        return &rgb[static_cast<std::size_t>(channels) * (static_cast<std::size_t>(y) * width + x)];
    }
    bool operator==(const Picture&) const = default;
};
Picture readPng(const std::string& path, int channels = 3);

// Where the model is in columns [x0, x0 + width) of a picture: the pixels
// that are not the background (white, or alpha 0 in an RGBA picture).
struct Extent {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    long count = 0;
    int spanX() const { return right - left + 1; }
    int spanY() const { return bottom - top + 1; }
};
Extent modelIn(const Picture& picture, int x0, int width);

}  // namespace krt
