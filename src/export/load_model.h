// Model files into an asset (asset.h): one file read whole (on disk or in
// a .pk3 archive, any letter case), told by its first bytes, checked by the
// walk of src/formats as the viewer checks what it draws. An MDS body or an
// MDM mesh with its MDX skeleton becomes the skeleton and weighted
// surfaces; an MD3 or MDC model becomes a vertex-animated model. Failures
// are one line naming the file; nothing is added to the asset then.
#pragma once

#include <memory>
#include <string>

#include "export/asset.h"
#include "formats/identify.h"
#include "platform/sys/whole_file.h"

namespace exporter {

// The whole file at `path` (messages name it as `shown`).
std::shared_ptr<sys::Block> readModelFile(const std::string& path, const std::string& shown, std::string& error);

// An MDS body: skeleton, surfaces (without materials) and tags.
bool addMds(Asset& asset, std::shared_ptr<sys::Block> file, const std::string& shown, std::string& error);
// An MDM mesh on the skeleton of an MDX file.
bool addMdm(Asset& asset, std::shared_ptr<sys::Block> mesh, const std::string& meshShown,
            std::shared_ptr<sys::Block> skeleton, const std::string& skeletonShown, std::string& error);
// An MDX skeleton of the asset's bones that rows may play on (Row::skeleton,
// returned); -1 with one line when it cannot be read or its bones differ.
int addRowSkeleton(Asset& asset, std::shared_ptr<sys::Block> file, const std::string& shown, std::string& error);
// An MD3 or MDC model as asset.models.back(), hung at the root.
bool addFrameModel(Asset& asset, const sys::Block& file, const std::string& shown, std::string& error);

// One model file: MDS, MD3, MDC, or MDM with `skeletonPath` (an MDX
// file); materials are left to the caller (textures.h). Every frame is one
// clip, "frames", at `fps`. `told`, when given, gets the file's format
// once it is read.
bool loadModelFile(const std::string& path, const std::string& skeletonPath, double fps, Asset& asset,
                   std::string& error, formats::Format* told = nullptr);

}  // namespace exporter
