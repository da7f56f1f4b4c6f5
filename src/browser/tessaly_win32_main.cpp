// Tessaly on Windows: runs the "Brannock" dialog on the Win32 shell and
// returns 0 when it ends.
#include <memory>

#include "browser/browser_dialog.h"
#include "platform/win32/win32_shell.h"

int main() {
    std::unique_ptr<shell::Shell> win = win32shell::createWin32Shell();
    shell::setCurrent(win.get());
    const int result = browser::runBrowser();
    shell::setCurrent(nullptr);
    return result;
}
