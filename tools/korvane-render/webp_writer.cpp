#include "webp_writer.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>

#include "platform/sys/output_file.h"

namespace kr {

AnimatedWebp::AnimatedWebp(int width, int height, int loopCount, std::uint32_t background)
    : width_(width), height_(height) {
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) return;
    options.anim_params.loop_count = loopCount;
    options.anim_params.bgcolor = background;
    encoder_ = WebPAnimEncoderNew(width, height, &options);
}

AnimatedWebp::~AnimatedWebp() { WebPAnimEncoderDelete(encoder_); }

bool AnimatedWebp::add(const Image& rgb, int timestampMs, std::string& error) {
    if (encoder_ == nullptr) {
        error = "cannot start the WebP encoder (out of memory?)";
        return false;
    }
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) {
        error = "WebP library version mismatch";
        return false;
    }
    // Lossy at quality 80: about a quarter of the lossless size and faster,
    // with no visible loss on these pictures; --out FILE.png keeps every
    // pixel exact.
    config.lossless = 0;
    config.method = 2;
    config.quality = 80;
    picture.use_argb = 1;
    picture.width = width_;
    picture.height = height_;
    const int stride = static_cast<int>(rgb.rowBytes());
    bool ok = rgb.width == width_ && rgb.height == height_ &&
              (rgb.channels == 4 ? WebPPictureImportRGBA(&picture, rgb.pixels.data(), stride)
                                 : WebPPictureImportRGB(&picture, rgb.pixels.data(), stride)) != 0;
    ok = ok && WebPAnimEncoderAdd(encoder_, &picture, timestampMs, &config) != 0;
    WebPPictureFree(&picture);
    if (!ok) error = std::string("WebP encoding failed: ") + WebPAnimEncoderGetError(encoder_);
    return ok;
}

bool AnimatedWebp::finish(int endMs, const std::string& path, std::string& error) {
    WebPData data;
    WebPDataInit(&data);
    if (encoder_ == nullptr || !WebPAnimEncoderAdd(encoder_, nullptr, endMs, nullptr) ||
        !WebPAnimEncoderAssemble(encoder_, &data)) {
        error = std::string("WebP encoding failed: ") + (encoder_ ? WebPAnimEncoderGetError(encoder_) : "no encoder");
        WebPDataClear(&data);
        return false;
    }
    std::FILE* file = sys::openForWriting(path);
    bool ok = file != nullptr && std::fwrite(data.bytes, 1, data.size, file) == data.size;
    if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    WebPDataClear(&data);
    if (!ok) error = "cannot write " + path;
    return ok;
}

}  // namespace kr
