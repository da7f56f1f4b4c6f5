// "Load New" on the real Qt shell: what the tree view shows for a valid
// file, for a second file, for files that cannot be shown, after a cancel,
// and the message box for a path the file-open dialog cannot hand back.
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>

#include <unistd.h>

#include <filesystem>

#include "browser/tree_builder.h"
#include "gui_support.h"
#include "modelgen/samples.h"
#include "platform/sys/faults.h"

namespace tgui {
namespace {

namespace fs = std::filesystem;

// Fails the test when any message box shows while it lives.
struct NoMessageBox {
    ModalWatch watch{[](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                     [](QWidget* w) {
                         ADD_FAILURE() << "unexpected message box: "
                                       << qobject_cast<QMessageBox*>(w)->text().toStdString();
                         qobject_cast<QMessageBox*>(w)->accept();
                     },
                     true};
};

TEST_F(TessalyGui, ValidFileShowsTheOpenRootAndFramesFillOnce) {
    const std::string path = writeSample();
    NoMessageBox none;
    EXPECT_EQ(runBrannock([&](Brannock& b) {
                  EXPECT_EQ(b.dump(), "no file loaded\n");
                  b.clickLoadNew(path);

                  const QModelIndex root = b.root();
                  ASSERT_TRUE(root.isValid());
                  EXPECT_EQ(root.data().toString().toStdString(), path);
                  EXPECT_TRUE(b.tree->isExpanded(root));
                  const QStringList top = b.childLabels(root);
                  ASSERT_EQ(top.size(), 10);
                  EXPECT_EQ(top.front(), "Id: 1465074765");
                  EXPECT_EQ(top.back(), "Frames (3)");
                  for (int r = 0; r < 10; ++r) EXPECT_FALSE(b.tree->isExpanded(b.model()->index(r, 0, root))) << r;
                  // Every node, in the builder's order.
                  EXPECT_EQ(b.dump(), reference(path));
                  auto* bar = b.dialog->findChild<QProgressBar*>("1005");
                  ASSERT_NE(bar, nullptr);
                  EXPECT_EQ(bar->value(), bar->maximum());  // the frame phase ran to its end

                  const QModelIndex frames = b.child(root, "Frames (3)");
                  b.userOpen(frames);
                  EXPECT_TRUE(b.tree->isExpanded(frames));
                  const QModelIndex f0 = b.child(frames, "Frame 0");
                  ASSERT_TRUE(f0.isValid());
                  EXPECT_TRUE(b.model()->hasChildren(f0));  // the expander shows before any child exists
                  EXPECT_EQ(b.model()->rowCount(f0), 0);
                  b.userOpen(f0);
                  EXPECT_TRUE(b.tree->isExpanded(f0));
                  EXPECT_EQ(b.model()->rowCount(f0), 6);
                  b.userClose(f0);
                  EXPECT_FALSE(b.tree->isExpanded(f0));
                  b.userOpen(f0);
                  EXPECT_EQ(b.model()->rowCount(f0), 6);
                  // A mouse click on the expander of Frame 2 fills that frame.
                  const QModelIndex f2 = b.child(frames, "Frame 2");
                  b.tree->scrollTo(f2);
                  const QRect r = b.tree->visualRect(f2);
                  QTest::mouseClick(b.tree->viewport(), Qt::LeftButton, {},
                                    QPoint(r.left() - b.tree->indentation() / 2, r.center().y()));
                  EXPECT_TRUE(b.tree->isExpanded(f2));
                  EXPECT_EQ(b.dump(), reference(path, {0, 2}));
              }),
              0);
}

TEST_F(TessalyGui, SecondFileRemovesEveryNodeOfTheFirst) {
    const std::string first = writeSample("first.mds");
    const std::string second = write("second.mds", mg::writeMds(mg::syntheticMds(2, 5, 2, 3, 4)).bytes);
    EXPECT_EQ(runBrannock(
                  [&](Brannock& b) {
                      b.clickLoadNew(first);
                      const QModelIndex frames = b.child(b.root(), "Frames (3)");
                      b.userOpen(frames);
                      b.userOpen(b.child(frames, "Frame 0"));
                      ASSERT_EQ(b.dump(), reference(first, {0}));

                      b.clickLoadNew(second);
                      const std::string ref = reference(second);
                      EXPECT_EQ(b.dump(), ref);
                      EXPECT_EQ(b.liveCount(), std::count(ref.begin(), ref.end(), '\n'));
                      // The new frames start empty and fill from the new model.
                      const QModelIndex frames2 = b.child(b.root(), "Frames (4)");
                      b.userOpen(frames2);
                      b.userOpen(b.child(frames2, "Frame 3"));
                      EXPECT_EQ(b.dump(), reference(second, {3}));
                  },
                  Ending::DoneButton),
              0);
}

TEST_F(TessalyGui, UnusableFilesGiveTheRootAndTheirOneLabel) {
    const std::string text = "just some text\nthat is not a model\n";
    struct Case {
        std::string path;
        const char* label;
        bool locked = false;
    };
    const std::vector<Case> cases{
        {write("empty.mds", {}), browser::kLabelNotLoaded},
        {writeSample("locked.mds"), browser::kLabelNotLoaded, true},
        {write("notes.mds", mg::Bytes(text.begin(), text.end())), browser::kLabelWrongId},
        {write("v3.mds", mg::damagedMds(mg::MdsDamage::Version3)), browser::kLabelWrongVersion},
    };
    const std::string good = writeSample("good.mds");
    NoMessageBox none;
    EXPECT_EQ(runBrannock(
                  [&](Brannock& b) {
                      for (const Case& c : cases) {
                          SCOPED_TRACE(c.path);
                          b.clickLoadNew(good);
                          ASSERT_EQ(b.dump(), reference(good));
                          // Unreadable: no read permission, or, for root, whom
                          // permissions do not stop, a refused open.
                          const bool asRoot = geteuid() == 0;
                          if (c.locked && !asRoot) fs::permissions(c.path, fs::perms::none);
                          if (c.locked && asRoot) {
                              sys::Faults f;
                              f.failAlways[static_cast<int>(sys::Step::Open)] = true;
                              sys::setSysFaults(f);
                          }
                          b.clickLoadNew(c.path);
                          sys::clearSysFaults();
                          EXPECT_EQ(b.dump(), c.path + "\n  " + c.label + "\n");
                          EXPECT_TRUE(b.tree->isExpanded(b.root()));
                      }
                  },
                  Ending::CloseBox),
              0);
}

TEST_F(TessalyGui, CancelLeavesTheTreeAsItWasWithNoMessage) {
    const std::string path = writeSample();
    NoMessageBox none;
    EXPECT_EQ(runBrannock([&](Brannock& b) {
                  b.clickLoadNew("");
                  EXPECT_EQ(b.dump(), "no file loaded\n");

                  b.clickLoadNew(path);
                  const QModelIndex frames = b.child(b.root(), "Frames (3)");
                  b.userOpen(frames);
                  b.userOpen(b.child(frames, "Frame 1"));
                  const std::string before = b.dump();
                  ASSERT_EQ(before, reference(path, {1}));
                  b.clickLoadNew("");
                  // A file that does not exist is not accepted by the dialog:
                  // the user ends up cancelling.
                  b.clickLoadNew((dir_ / "absent.mds").string());
                  EXPECT_EQ(b.dump(), before);
                  EXPECT_TRUE(b.tree->isExpanded(b.root()));
                  EXPECT_TRUE(b.tree->isExpanded(b.child(b.root(), "Frames (3)")));
                  // The held model is still the loaded one.
                  b.userOpen(b.child(b.child(b.root(), "Frames (3)"), "Frame 2"));
                  EXPECT_EQ(b.dump(), reference(path, {1, 2}));
              }),
              0);
}

// A file whose full path is `length` characters, below deep folders.
std::string deepFile(const fs::path& dir, std::size_t length, const mg::Bytes& bytes) {
    std::string p = fs::absolute(dir).string();
    while (p.size() + 1 + 60 + 1 + 20 < length) p.append(1, '/').append(60, 'd');
    const std::size_t nameLen = length - p.size() - 1;
    p.append(1, '/').append(nameLen - 4, 'n').append(".mds");
    fs::create_directories(fs::path(p).parent_path());
    EXPECT_TRUE(mg::writeFile(p, bytes));
    EXPECT_EQ(p.size(), length);
    return p;
}

TEST_F(TessalyGui, OverLongPathGivesTheMessageBoxAndKeepsTheTree) {
    const mg::Bytes sample = mg::writeMds(mg::sampleMds()).bytes;
    const std::string longest = deepFile(dir_ / "fits", 255, sample);  // 255 and the terminator fit
    const std::string over = deepFile(dir_ / "over", 300, sample);
    EXPECT_EQ(runBrannock([&](Brannock& b) {
                  {
                      NoMessageBox none;
                      b.clickLoadNew(longest);
                      EXPECT_EQ(b.dump(), reference(longest));
                  }
                  const std::string before = b.dump();
                  QString text, title;
                  QMessageBox::Icon icon = QMessageBox::NoIcon;
                  QWidget* parent = nullptr;
                  ModalWatch box([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                                 [&](QWidget* w) {
                                     auto* m = qobject_cast<QMessageBox*>(w);
                                     text = m->text();
                                     title = m->windowTitle();
                                     icon = m->icon();
                                     parent = m->parentWidget();
                                     QTest::mouseClick(m->button(QMessageBox::Ok), Qt::LeftButton);
                                 });
                  b.clickLoadNew(over);
                  ASSERT_TRUE(box.seen());
                  EXPECT_EQ(text, "Error in GetOpenFileName (before opening the file)");
                  EXPECT_EQ(title, "Load Error");
                  EXPECT_EQ(icon, QMessageBox::Warning);
                  EXPECT_EQ(parent, b.dialog);
                  EXPECT_EQ(b.dump(), before);
              }),
              0);
}

}  // namespace
}  // namespace tgui
