// The file-open dialog: a path that does not fit the caller's buffer is an
// error, never a shortened path; cancel is no error; the default extension;
// the real Qt dialog with the caller's filters, driven by typing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <string>

#include "qt_support.h"

using namespace shell;
using qttest::sh;

namespace {

const char kFilter[] = "RTCW MDS Files (.mds)\0*.mds\0All Files (*.*)\0*.*\0";

class QtFileDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    void TearDown() override { unsetenv("KV_OPEN_FILE_ANSWER"); }

    // A file whose full path is exactly `length` characters long.
    std::string fileOfLength(int length) {
        const QString base = QDir(dir_.path()).absolutePath() + "/";
        const QString path = base + QString(length - static_cast<int>(base.size()) - 4, QLatin1Char('n')) + ".mds";
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path.toStdString();
    }
    bool open(const std::string& answer, DWORD maxFile) {
        setenv("KV_OPEN_FILE_ANSWER", answer.c_str(), 1);
        buf_.assign(1024, '\0');
        buf_[0] = '\0';
        ofn_ = OPENFILENAME{nullptr, kFilter, 1, buf_.data(), maxFile, nullptr, nullptr,
                            OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, "mds"};
        return sh().getOpenFileName(&ofn_);
    }
    QTemporaryDir dir_;
    std::string buf_;
    OPENFILENAME ofn_{};
};

TEST_F(QtFileDialog, APathThatDoesNotFitIsTheDialogsError) {
    const std::string fits = fileOfLength(255);
    const std::string over = fileOfLength(256);
    ASSERT_TRUE(open(fits, 256));
    EXPECT_EQ(std::string(buf_.c_str()), fits);
    EXPECT_EQ(sh().commDlgExtendedError(), 0u);

    EXPECT_FALSE(open(over, 256));
    EXPECT_EQ(sh().commDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(buf_[0], '\0');  // nothing, in particular no cut path

    ASSERT_TRUE(open(over, 300));
    EXPECT_EQ(std::string(buf_.c_str()), over);
}

TEST_F(QtFileDialog, CancelAndMissingFilesAreNoErrors) {
    EXPECT_FALSE(open("", 256));
    EXPECT_EQ(sh().commDlgExtendedError(), 0u);
    EXPECT_FALSE(open(dir_.path().toStdString() + "/absent.mds", 256));
    EXPECT_EQ(sh().commDlgExtendedError(), 0u);
    OPENFILENAME bad{};
    EXPECT_FALSE(sh().getOpenFileName(&bad));
    EXPECT_NE(sh().commDlgExtendedError(), 0u);
}

TEST_F(QtFileDialog, DefaultExtensionIsAppended) {
    const std::string full = fileOfLength(80);
    const std::string typed = full.substr(0, full.size() - 4);
    ASSERT_TRUE(open(typed, 256));
    EXPECT_EQ(std::string(buf_.c_str()), full);
}

TEST_F(QtFileDialog, RealDialogShowsTheFiltersAndTakesATypedPath) {
    const std::string full = fileOfLength(90);
    unsetenv("KV_OPEN_FILE_ANSWER");
    std::string buf(256, '\0');
    OPENFILENAME ofn{nullptr, kFilter, 1, buf.data(), 256, nullptr, nullptr,
                     OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, "mds"};
    const QString typed = QString::fromStdString(full.substr(0, full.size() - 4));  // without ".mds"
    qttest::whenModalShown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                           [typed](QWidget* w) {
                               auto* fd = qobject_cast<QFileDialog*>(w);
                               EXPECT_EQ(fd->nameFilters(),
                                         (QStringList{"RTCW MDS Files (.mds) (*.mds)", "All Files (*.*) (*.*)"}));
                               EXPECT_EQ(fd->selectedNameFilter(), "RTCW MDS Files (.mds) (*.mds)");
                               EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
                               auto* edit = fd->findChild<QLineEdit*>("fileNameEdit");
                               ASSERT_NE(edit, nullptr);
                               edit->setText(typed);
                               QTest::keyClick(edit, Qt::Key_Return);
                           });
    ASSERT_TRUE(sh().getOpenFileName(&ofn));
    EXPECT_EQ(std::string(buf.c_str()), full);
}

}  // namespace
