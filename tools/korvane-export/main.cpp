// korvane-export: a player folder, one model file or a character of the
// sibling game as a glTF 2.0 file.
//
// Exit status: 0 written; 1 the model could not be read or the file could
// not be written (nothing is left behind then); 2 a wrong argument. Each
// failure is one line on stderr; problems that do not stop the export (a
// missing texture, skin or attachment) are warnings there.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/program_info.h"
#include "export/gltf_file.h"
#include "export/load_character.h"
#include "export/load_model.h"
#include "export/load_player.h"
#include "export/textures.h"
#include "formats/families/split_pose.h"
#include "options.h"
#include "platform/sys/command_line.h"
#include "platform/sys/game_root.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"
#include "skin/names.h"

namespace {

int fail(const std::string& reason, int status) {
    std::fprintf(stderr, "korvane-export: %s\n", reason.c_str());
    return status;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The shader's file name without folder and extension, beside the model.
std::string besideModel(const std::string& modelPath, const std::string& shader) {
    std::string name = shader.substr(shader.find_last_of("/\\") + 1);
    if (const std::size_t dot = name.find('.'); dot != std::string::npos) name.resize(dot);
    return folderOf(modelPath) + "/" + name;
}

void shaderMaterials(const std::string& path, exporter::Asset& asset) {
    exporter::Textures textures(asset);
    const auto material = [&](const std::string& surface, const std::string& shader) {
        if (shader.empty()) return textures.plainMaterial(surface);
        return textures.material(shader, besideModel(path, shader), shaderGamePath(shader.c_str()),
                                 "the shader '" + shader + "' of the surface '" + surface + "'");
    };
    for (exporter::SkinnedSurface& s : asset.skinned) s.material = material(s.name, s.shader);
    for (exporter::FrameModel& m : asset.models)
        for (exporter::FrameSurface& s : m.surfaces) s.material = material(s.name, s.shader);
}

bool selectClips(const kx::Options& o, exporter::Asset& asset, std::string& error) {
    if (o.noAnims) {
        asset.clips.clear();
        return true;
    }
    if (o.anims.empty()) return true;
    std::vector<exporter::Clip> chosen;
    for (const std::string& name : o.anims) {
        const auto found = std::find_if(asset.clips.begin(), asset.clips.end(),
                                        [&](const exporter::Clip& c) { return c.name == name; });
        if (found == asset.clips.end()) {
            error = "no animation '" + name + "' (a model file has one, 'frames')";
            return false;
        }
        chosen.push_back(*found);
    }
    asset.clips = chosen;
    return true;
}

// The clips of --legs and --torso, just added, as the asset's one clip:
// the legs row with the torso row beside it.
bool makePair(const kx::Options& o, exporter::Asset& asset, std::string& error) {
    const auto named = [&](const std::string& name) {
        return std::find_if(asset.clips.begin(), asset.clips.end(),
                            [&](const exporter::Clip& c) { return c.name == name; });
    };
    const auto legs = named(o.legs), torso = named(o.torso);
    if (legs == asset.clips.end() || torso == asset.clips.end()) {
        error = "no animation '" + (legs == asset.clips.end() ? o.legs : o.torso) + "'";
        return false;
    }
    exporter::Clip pair = *legs;
    pair.torso = static_cast<const exporter::Row&>(*torso);
    if (o.aim) formats::anglesToAxis(o.aimPitch, o.aimYaw, 0.0f, pair.torsoAxis);
    asset.clips = {pair};
    return true;
}

bool loadPlayerFolder(const kx::Options& o, const exporter::PlayerInput& in, exporter::Asset& asset,
                      std::string& error) {
    if (!exporter::loadPlayer(in, asset, error)) return false;
    if (!o.legs.empty())
        return exporter::addConfigClips(in, {o.legs, o.torso}, asset, error) && makePair(o, asset, error);
    if (o.noAnims) return true;
    const std::string config = in.modelDir + "\\wolfanim.cfg";
    if (o.anims.empty() && sys::fileIdentity(config.c_str()).empty()) {
        // No config: every frame is one clip.
        exporter::Clip all;
        all.name = "frames";
        all.numFrames = asset.numFrames();
        all.loopFrames = all.numFrames;
        all.fps = o.fps;
        asset.clips.push_back(all);
        return true;
    }
    return exporter::addConfigClips(in, o.anims, asset, error);
}

// The character's findings go to stderr as the game words them; what
// loads is exported.
bool loadCharacterInput(const kx::Options& o, exporter::Asset& asset, std::string& error) {
    game::SearchPath search;
    if (!game::searchPathFor(o.gameDirs, o.character, search, error)) return false;
    const game::Character c = game::loadCharacter(o.character, search);
    for (const game::Message& m : c.messages)
        if (m.severity != game::Severity::Note) std::fprintf(stderr, "korvane-export: %s\n", m.text().c_str());
    if (o.verbose)
        for (const std::string& line : game::provenance(c, search))
            std::fprintf(stderr, "korvane-export: %s\n", line.c_str());
    if (!exporter::loadCharacter(c, search, asset, error)) return false;
    if (!o.legs.empty())
        return exporter::addCharacterClips(c, {o.legs, o.torso}, asset, error, true) && makePair(o, asset, error);
    // Each row plays on the MDX file of its animfile block, as in the game.
    return o.noAnims || exporter::addCharacterClips(c, o.anims, asset, error, true);
}

bool load(const kx::Options& o, exporter::Asset& asset, std::string& error) {
    if (!o.character.empty()) return loadCharacterInput(o, asset, error);
    if (!o.baseDir.empty()) {
        exporter::PlayerInput in;
        // The viewer's model folder: BaseDir, a backslash and the name, lower-cased.
        in.modelDir = skin::lowered((o.baseDir + "\\" + o.model).c_str());
        in.modelName = o.model;
        in.bodySkin = o.bodySkin;
        in.headSkin = o.headSkin;
        return loadPlayerFolder(o, in, asset, error);
    }
    std::error_code ec;
    // A folder on disk, or one inside a .pk3 archive that holds a body.
    if (std::filesystem::is_directory(sys::fsPath(o.input), ec) || !sys::fileIdentity((o.input + "/body.mds").c_str()).empty()) {
        if (!o.skeleton.empty()) {
            error = "--skeleton goes with an MDM file, not a player folder";
            return false;
        }
        exporter::PlayerInput in;
        in.modelDir = o.input;
        in.modelName = sys::utf8Path(std::filesystem::weakly_canonical(sys::fsPath(o.input), ec).filename());
        if (in.modelName.empty()) in.modelName = sys::utf8Path(sys::fsPath(o.input).filename());
        in.bodySkin = o.bodySkin;
        in.headSkin = o.headSkin;
        return loadPlayerFolder(o, in, asset, error);
    }
    formats::Format format = formats::Format::Unknown;
    if (!exporter::loadModelFile(o.input, o.skeleton, o.fps, asset, error, &format)) return false;
    if (!o.legs.empty()) {
        // One file holds no animation rows to pair.
        error = asset.skeleton ? "animation '" + o.legs + "': a mesh alone has no animation rows (export its character with --char)"
                               : o.input + ": --legs and --torso pose skeletal bodies; an " +
                                     formats::formatInfo(format).name + " model has frames only (--frame, --anim frames)";
        return false;
    }
    shaderMaterials(o.input, asset);
    return selectClips(o, asset, error);
}

}  // namespace

int main(int argc, char** argv) {
    sys::useUtf8CommandLine(argc, argv);
    kx::Options o;
    std::string error;
    if (!kx::parseOptions(argc, argv, o, error)) {
        fail(error, 2);
        std::fputs(kx::kUsage, stderr);
        return 2;
    }
    if (o.help) {
        std::fputs(kx::kUsage, stdout);
        return 0;
    }
    if (o.version) {
        cli::printVersion("korvane-export");
        return 0;
    }
    if (!o.gameDir.empty()) sys::setGameRoot(o.gameDir);
    exporter::Asset asset;
    if (!load(o, asset, error)) return fail(error, 1);
    exporter::ExportOptions options;
    options.scale = o.scale;
    options.frame = o.frame;
    options.bindFrame = o.bindFrame;
    options.weightsPerVertex = o.weights;
    options.generator = "korvane-export " + std::string(cli::version());
    exporter::ExportReport report;
    if (!exporter::writeGltf(asset, options, o.out, report, error)) return fail(error, 1);
    for (const std::string& w : asset.warnings) fail("warning: " + w, 0);
    if (report.skinned) {
        std::fprintf(stderr, "korvane-export: bind frame %u, residual %.6g units\n", report.bind.frame,
                     report.bind.residual);
        std::fprintf(stderr,
                     "korvane-export: %llu vertices had more than %d weights (largest dropped %.6g), %llu had none\n",
                     static_cast<unsigned long long>(report.loss.vertices), o.weights, report.loss.largestDropped,
                     static_cast<unsigned long long>(report.loss.unweighted));
    }
    if (o.verbose)
        for (const std::string& file : exporter::outputFiles(o.out, asset))
            std::fprintf(stderr, "korvane-export: wrote %s (%zu meshes, %zu nodes, %zu animations, %zu morph targets)\n",
                         file.c_str(), report.meshes, report.nodes, report.animations, report.morphTargets);
    return 0;
}
