// korvane-render: the viewer's picture from the command line. Parses the
// options, makes the OpenGL surface (EGL without a display; Qt's offscreen
// surface on a display where EGL cannot), installs it with the offscreen
// shell and the OpenGL device, and lets render_job run the viewer's own
// start-up and assembly, writing the logs through RunLogs.
//
// Exit status: 0 every picture written; 1 the model or a picture failed
// (no OpenGL context, body not loadable, frame past the animation, file not
// writable); 2 a wrong argument; 3 (--strict) every picture written but a
// log holds ERROR lines. Every failure is one line on stderr.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/program_info.h"
#include "anim_job.h"
#include "offscreen_shell.h"
#include "options.h"
#include "platform/d3d8/d3d8.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/qt/qt_offscreen_surface.h"
#include "render_job.h"
#include "run_logs.h"
#if defined(KV_RENDER_HAVE_EGL)
#include "platform/egl/egl_surface.h"
#endif

namespace {

int fail(const std::string& reason, int status) {
    std::fprintf(stderr, "korvane-render: %s\n", reason.c_str());
    return status;
}

bool haveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (platform != nullptr && *platform != '\0') || (x11 != nullptr && *x11 != '\0') ||
           (wayland != nullptr && *wayland != '\0');
}

// Draws every picture on the installed surface; with --strict a log's
// ERROR lines are repeated on stderr and make the status 3.
int draw(const kr::Options& options, GlSurface& surface, HWND window) {
    kr::OffscreenShell windowSystem(window, options.width, options.height);
    shell::setCurrent(&windowSystem);
    setDirect3DFactory(createGlDirect3D);

    kr::RunLogs logs(options);
    std::string error;
    const bool done = kr::renderFrames(options, surface, windowSystem, logs, error);

    shell::setCurrent(nullptr);
    setSurfaceProvider(nullptr);
    if (!done) return fail(error, 1);
    if (!options.strict) return 0;
    const std::vector<std::string> errors = logs.errorLines();
    for (const std::string& line : errors) fail(line, 3);
    return errors.empty() ? 0 : 3;
}

int drawWithQt(int argc, char** argv, const kr::Options& options, const std::string& why) {
    if (!haveDisplay()) {
        return fail("no OpenGL context: " + why + ", and no display for one (run under xvfb-run -a)", 1);
    }
    // Qt's offscreen platform still gets its OpenGL context from the X
    // display, but shows nothing and needs no window manager.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    qtshell::OffscreenSurface surface(options.width, options.height);
    if (!surface.valid()) return fail("no OpenGL 3.3 core context (on a machine without a display: xvfb-run -a)", 1);
    qtshell::OffscreenSurface::install(&surface);
    return draw(options, surface, qtshell::OffscreenSurface::window());
}

// KORVANE_RENDER_CONTEXT=egl or qt takes only that surface; unset, EGL is
// tried first and Qt is the fallback.
int render(int argc, char** argv, const kr::Options& options) {
    const char* choice = std::getenv("KORVANE_RENDER_CONTEXT");
    const bool onlyQt = choice != nullptr && std::strcmp(choice, "qt") == 0;
    const bool onlyEgl = choice != nullptr && std::strcmp(choice, "egl") == 0;
    std::string why = "EGL is not built in";
#if defined(KV_RENDER_HAVE_EGL)
    if (!onlyQt) {
        std::unique_ptr<eglsurface::EglSurface> surface =
            eglsurface::EglSurface::create(options.width, options.height, why);
        if (surface) {
            eglsurface::EglSurface::install(surface.get());
            return draw(options, *surface, eglsurface::EglSurface::window());
        }
    }
#endif
    if (onlyEgl) return fail("no headless OpenGL context: " + why, 1);
    return drawWithQt(argc, argv, options, why);
}

}  // namespace

int main(int argc, char** argv) {
    kr::Options options;
    std::string error;
    if (!kr::parseOptions(argc, argv, options, error)) {
        fail(error, 2);
        std::fputs(kr::kUsage, stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(kr::kUsage, stdout);
        return 0;
    }
    if (options.version) {
        cli::printVersion("korvane-render");
        return 0;
    }
    if (options.listAnims) return kr::listAnimations(options, error) ? 0 : fail(error, 1);
    return render(argc, argv, options);
}
