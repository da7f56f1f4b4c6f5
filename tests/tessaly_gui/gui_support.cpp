#include "gui_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdlib>

#include "browser/browser_dialog.h"
#include "browser/mds_file.h"
#include "browser/text_tree.h"
#include "browser/tree_builder.h"
#include "modelgen/samples.h"
#include "platform/shell/shell.h"
#include "platform/sys/faults.h"

namespace tgui {

namespace fs = std::filesystem;

QModelIndex Brannock::root() const {
    return model()->rowCount() == 1 ? model()->index(0, 0) : QModelIndex();
}

QModelIndex Brannock::child(const QModelIndex& parent, const QString& label) const {
    for (int r = 0; r < model()->rowCount(parent); ++r) {
        const QModelIndex c = model()->index(r, 0, parent);
        if (c.data().toString() == label) return c;
    }
    return {};
}

QStringList Brannock::childLabels(const QModelIndex& parent) const {
    QStringList out;
    for (int r = 0; r < model()->rowCount(parent); ++r) out << model()->index(r, 0, parent).data().toString();
    return out;
}

namespace {
int countUnder(const QAbstractItemModel* m, const QModelIndex& parent) {
    int n = 0;
    for (int r = 0; r < m->rowCount(parent); ++r) n += 1 + countUnder(m, m->index(r, 0, parent));
    return n;
}
void dumpUnder(const QAbstractItemModel* m, const QModelIndex& parent, int depth, std::string& out) {
    for (int r = 0; r < m->rowCount(parent); ++r) {
        const QModelIndex c = m->index(r, 0, parent);
        out.append(static_cast<std::size_t>(2 * depth), ' ');
        out += c.data().toString().toStdString();
        out += '\n';
        dumpUnder(m, c, depth + 1, out);
    }
}
}  // namespace

int Brannock::liveCount() const { return countUnder(model(), {}); }

std::string Brannock::dump() const {
    std::string out;
    dumpUnder(model(), {}, 0, out);
    return out;
}

void Brannock::clickLoadNew(const std::string& answer) const {
    setenv("KV_OPEN_FILE_ANSWER", answer.c_str(), 1);
    QTest::mouseClick(loadNew, Qt::LeftButton);
    unsetenv("KV_OPEN_FILE_ANSWER");
}

void Brannock::userOpen(const QModelIndex& index) const {
    tree->setCurrentIndex(index);
    QTest::keyClick(tree, Qt::Key_Right);
}

void Brannock::userClose(const QModelIndex& index) const {
    tree->setCurrentIndex(index);
    QTest::keyClick(tree, Qt::Key_Left);
}

ModalWatch::ModalWatch(std::function<bool(QWidget*)> accept, std::function<void(QWidget*)> f, bool every)
    : timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this, accept, f, every] {
        QWidget* w = QApplication::activeModalWidget();
        if ((every || !seen_) && w && w->isVisible() && accept(w)) {
            seen_ = true;
            if (!every) timer_->stop();
            f(w);
        }
    });
    timer_->start(20);
}

ModalWatch::~ModalWatch() { timer_->stop(); }

long long runBrannock(const std::function<void(Brannock&)>& body, Ending end) {
    bool ran = false;
    ModalWatch watch(
        [](QWidget* w) { return w->windowTitle() == "Brannock" && w->findChild<QTreeView*>("1001"); },
        [&](QWidget* w) {
            ran = true;
            Brannock b{w, w->findChild<QTreeView*>("1001"), w->findChild<QPushButton*>("1"),
                       w->findChild<QPushButton*>("2")};
            if (b.tree && b.loadNew && b.done) body(b);
            else ADD_FAILURE() << "the dialog lacks the tree, Load New or Done";
            switch (end) {
                case Ending::Escape: QTest::keyClick(w, Qt::Key_Escape); break;
                case Ending::DoneButton: QTest::mouseClick(b.done, Qt::LeftButton); break;
                case Ending::CloseBox: w->close(); break;
            }
        });
    // If the dialog never ends, give up instead of hanging the run.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        ADD_FAILURE() << "the dialog did not end";
        while (QWidget* w = QApplication::activeModalWidget()) w->hide();
    });
    guard.start(60000);
    const long long result = shell::current().dialogBox(browser::browserDialogTemplate(), nullptr,
                                                        browser::browserDialogProc);
    EXPECT_TRUE(ran) << "the dialog never showed";
    return result;
}

void TessalyGui::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / (std::string("kv_tessaly_gui_") + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

void TessalyGui::TearDown() {
    unsetenv("KV_OPEN_FILE_ANSWER");
    sys::clearSysFaults();
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
}

std::string TessalyGui::write(const std::string& name, const mg::Bytes& bytes) {
    const fs::path path = dir_ / name;
    fs::create_directories(path.parent_path());
    EXPECT_TRUE(mg::writeFile(path.string(), bytes));
    return path.string();
}

std::string TessalyGui::writeSample(const std::string& name) { return write(name, mg::writeMds(mg::sampleMds()).bytes); }

std::string TessalyGui::reference(const std::string& path, std::initializer_list<int> filledFrames) {
    browser::MdsFile model;
    model.read(path.c_str());
    model.resolve();
    browser::TextTree tree(path);
    browser::toTreeView(model, tree.root(), tree);
    for (int k : filledFrames) browser::fillFrame(model, tree, tree.frameNodes().at(k), k);
    return tree.text();
}

}  // namespace tgui
