// Tessaly, the MDS structure browser: runs the "Brannock" dialog on the Qt
// shell and returns 0 when it ends.
#include <memory>

#include "browser/browser_dialog.h"
#include "cli/program_info.h"
#include "platform/qt/qt_shell.h"

namespace {

const char* const kHelp =
    "usage: tessaly\n"
    "Tessaly, the MDS structure browser. It takes no arguments: \"Load New\"\n"
    "picks the file to show. See tessaly(1).\n"
    "  --help      this text\n"
    "  --version   the program's version\n";

}  // namespace

int main(int argc, char** argv) {
    if (cli::answerHelpOrVersion(argc, argv, "tessaly", kHelp)) return 0;
    std::unique_ptr<shell::Shell> qt = qtshell::createQtShell(argc, argv);
    shell::setCurrent(qt.get());
    const int result = browser::runBrowser();
    shell::setCurrent(nullptr);
    return result;
}
