#include "export/gltf_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

#include "platform/sys/output_file.h"
#include "platform/sys/path.h"

namespace exporter {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

std::string stemOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(0, dot) : path;
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A file written under a temporary name beside its final one.
class Staged {
public:
    explicit Staged(std::string path) : path_(std::move(path)), temp_(path_ + ".part" + std::to_string(getpid())) {}
    ~Staged() {
        std::error_code ec;
        if (!renamed_) std::filesystem::remove(sys::fsPath(temp_), ec);
    }
    Staged(Staged&&) = default;

    bool write(const void* data, std::size_t size, std::string& error) {
        std::FILE* f = sys::openForWriting(temp_);
        if (f == nullptr) {
            error = "cannot write " + path_ + ": " + std::strerror(errno);
            return false;
        }
        const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
        const int saved = errno;
        if (std::fclose(f) != 0 || !written) {
            error = "cannot write " + path_ + ": " + std::strerror(written ? errno : saved);
            return false;
        }
        return true;
    }
    bool commit(std::string& error) {
        std::error_code ec;
        std::filesystem::rename(sys::fsPath(temp_), sys::fsPath(path_), ec);
        if (ec) {
            error = "cannot write " + path_ + ": " + ec.message();
            return false;
        }
        renamed_ = true;
        return true;
    }

private:
    std::string path_, temp_;
    bool renamed_ = false;
};

std::string imageFile(const std::string& path, std::size_t i, const Image& image) {
    return stemOf(path) + "_" + std::to_string(i) + (image.mimeType == "image/jpeg" ? ".jpg" : ".png");
}

}  // namespace

bool binaryPath(const std::string& path) {
    return path.size() >= 4 && lower(path.substr(path.size() - 4)) == ".glb";
}

std::vector<std::string> outputFiles(const std::string& path, const Asset& asset) {
    std::vector<std::string> files = {path};
    if (binaryPath(path)) return files;
    files.push_back(stemOf(path) + ".bin");
    for (std::size_t i = 0; i < asset.images.size(); ++i) files.push_back(imageFile(path, i, asset.images[i]));
    return files;
}

bool writeGltf(const Asset& asset, ExportOptions options, const std::string& path, ExportReport& report,
               std::string& error) {
    const bool binary = binaryPath(path);
    options.imageUris.clear();
    if (!binary)
        for (std::size_t i = 0; i < asset.images.size(); ++i)
            options.imageUris.push_back(fileName(imageFile(path, i, asset.images[i])));
    tinygltf::Model model;
    if (!buildGltf(asset, options, model, report, error)) return false;

    std::vector<Staged> staged;
    std::ostringstream out;
    tinygltf::TinyGLTF writer;
    if (binary) {
        if (!writer.WriteGltfSceneToStream(&model, out, false, true)) {
            error = "cannot write " + path + ": the glTF writer failed";
            return false;
        }
    } else {
        // The writer would put the buffer into the JSON as base64: the JSON
        // is written without it and the buffer and images are named in it.
        std::vector<unsigned char> bin = std::move(model.buffers[0].data);
        model.buffers.clear();
        model.images.clear();
        if (!writer.WriteGltfSceneToStream(&model, out, true, false)) {
            error = "cannot write " + path + ": the glTF writer failed";
            return false;
        }
        nlohmann::json json = nlohmann::json::parse(out.str());
        json["buffers"] = nlohmann::json::array(
            {{{"uri", fileName(stemOf(path) + ".bin")}, {"byteLength", bin.size()}}});
        if (!asset.images.empty()) {
            nlohmann::json images = nlohmann::json::array();
            for (std::size_t i = 0; i < asset.images.size(); ++i)
                images.push_back({{"uri", options.imageUris[i]}, {"name", asset.images[i].name}});
            json["images"] = images;
        }
        staged.emplace_back(stemOf(path) + ".bin");
        if (!staged.back().write(bin.data(), bin.size(), error)) return false;
        for (std::size_t i = 0; i < asset.images.size(); ++i) {
            staged.emplace_back(imageFile(path, i, asset.images[i]));
            const auto& bytes = asset.images[i].bytes;
            if (!staged.back().write(bytes.data(), bytes.size(), error)) return false;
        }
        out.str(json.dump(2) + "\n");
    }
    const std::string text = out.str();
    staged.emplace_back(path);
    if (!staged.back().write(text.data(), text.size(), error)) return false;
    for (Staged& s : staged)
        if (!s.commit(error)) return false;
    return true;
}

}  // namespace exporter
