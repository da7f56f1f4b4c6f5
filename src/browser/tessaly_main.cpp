// Tessaly, the MDS structure browser: runs the "Brannock" dialog on the Qt
// shell and returns 0 when it ends.
#include <memory>

#include "browser/browser_dialog.h"
#include "platform/qt/qt_shell.h"

int main(int argc, char** argv) {
    std::unique_ptr<shell::Shell> qt = qtshell::createQtShell(argc, argv);
    shell::setCurrent(qt.get());
    const int result = browser::runBrowser();
    shell::setCurrent(nullptr);
    return result;
}
