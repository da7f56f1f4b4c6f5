// korvane-render: the viewer's picture from the command line. Parses the
// options, opens "log.htm" in the working directory, makes the offscreen
// OpenGL surface and the offscreen shell, installs them with the OpenGL
// device, and lets render_job run the viewer's own start-up and assembly.
//
// Exit status: 0 every picture written; 1 the model or a picture failed
// (no display, body not loadable, frame past the animation, file not
// writable); 2 a wrong argument. Every failure is one line on stderr.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "anim_job.h"
#include "log/log.h"
#include "offscreen_shell.h"
#include "platform/qt/qt_offscreen_surface.h"
#include "options.h"
#include "platform/d3d8/d3d8.h"
#include "platform/gl/gl_direct3d.h"
#include "render_job.h"

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

int render(int argc, char** argv, const kr::Options& options) {
    // Qt's offscreen platform still gets its OpenGL context from the X
    // display, but shows nothing and needs no window manager.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    qtshell::OffscreenSurface surface(options.width, options.height);
    if (!surface.valid()) return fail("no OpenGL 3.3 core context (on a machine without a display: xvfb-run -a)", 1);
    qtshell::OffscreenSurface::install(&surface);
    kr::OffscreenShell windowSystem(surface.window(), options.width, options.height);
    shell::setCurrent(&windowSystem);
    setDirect3DFactory(createGlDirect3D);

    std::string error;
    const bool done = kr::renderFrames(options, surface, windowSystem, error);

    shell::setCurrent(nullptr);
    setSurfaceProvider(nullptr);
    return done ? 0 : fail(error, 1);
}

}  // namespace

int main(int argc, char** argv) {
    kr::Options options;
    std::string error;
    if (!kr::parseOptions(argc, argv, options, error)) {
        return fail(error + " (--help shows the usage)", 2);
    }
    if (options.help) {
        std::fputs(kr::kUsage, stdout);
        return 0;
    }
    if (options.listAnims) return kr::listAnimations(options, error) ? 0 : fail(error, 1);
    if (!haveDisplay()) return fail("no display for an OpenGL context: run under xvfb-run -a", 1);

    try {
        Log log("log.htm");
        setCurrentLog(&log);
        const int status = render(argc, argv, options);
        setCurrentLog(nullptr);
        return status;
    } catch (const char* reason) {
        setCurrentLog(nullptr);
        return fail(std::string(reason) + " (log.htm in the working directory)", 1);
    }
}
