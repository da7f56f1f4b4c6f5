// "Load New": the file-open request, the tree of a chosen file, what cancel,
// a failing file-open dialog and unreadable or foreign files do, and the
// replacement of one file's tree by the next.
#include "dialog_fixture.h"

namespace dialog_test {
namespace {

using scripted::OpenAnswer;
using scripted::ProgressCall;

TEST_F(BrowserDialog, StartsWithTheNoFileNode) {
    sh.open(browser::browserDialogProc);
    EXPECT_EQ(sh.tree.childLabels(), std::vector<std::string>{"no file loaded"});
    EXPECT_EQ(sh.tree.param(root()), -1);
    EXPECT_FALSE(sh.tree.hasChildren(root()));
    EXPECT_TRUE(sh.openRequests.empty());
}

TEST_F(BrowserDialog, AsksForAnMdsFileWithTheFixedRequest) {
    sh.open(browser::browserDialogProc);
    loadNew({OpenAnswer::Cancel, ""});
    ASSERT_EQ(sh.openRequests.size(), 1u);
    const auto& r = sh.openRequests[0];
    EXPECT_EQ(r.owner, sh.dialog());
    const char filter[] = "RTCW MDS Files (.mds)\0*.mds\0All Files (*.*)\0*.*\0";
    EXPECT_EQ(r.filter, std::string(filter, sizeof(filter) - 1));
    EXPECT_EQ(r.filterIndex, 1u);
    EXPECT_EQ(r.maxFile, 256u);
    EXPECT_FALSE(r.initialDirGiven);
    EXPECT_FALSE(r.titleGiven);
    EXPECT_EQ(r.flags, shell::OFN_HIDEREADONLY | shell::OFN_PATHMUSTEXIST | shell::OFN_FILEMUSTEXIST);
    EXPECT_EQ(r.defExt, "mds");
}

TEST_F(BrowserDialog, ValidFileShowsItsWholeStructureUnderTheOpenedRoot) {
    const std::string path = writeSample();
    sh.open(browser::browserDialogProc);
    loadNew(path);

    const HTREEITEM r = root();
    EXPECT_EQ(sh.tree.text(r), path);
    EXPECT_EQ(sh.tree.param(r), -1);
    EXPECT_TRUE(sh.tree.itemState(r) & shell::TVIS_EXPANDED);
    const auto labels = sh.tree.childLabels(r);
    ASSERT_EQ(labels.size(), 10u);
    EXPECT_EQ(labels[0], "Id: 1465074765");
    EXPECT_EQ(labels[1], "Version: 4");
    EXPECT_EQ(labels[9], "Frames (3)");
    for (HTREEITEM c : sh.tree.children(r)) EXPECT_FALSE(sh.tree.itemState(c) & shell::TVIS_EXPANDED);

    // Every node in the builder's order, which only holds when each child goes
    // in after its previous sibling.
    EXPECT_EQ(sh.tree.dump(), reference(path));

    const HTREEITEM frames = child(r, "Frames (3)");
    for (int k = 0; k < 3; ++k) {
        const HTREEITEM f = sh.tree.children(frames).at(k);
        EXPECT_EQ(sh.tree.param(f), k);
        EXPECT_TRUE(sh.tree.hasChildren(f));
        EXPECT_TRUE(sh.tree.children(f).empty());
    }

    // The root was painted alone before the build.
    ASSERT_EQ(sh.redraws.size(), 1u);
    EXPECT_EQ(sh.redraws[0], path + "\n");
    const std::vector<ProgressCall> progress{{true, 0, 2}, {false, 0, 0}, {false, 0, 0}, {false, 1, 0}, {false, 2, 0}};
    EXPECT_EQ(sh.progress.calls, progress);
    EXPECT_TRUE(sh.messageBoxes.empty());
}

TEST_F(BrowserDialog, SecondFileReplacesEveryNodeOfTheFirst) {
    const std::string first = writeSample("first.mds");
    const std::string second = write("second.mds", mg::writeMds(mg::syntheticMds(2, 5, 2, 3, 4)).bytes);
    sh.open(browser::browserDialogProc);
    const HTREEITEM noFile = root();
    loadNew(first);
    EXPECT_FALSE(sh.tree.alive(noFile));
    const HTREEITEM oldRoot = root();
    const HTREEITEM oldFrame = sh.tree.children(child(oldRoot, "Frames (3)")).at(0);
    sh.tree.expand(oldFrame, shell::TVE_EXPAND);
    const HTREEITEM oldFrameChild = sh.tree.children(oldFrame).at(0);

    loadNew(second);
    EXPECT_FALSE(sh.tree.alive(oldRoot));
    EXPECT_FALSE(sh.tree.alive(oldFrame));
    EXPECT_FALSE(sh.tree.alive(oldFrameChild));
    EXPECT_EQ(sh.tree.dump(), reference(second));
    // Its frame nodes start empty and fill from the new model.
    const HTREEITEM frame3 = sh.tree.children(child(root(), "Frames (4)")).at(3);
    sh.tree.expand(frame3, shell::TVE_EXPAND);
    EXPECT_EQ(sh.tree.dump(), reference(second, {3}));
}

TEST_F(BrowserDialog, CancelLeavesTheTreeAsItWasWithoutAMessage) {
    sh.open(browser::browserDialogProc);
    loadNew({OpenAnswer::Cancel, ""});
    EXPECT_EQ(sh.tree.dump(), "no file loaded\n");

    const std::string path = writeSample();
    loadNew(path);
    const std::string before = sh.tree.dump();
    const std::size_t live = sh.tree.liveCount();
    const HTREEITEM r = root();
    loadNew({OpenAnswer::Cancel, ""});
    EXPECT_EQ(sh.tree.dump(), before);
    EXPECT_EQ(sh.tree.liveCount(), live);
    EXPECT_EQ(root(), r);
    EXPECT_TRUE(sh.messageBoxes.empty());
    EXPECT_EQ(sh.redraws.size(), 1u);
    // The held model is still the loaded one.
    sh.tree.expand(sh.tree.children(child(r, "Frames (3)")).at(1), shell::TVE_EXPAND);
    EXPECT_EQ(sh.tree.dump(), reference(path, {1}));
}

TEST_F(BrowserDialog, FileOpenErrorShowsTheWarningAndKeepsTheTree) {
    const std::string path = writeSample();
    sh.open(browser::browserDialogProc);
    loadNew(path);
    const std::string before = sh.tree.dump();

    // 256 characters and the terminator do not fit the 256-character buffer.
    loadNew(std::string(256, 'a'));
    loadNew({OpenAnswer::Fail, "", 0xFFFF});
    ASSERT_EQ(sh.messageBoxes.size(), 2u);
    for (const auto& m : sh.messageBoxes) {
        EXPECT_EQ(m.owner, sh.dialog());
        EXPECT_EQ(m.text, "Error in GetOpenFileName (before opening the file)");
        EXPECT_EQ(m.caption, "Load Error");
        EXPECT_EQ(m.type, shell::MB_OK | shell::MB_ICONWARNING);
    }
    EXPECT_EQ(sh.tree.dump(), before);
}

TEST_F(BrowserDialog, PathOfTheFullBufferLengthIsTakenWhole) {
    sh.open(browser::browserDialogProc);
    const std::string longest = "/" + std::string(254, 'p');  // 255 characters and the terminator
    loadNew(longest);
    EXPECT_TRUE(sh.messageBoxes.empty());
    EXPECT_EQ(sh.tree.text(root()), longest);
    EXPECT_EQ(sh.tree.childLabels(root()), std::vector<std::string>{browser::kLabelNotLoaded});
}

// A chosen file that cannot be shown: the root with the path and one label,
// open, and nothing of the file loaded before.
TEST_F(BrowserDialog, UnusableFilesGiveTheRootAndTheirOneLabel) {
    struct Case {
        const char* name;
        mg::Bytes bytes;
        const char* label;
        sys::Step failing = sys::Step::Count;
    };
    const std::string text = "just some text\nthat is not a model\n";
    const std::vector<Case> cases{
        {"empty.mds", {}, browser::kLabelNotLoaded},
        {"locked.mds", mg::writeMds(mg::sampleMds()).bytes, browser::kLabelNotLoaded, sys::Step::Open},
        {"short_read.mds", mg::writeMds(mg::sampleMds()).bytes, browser::kLabelNotLoaded, sys::Step::Read},
        {"notes.mds", mg::Bytes(text.begin(), text.end()), browser::kLabelWrongId},
        {"v3.mds", mg::damagedMds(mg::MdsDamage::Version3), browser::kLabelWrongVersion},
        {"offsets.mds", mg::damagedMds(mg::MdsDamage::SurfaceEndOutside), browser::kLabelNotResolved},
    };
    const std::string good = writeSample("good.mds");
    sh.open(browser::browserDialogProc);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        loadNew(good);
        const std::string path = write(c.name, c.bytes);
        sh.progress.calls.clear();
        if (c.failing != sys::Step::Count) {
            sys::Faults f;
            f.failAlways[static_cast<int>(c.failing)] = true;
            sys::setSysFaults(f);
        }
        loadNew(path);
        sys::clearSysFaults();
        EXPECT_EQ(sh.tree.dump(), path + "\n  " + c.label + "\n");
        EXPECT_EQ(sh.tree.liveCount(), 2u);
        EXPECT_TRUE(sh.tree.itemState(root()) & shell::TVIS_EXPANDED);
        EXPECT_TRUE(sh.progress.calls.empty());
    }
    EXPECT_TRUE(sh.messageBoxes.empty());
}

}  // namespace
}  // namespace dialog_test
