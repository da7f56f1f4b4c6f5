// Frame nodes filled on their first opening only, and the program entry:
// dialog 101 without owner, "Done" and the close box ending it with 0.
#include "dialog_fixture.h"

namespace dialog_test {
namespace {

class FrameNodes : public BrowserDialog {
protected:
    void SetUp() override {
        BrowserDialog::SetUp();
        path_ = writeSample();
        sh.open(browser::browserDialogProc);
        loadNew(path_);
        frames_ = child(root(), "Frames (3)");
    }
    HTREEITEM frame(int k) { return sh.tree.children(frames_).at(k); }
    std::string path_;
    HTREEITEM frames_ = nullptr;
};

TEST_F(FrameNodes, FirstOpeningFillsTheFrameOnce) {
    const auto progressBefore = sh.progress.calls;
    sh.tree.expand(frame(0), shell::TVE_EXPAND);
    const std::vector<std::string> six{"bboxMin: ", "bboxMax: ", "LocalOrigin: ", "Radius: ", "ParentOffset: ",
                                       "CompressedBoneFrames (4)"};
    const auto labels = sh.tree.childLabels(frame(0));
    ASSERT_EQ(labels.size(), six.size());
    for (std::size_t i = 0; i < six.size(); ++i) EXPECT_EQ(labels[i].rfind(six[i], 0), 0u) << labels[i];
    EXPECT_TRUE(sh.tree.itemState(frame(0)) & shell::TVIS_EXPANDED);
    EXPECT_EQ(sh.tree.dump(), reference(path_, {0}));

    const std::size_t live = sh.tree.liveCount();
    sh.tree.expand(frame(0), shell::TVE_COLLAPSE);
    sh.tree.expand(frame(0), shell::TVE_EXPAND);
    EXPECT_EQ(sh.tree.liveCount(), live);
    EXPECT_EQ(sh.tree.childLabels(frame(0)).size(), 6u);

    // The filler leaves the progress bar alone.
    EXPECT_EQ(sh.progress.calls, progressBefore);
}

TEST_F(FrameNodes, EachFrameFillsFromItsOwnRecord) {
    sh.tree.expand(frame(2), shell::TVE_EXPAND);
    sh.tree.expand(frame(1), shell::TVE_EXPAND);
    EXPECT_EQ(sh.tree.dump(), reference(path_, {2, 1}));
}

TEST_F(FrameNodes, OtherNodesOpenWithoutAdding) {
    const std::size_t live = sh.tree.liveCount();
    sh.tree.expand(child(root(), "Bones (4)"), shell::TVE_EXPAND);
    sh.tree.expand(frames_, shell::TVE_EXPAND);
    sh.tree.expand(root(), shell::TVE_COLLAPSE);
    sh.tree.expand(root(), shell::TVE_EXPAND);
    EXPECT_EQ(sh.tree.liveCount(), live);
    EXPECT_EQ(sh.tree.dump(), reference(path_));
}

TEST_F(BrowserDialog, EntryShowsDialog101WithoutOwnerAndEndsWithZero) {
    const std::string path = writeSample();
    std::string shown;
    sh.answers.push_back({scripted::OpenAnswer::Choose, path});
    sh.script = {[&] { sh.click(browser::kIdLoadNew); }, [&] { shown = sh.tree.dump(); },
                 [&] { sh.click(browser::kIdDone); }, [&] { ADD_FAILURE() << "still running after Done"; }};
    EXPECT_EQ(browser::runBrowser(), 0);
    ASSERT_NE(sh.shownTemplate, nullptr);
    EXPECT_EQ(sh.shownTemplate->resourceId, 101);
    EXPECT_STREQ(sh.shownTemplate->caption, "Brannock");
    EXPECT_EQ(sh.shownOwner, nullptr);
    EXPECT_EQ(sh.endResult, 0);
    EXPECT_EQ(shown, reference(path));

    // Every control the procedure reaches is in the template.
    std::vector<int> ids;
    for (std::size_t i = 0; i < sh.shownTemplate->controlCount; ++i) ids.push_back(sh.shownTemplate->controls[i].id);
    for (int id : {browser::kIdLoadNew, browser::kIdDone, browser::kIdTree, browser::kIdProgress})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
}

TEST_F(BrowserDialog, CloseBoxEndsWithZero) {
    sh.script = {[&] { sh.close(); }};
    EXPECT_EQ(browser::runBrowser(), 0);
    EXPECT_TRUE(sh.ended);
    EXPECT_EQ(sh.endResult, 0);
}

}  // namespace
}  // namespace dialog_test
