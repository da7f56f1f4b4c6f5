// Runs the tests on one Qt shell, installed as the current shell.
#include <gtest/gtest.h>

#include "platform/qt/qt_shell.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    auto qt = qtshell::createQtShell(argc, argv);
    shell::setCurrent(qt.get());
    const int rc = RUN_ALL_TESTS();
    shell::setCurrent(nullptr);
    qt.reset();
    return rc;
}
