// The program Korvane: installs the Qt window system, the OpenGL device and
// the log "log.htm", then runs the viewer. The only file of the viewer that
// knows about Qt.
#include <memory>

#include "app/app_main.h"
#include "cli/program_info.h"
#include "log/log.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3d8/surface.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/qt/qt_shell.h"
#include "platform/shell/shell.h"

namespace {

const char* const kHelp =
    "usage: korvane\n"
    "Korvane, the player model viewer. It takes no arguments: the start-up\n"
    "dialog asks for BaseDir, ModelName and the two skins, and log.htm in the\n"
    "working directory reports every load step. See korvane(1).\n"
    "  --help      this text\n"
    "  --version   the program's version\n";

}  // namespace

int main(int argc, char** argv) {
    if (cli::answerHelpOrVersion(argc, argv, "korvane", kHelp)) return 0;

    // Opened first and closed last, so every step reports into it. A log
    // that cannot be created ends the program with one line on stderr.
    const std::unique_ptr<Log> log = openProgramLog("korvane", "log.htm");
    if (log == nullptr) return 1;
    setCurrentLog(log.get());

    int result = 0;
    {
        std::unique_ptr<shell::Shell> windowSystem = qtshell::createQtShell(argc, argv);
        shell::setCurrent(windowSystem.get());
        setSurfaceProvider(qtshell::surfaceForQtWindow);
        setDirect3DFactory(createGlDirect3D);

        // The command line is not used; the window shows normally.
        result = appMain(shell::SW_SHOWNORMAL);

        shell::setCurrent(nullptr);
    }
    setCurrentLog(nullptr);
    return result;
}
