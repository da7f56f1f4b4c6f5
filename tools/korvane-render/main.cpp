// korvane-render: the viewer's picture from the command line. Parses the
// options, makes the OpenGL surface (headless_surface.h: no display and no
// window system on Linux, a hidden window on Windows),
// installs it with the offscreen shell and the OpenGL device, and lets
// render_job build the viewer's renderer and the player scene, writing the
// logs through RunLogs.
//
// Exit status: 0 every picture written; 1 the model or a picture failed
// (no OpenGL context, body not loadable, frame past the animation, file not
// writable); 2 a wrong argument, or options a model file named alone does
// not suit (an MDM mesh without --skeleton, an MDX file alone); 3 (--strict)
// every picture written but a log holds ERROR lines. Every failure is one line on stderr.
#include <cstdio>
#include <memory>
#include <string>

#include "anim_job.h"
#include "char_job.h"
#include "cli/program_info.h"
#include "headless_surface.h"
#include "offscreen_shell.h"
#include "options.h"
#include "platform/d3d8/d3d8.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/sys/command_line.h"
#include "render_job.h"
#include "run_logs.h"
#include "scene_job.h"

namespace {

int fail(const std::string& reason, int status) {
    std::fprintf(stderr, "korvane-render: %s\n", reason.c_str());
    return status;
}

// Draws every picture on the surface; with --strict a log's ERROR lines
// are repeated on stderr and make the status 3.
int render(const kr::Options& options) {
    std::string error;
    const int samples = options.picture.samples;
    std::unique_ptr<kr::HeadlessSurface> surface =
        kr::HeadlessSurface::create(options.width, options.height, error, samples);
    if (!surface) return fail("no headless OpenGL context: " + error, 1);
    if (surface->samples() < samples) {
        std::fprintf(stderr, "korvane-render: note: --samples %d: the OpenGL context gives at most %d; drawing with %d\n",
                     samples, surface->samples(), surface->samples());
    }
    kr::HeadlessSurface::install(surface.get());
    const HWND window = kr::HeadlessSurface::window();
    kr::OffscreenShell windowSystem(window, options.width, options.height);
    shell::setCurrent(&windowSystem);
    setDirect3DFactory(createGlDirect3D);

    kr::RunLogs logs(options);
    const bool done = kr::renderFrames(options, *surface, window, logs, error);

    shell::setCurrent(nullptr);
    setSurfaceProvider(nullptr);
    if (!done) return fail(error, 1);
    if (!options.strict) return 0;
    const std::vector<std::string> errors = logs.errorLines();
    for (const std::string& line : errors) fail(line, 3);
    return errors.empty() ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    sys::useUtf8CommandLine(argc, argv);
    kr::Options options;
    std::string error;
    if (!kr::parseOptions(argc, argv, options, error)) {
        fail(error, 2);
        std::fputs(kr::kUsage, stderr);
        std::fputs(kr::kPictureUsage, stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(kr::kUsage, stdout);
        std::fputs(kr::kPictureUsage, stdout);
        return 0;
    }
    if (options.version) {
        cli::printVersion("korvane-render");
        return 0;
    }
    if (options.listAnims && !options.scene.character.empty())
        return kr::listCharacterAnimations(options, error) ? 0 : fail(error, 1);
    if (options.listAnims) return kr::listAnimations(options, error) ? 0 : fail(error, 1);
    if (const int status = kr::checkModelFile(options, error); status != 0) return fail(error, status);
    return render(options);
}
