// Time from "Load New" answered to the tree shown, on the real Qt shell: the
// file-open dialog answers through KV_OPEN_FILE_ANSWER, then the click reads,
// resolves and builds the tree and opens the root; the clock stops once the
// dialog has painted. Each run is a fresh dialog; "Reload" times a second
// load that first removes the tree of the same big model.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_tessaly_gui
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "browser/browser_dialog.h"
#include "browser/mds_file.h"
#include "browser/text_tree.h"
#include "browser/tree_builder.h"
#include "modelgen/samples.h"
#include "platform/qt/qt_shell.h"

namespace {

namespace fs = std::filesystem;

// The models, by the benchmark's second argument:
//  0: about 200,000 nodes before any frame is opened: 10 surfaces x 1,085
//     vertices with 3 weights each, 60 bones, 200 closed frame nodes (1.1 MB);
//  1: 8 MB of vertices, 1.4 million nodes: 25 surfaces x 4,000 vertices with
//     2 weights each, 70 bones, 10 frames.
mg::MdsModel bigModel(int which) {
    return which == 0 ? mg::syntheticMds(10, 1085, 3, 60, 200) : mg::syntheticMds(25, 4000, 2, 70, 10);
}

struct BigFile {
    std::string path;
    std::size_t eagerNodes = 0;
    std::size_t bytes = 0;
};

const BigFile& bigFile(int which) {
    static BigFile files[2];
    BigFile& f = files[which];
    if (f.path.empty()) {
        f.path = (fs::temp_directory_path() / ("kv_bench_tessaly_big" + std::to_string(which) + ".mds")).string();
        const mg::Bytes image = mg::writeMds(bigModel(which)).bytes;
        f.bytes = image.size();
        mg::writeFile(f.path, image);
        browser::MdsFile model;
        model.read(f.path.c_str());
        model.resolve();
        browser::TextTree tree(f.path);
        browser::toTreeView(model, tree.root(), tree);
        f.eagerNodes = tree.nodes().size();
    }
    return f;
}

// Runs one Brannock dialog; inside it, loads `preload` times untimed, then
// times one load. Returns seconds, or a negative value when the tree is not
// the expected one.
double timedLoad(int which, int preload) {
    const std::string& path = bigFile(which).path;
    double seconds = -1.0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d || !d->isVisible() || d->windowTitle() != "Brannock") return;
        poll.stop();
        auto* tree = d->findChild<QTreeView*>("1001");
        auto* loadNew = d->findChild<QPushButton*>("1");
        setenv("KV_OPEN_FILE_ANSWER", path.c_str(), 1);
        for (int i = 0; i < preload; ++i) {
            QTest::mouseClick(loadNew, Qt::LeftButton);
            QCoreApplication::processEvents();
        }
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(loadNew, Qt::LeftButton);
        d->repaint();  // paints the dialog, the tree's visible rows included, now
        QCoreApplication::processEvents();
        const qint64 ns = t.nsecsElapsed();
        unsetenv("KV_OPEN_FILE_ANSWER");
        const QAbstractItemModel* m = tree->model();
        const bool ok = m->rowCount() == 1 && m->rowCount(m->index(0, 0)) == 10 && tree->isExpanded(m->index(0, 0));
        if (ok) seconds = static_cast<double>(ns) * 1e-9;
        QTest::keyClick(d, Qt::Key_Escape);
    });
    poll.start(10);
    shell::current().dialogBox(browser::browserDialogTemplate(), nullptr, browser::browserDialogProc);
    return seconds;
}

void BM_LoadNewToTreeShown(benchmark::State& state) {
    const int preload = static_cast<int>(state.range(0));
    const int which = static_cast<int>(state.range(1));
    for (auto _ : state) {
        const double s = timedLoad(which, preload);
        if (s < 0) {
            state.SkipWithError("the tree was not shown as expected");
            break;
        }
        state.SetIterationTime(s);
    }
    state.counters["eager_nodes"] = static_cast<double>(bigFile(which).eagerNodes);
    state.counters["file_bytes"] = static_cast<double>(bigFile(which).bytes);
}
BENCHMARK(BM_LoadNewToTreeShown)
    ->ArgNames({"reload", "model"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    auto qt = qtshell::createQtShell(argc, argv);
    shell::setCurrent(qt.get());
    benchmark::Initialize(&argc, argv);
    for (int which : {0, 1})
        std::printf("model %d: %s, %zu bytes, %zu nodes before any frame is opened\n", which,
                    bigFile(which).path.c_str(), bigFile(which).bytes, bigFile(which).eagerNodes);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shell::setCurrent(nullptr);
    qt.reset();
    std::error_code ec;
    for (int which : {0, 1}) fs::remove(bigFile(which).path, ec);
    return 0;
}
