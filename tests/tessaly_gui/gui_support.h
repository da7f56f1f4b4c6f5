// Driving the "Brannock" dialog on the real Qt shell: run it, find its
// controls, click "Load New" with the file-open dialog answered through
// KV_OPEN_FILE_ANSWER, watch for a nested modal box, and read the tree view
// back as indented text (two spaces per level, like browser::TextTree).
#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "modelgen/bytes.h"

namespace tgui {

// The dialog as the test sees it.
struct Brannock {
    QWidget* dialog = nullptr;
    QTreeView* tree = nullptr;
    QPushButton* loadNew = nullptr;
    QPushButton* done = nullptr;

    QAbstractItemModel* model() const { return tree->model(); }
    // The one top-level item (invalid when there is not exactly one).
    QModelIndex root() const;
    // The child of parent with this label (invalid when none).
    QModelIndex child(const QModelIndex& parent, const QString& label) const;
    QStringList childLabels(const QModelIndex& parent) const;
    int liveCount() const;  // every item in the model
    // The whole tree as text; only items the model holds (closed nodes
    // included), in the view's order.
    std::string dump() const;

    // "Load New" clicked by mouse with the file-open dialog answering
    // `answer` (an empty answer is a cancel). Returns once the click is done.
    void clickLoadNew(const std::string& answer) const;
    // The user opens or closes a node with the arrow keys.
    void userOpen(const QModelIndex& index) const;
    void userClose(const QModelIndex& index) const;
};

// Runs dialog 101 through shell::current().dialogBox; body runs once the
// dialog shows, inside its modal loop. Afterwards the dialog is ended with
// `end` (a key or a click, see Ending). Returns dialogBox's result.
enum class Ending { Escape, DoneButton, CloseBox };
long long runBrannock(const std::function<void(Brannock&)>& body, Ending end = Ending::Escape);

// Watches for a modal widget accepted by `accept` while it lives; calls f
// with it the first time one shows (with `every`, each time one shows; f
// must then close it). Polled from a timer, so f runs inside the nested
// modal loop.
class ModalWatch {
public:
    ModalWatch(std::function<bool(QWidget*)> accept, std::function<void(QWidget*)> f, bool every = false);
    ~ModalWatch();
    bool seen() const { return seen_; }

private:
    std::unique_ptr<QTimer> timer_;
    bool seen_ = false;
};

// A fresh folder per test, removed at the end.
class TessalyGui : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string write(const std::string& name, const mg::Bytes& bytes);
    std::string writeSample(const std::string& name = "body.mds");
    // The builder's tree for the file at path (frames filled as listed), as
    // the reference the view must show.
    static std::string reference(const std::string& path, std::initializer_list<int> filledFrames = {});

    std::filesystem::path dir_;
};

}  // namespace tgui
