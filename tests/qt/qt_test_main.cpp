// Runs the tests on one Qt shell, installed as the current shell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "platform/qt/qt_shell.h"
#include "qt_support.h"

namespace qttest {

std::vector<shell::MSG> drain(int quietMs) {
    std::vector<shell::MSG> out;
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < quietMs) {
        shell::MSG m{};
        if (sh().peekMessage(&m)) {
            out.push_back(m);
            quiet.restart();
        }
    }
    return out;
}

bool waitFor(const std::function<bool()>& pred, int ms) {
    QElapsedTimer t;
    t.start();
    bool ok = pred();  // pred may consume messages: ask once per round
    while (!ok && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ok = pred();
    }
    return ok;
}

QWindow* windowTitled(const QString& title) {
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->title() == title) return w;
    return nullptr;
}

void whenModalShown(const std::function<bool(QWidget*)>& accept, const std::function<void(QWidget*)>& f) {
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, accept, f, started] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->isVisible() && accept(w)) {
            timer->stop();
            timer->deleteLater();
            f(w);
        } else if (started->elapsed() > 10000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal dialog appeared";
            if (w) w->hide();
        }
    });
    timer->start(20);
}

}  // namespace qttest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    auto shell = qtshell::createQtShell(argc, argv);
    shell::setCurrent(shell.get());
    const int rc = RUN_ALL_TESTS();
    shell::setCurrent(nullptr);
    shell.reset();
    return rc;
}
