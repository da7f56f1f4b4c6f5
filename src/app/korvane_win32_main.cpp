// Korvane on Windows: the Win32 shell, the system's Direct3D 8 and the log
// "log.htm", then the viewer itself, the same code as on Linux.
#include <memory>

#include "app/app_main.h"
#include "log/log.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3d8sys/system_direct3d.h"
#include "platform/shell/shell.h"
#include "platform/win32/win32_shell.h"

int main() {
    // Opened first and closed last, so every step reports into it. A log
    // that cannot be created ends the program with one line on stderr.
    const std::unique_ptr<Log> log = openProgramLog("korvane", "log.htm");
    if (log == nullptr) return 1;
    setCurrentLog(log.get());

    int result = 0;
    {
        std::unique_ptr<shell::Shell> windowSystem = win32shell::createWin32Shell();
        shell::setCurrent(windowSystem.get());
        setDirect3DFactory(createSystemDirect3D);
        result = appMain(shell::SW_SHOWNORMAL);
        shell::setCurrent(nullptr);
    }
    setCurrentLog(nullptr);
    return result;
}
