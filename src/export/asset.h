// What the exporter writes, whatever it was read from: a skeleton with its
// frames, surfaces of weighted vertices, tags, vertex-animated models (the
// model itself, or attachments hung on bones and tags), materials with
// their images, and named clips of frames. Readers fill it (load_model.h
// for one file, load_player.h for a player folder; a character of the
// sibling game is one more filler); the glTF builder reads only this.
//
// Everything is in the game's axes (x forward, y left, z up) and units;
// triangles keep the game's winding (clockwise seen from the front).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/byte_view.h"
#include "formats/families/skeleton.h"
#include "platform/sys/whole_file.h"

namespace exporter {

// A skeleton read in place from the bytes of an MDS or MDX file, which the
// asset keeps.
struct Skeleton {
    formats::ByteView bytes;
    formats::SkeletonIndex index;
    std::vector<std::string> names;
    std::vector<std::int32_t> parents;  // -1 for a root, otherwise below the bone's own index
    std::uint32_t numFrames = 0;
    std::int32_t torsoParent = -1;  // the bone the torso turns about
    bool mds = false;               // an MDS body (its tag bones turn as the first game turns them)
    std::string shown;              // the file, as messages name it

    std::size_t size() const { return names.size(); }
    // Every bone's turn and origin at `frame` (below numFrames).
    void pose(std::uint32_t frame, std::vector<formats::BonePose3>& out) const {
        formats::evaluatePose(index, bytes, frame, out);
    }
};

struct Weight {
    std::int32_t bone;
    float weight;
    float offset[3];  // relative to the bone
};

// A surface of an MDS or MDM mesh: each vertex the weighted sum of its
// offsets carried by their bones.
struct SkinnedSurface {
    std::string name;
    std::string shader;  // as stored
    int material = -1;
    std::vector<float> texCoords;            // 2 per vertex
    std::vector<float> normals;              // 3 per vertex, relative to the vertex's first bone
    std::vector<std::uint32_t> weightStart;  // vertex v's weights: [weightStart[v], weightStart[v + 1])
    std::vector<Weight> weights;
    std::vector<std::uint32_t> indices;      // 3 per triangle

    std::uint32_t numVertices() const {
        return weightStart.empty() ? 0u : static_cast<std::uint32_t>(weightStart.size() - 1);
    }
};

// Where a tag or an attached model hangs. Exactly one of: a bone (turned
// with the bone, or by the inverse of its turn as the game turns what hangs
// on an MDS tag bone), a tag of the asset's list, a tag of another attached
// model, or nothing (the scene's root).
struct Mount {
    std::int32_t bone = -1;
    bool inverseTurn = false;
    int tag = -1;
    int model = -1;
    int modelTag = -1;
};

// A fixed place relative to its mount: a point p of what hangs there lies
// at origin + sum over i of p_i * axis[i] (axis rows: forward, left, up).
struct Tag {
    std::string name;
    Mount mount;
    float origin[3] = {0, 0, 0};
    float axis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

// A surface of a vertex-animated model (MD3, MDC): positions and normals
// per frame.
struct FrameSurface {
    std::string name;
    std::string shader;  // the first shader's name, as stored
    int material = -1;
    std::vector<float> texCoords;        // 2 per vertex
    std::vector<std::uint32_t> indices;  // 3 per triangle
    std::vector<float> positions;        // frame-major: 3 per vertex and frame
    std::vector<float> normals;          // the same layout, unit vectors

    std::uint32_t numVertices() const { return static_cast<std::uint32_t>(texCoords.size() / 2); }
};

// A tag of a vertex-animated model: origin and axis rows per frame.
struct FrameTag {
    std::string name;
    std::vector<float> origins;  // 3 per frame
    std::vector<float> axes;     // 9 per frame, rows
};

struct FrameModel {
    std::string name;
    Mount mount;
    std::uint32_t numFrames = 0;
    std::vector<std::string> frameNames;
    std::vector<FrameSurface> surfaces;
    std::vector<FrameTag> tags;
    // Plays the clips' frames (a model exported on its own); otherwise it
    // shows `shownFrame` throughout, as the viewer shows its attachments.
    bool followsClips = false;
    std::uint32_t shownFrame = 0;
};

struct Image {
    std::string name;
    std::string mimeType;  // image/png or image/jpeg
    std::vector<std::uint8_t> bytes;
};

struct Material {
    std::string name;
    int image = -1;
};

// A named run of frames: the skeleton's, or the frame models' that follow
// clips when there is no skeleton.
struct Row {
    std::string name;
    std::uint32_t firstFrame = 0;
    std::uint32_t numFrames = 0;
    std::uint32_t loopFrames = 0;  // the last loopFrames repeat; 0 holds the last frame
    double fps = 20.0;
    bool reversed = false;  // played from the last frame to the first, as the game plays a REVERSED row
    std::string source;     // where the row was read ("models/players/x/wolfanim.cfg:12"), or empty
    int skeleton = 0;       // the skeleton its frames are of: Asset::skeletonOf

    // The file's frame shown at step k of the clip.
    std::uint32_t frameAt(std::uint32_t k) const { return reversed ? firstFrame + numFrames - 1 - k : firstFrame + k; }
};

// A row played on the whole body, or a legs/torso pair: the row plays on
// the legs and `torso` on the torso, each at its own speed, the torso
// turned by `torsoAxis` (rows forward, left, up) about its parent bone, as
// korvane-render poses a body with --legs and --torso (clip_steps.h).
struct Clip : Row {
    std::optional<Row> torso;
    float torsoAxis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

struct Asset {
    std::string name;
    // Files whose bytes the skeleton reads in place.
    std::vector<std::shared_ptr<sys::Block>> files;
    std::optional<Skeleton> skeleton;
    // Further skeleton files of the same bones that rows play on (a
    // character's other MDX files): Row::skeleton 1 and up.
    std::vector<Skeleton> rowSkeletons;
    std::vector<SkinnedSurface> skinned;
    std::vector<Tag> tags;
    std::vector<FrameModel> models;
    std::vector<Material> materials;
    std::vector<Image> images;
    std::vector<Clip> clips;
    // Problems that did not stop the export (a missing texture or
    // attachment), one line each.
    std::vector<std::string> warnings;

    // Frames the clips count: the skeleton's, else the first model's that
    // follows clips, else 1.
    std::uint32_t numFrames() const;
    // 0: the skeleton; k: rowSkeletons[k - 1]. Needs a skeleton.
    const Skeleton& skeletonOf(int k) const { return k <= 0 ? *skeleton : rowSkeletons[static_cast<std::size_t>(k - 1)]; }
};

}  // namespace exporter
