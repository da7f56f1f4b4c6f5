// Writing an asset as a .glb (JSON and binary chunk in one file, images
// inside) or a .gltf (JSON, a .bin of the same stem, and one file per image
// beside it). Every file is written under a temporary name in its folder
// and renamed only when all of them are complete, so a failure leaves
// nothing behind and never half of an older export.
#pragma once

#include <string>

#include "export/asset.h"
#include "export/gltf_build.h"

namespace exporter {

// The files an export to `path` writes (the .gltf form: .bin and images).
std::vector<std::string> outputFiles(const std::string& path, const Asset& asset);

// Builds and writes; false with one line on failure (nothing written).
bool writeGltf(const Asset& asset, ExportOptions options, const std::string& path, ExportReport& report,
               std::string& error);

// True when `path` ends in .glb (any letter case); .gltf otherwise.
bool binaryPath(const std::string& path);

}  // namespace exporter
