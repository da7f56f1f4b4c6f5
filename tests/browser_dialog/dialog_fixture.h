// The browser dialog on the scripted shell: model files written by the
// fixture writers into a temporary folder, and the tree the builder gives
// for a file, as the reference the dialog's tree must match.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "browser/browser_dialog.h"
#include "browser/mds_file.h"
#include "browser/text_tree.h"
#include "browser/tree_builder.h"
#include "modelgen/samples.h"
#include "platform/sys/faults.h"
#include "scripted_shell.h"

namespace dialog_test {

namespace fs = std::filesystem;
using shell::HTREEITEM;

class BrowserDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("kv_browser_dialog_") + info->test_suite_name() + "_" + info->name());
        fs::create_directories(dir_);
        shell::setCurrent(&sh);
    }
    void TearDown() override {
        shell::setCurrent(nullptr);
        sys::clearSysFaults();
        fs::remove_all(dir_);
    }

    std::string write(const std::string& name, const mg::Bytes& bytes) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(mg::writeFile(path, bytes));
        return path;
    }
    std::string writeSample(const std::string& name = "body.mds") {
        return write(name, mg::writeMds(mg::sampleMds()).bytes);
    }

    // "Load New" with the file-open dialog answered by the test.
    void loadNew(const scripted::OpenAnswer& answer) {
        sh.answers.push_back(answer);
        sh.click(browser::kIdLoadNew);
    }
    void loadNew(const std::string& path) { loadNew({scripted::OpenAnswer::Choose, path}); }

    // The one top-level item.
    HTREEITEM root() {
        const auto top = sh.tree.children();
        EXPECT_EQ(top.size(), 1u);
        return top.empty() ? nullptr : top.front();
    }
    HTREEITEM child(HTREEITEM parent, const std::string& label) {
        HTREEITEM c = sh.tree.find(parent, label);
        EXPECT_NE(c, nullptr) << "no child " << label;
        return c;
    }

    // The tree the builder makes for the file at path, frames filled as
    // listed, in the text form of FakeTree::dump.
    static std::string reference(const std::string& path, std::initializer_list<int> filledFrames = {}) {
        browser::MdsFile model;
        model.read(path.c_str());
        model.resolve();
        browser::TextTree tree(path);
        browser::toTreeView(model, tree.root(), tree);
        for (int k : filledFrames) browser::fillFrame(model, tree, tree.frameNodes().at(k), k);
        return tree.text();
    }

    scripted::ScriptedShell sh;
    fs::path dir_;
};

}  // namespace dialog_test
