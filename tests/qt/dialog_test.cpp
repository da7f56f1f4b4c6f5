// Dialogs from templates: the dialog procedure's messages, typing and
// clicking through QTest, Enter/Escape/close box, item text truncation.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cmath>
#include <cstring>
#include <string>

#include "qt_support.h"

using namespace shell;
using qttest::sh;

namespace {

// The viewer's start-up layout, as a realistic template to drive.
const DialogControl kControls[] = {
    {ControlClass::Button, IDOK, "OK", 204, 63, 74, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {ControlClass::Button, IDCANCEL, "Cancel", 204, 81, 74, 14, WS_TABSTOP},
    {ControlClass::Static, -1, "BaseDir:", 7, 7, 28, 8, SS_LEFT | WS_GROUP},
    {ControlClass::Edit, 1001, "", 7, 16, 271, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {ControlClass::Static, -1, "ModelName:", 7, 29, 40, 8, SS_LEFT | WS_GROUP},
    {ControlClass::Edit, 1002, "", 7, 38, 114, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {ControlClass::Static, -1, "Body Skin:", 7, 51, 40, 8, SS_LEFT | WS_GROUP},
    {ControlClass::Edit, 1003, "", 7, 60, 114, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {ControlClass::Static, -1, "Head Skin:", 7, 73, 40, 8, SS_LEFT | WS_GROUP},
    {ControlClass::Edit, 1004, "", 7, 82, 114, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
};
const DialogTemplate kTemplate{102,           "Startup Information",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS,
                               "MS Shell Dlg", 8, 285, 102, kControls, std::size(kControls)};

struct DialogRun {
    std::vector<UINT> messages;
    std::vector<WORD> commands;
    std::string base, name;
    UINT nameCount = 0;
    int cancelsBeforeEnding = 0;  // cancels the procedure lets pass before it ends
    bool endInInit = false;
};
DialogRun* g_run = nullptr;

INT_PTR CALLBACK_dlg(HWND h, UINT m, WPARAM w, LPARAM) {
    g_run->messages.push_back(m);
    if (m == WM_INITDIALOG) {
        sh().setDlgItemText(h, 1001, ".\\models\\players");
        sh().setDlgItemText(h, 1002, "infantryss");
        if (g_run->endInInit) sh().endDialog(h, 42);
        return TRUE;
    }
    if (m == WM_COMMAND) {
        g_run->commands.push_back(LOWORD(w));
        if (LOWORD(w) == IDOK) {
            char buf[500];
            sh().getDlgItemText(h, 1001, buf, 500);
            g_run->base = buf;
            char small[6];
            g_run->nameCount = sh().getDlgItemText(h, 1002, small, 6);
            g_run->name = small;
            sh().endDialog(h, 1);
        } else if (LOWORD(w) == IDCANCEL && g_run->cancelsBeforeEnding-- <= 0) {
            sh().endDialog(h, 0);
        }
    }
    return FALSE;
}

bool isDialog(QWidget* w) { return qobject_cast<QDialog*>(w) && w->findChild<QLineEdit*>("1002"); }

INT_PTR runDialog(DialogRun& run) {
    g_run = &run;
    const INT_PTR r = sh().dialogBox(kTemplate, nullptr, CALLBACK_dlg);
    g_run = nullptr;
    return r;
}

TEST(QtDialog, TypedTextIsReadWithTheCallersBufferLength) {
    DialogRun run;
    qttest::whenModalShown(isDialog, [](QWidget* d) {
        // TRUE from WM_INITDIALOG: the first tab stop, the OK button, has the focus.
        EXPECT_EQ(d->focusWidget(), d->findChild<QPushButton*>("1"));
        auto* name = d->findChild<QLineEdit*>("1002");
        name->clear();
        QTest::keyClicks(name, "Soldier_Long");
        if (const char* shot = std::getenv("KV_QT_SCREENSHOT")) {
            QTest::qWait(200);
            d->screen()->grabWindow(0).save(QString::fromLocal8Bit(shot));
        }
        QTest::mouseClick(d->findChild<QPushButton*>("1"), Qt::LeftButton);
    });
    EXPECT_EQ(runDialog(run), 1);
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages.front(), WM_INITDIALOG);
    EXPECT_EQ(run.messages.back(), WM_DESTROY);
    EXPECT_EQ(run.commands, std::vector<WORD>{IDOK});
    EXPECT_EQ(run.base, ".\\models\\players");
    EXPECT_EQ(run.name, "Soldi");  // 6 characters of room: 5 and the terminator
    EXPECT_EQ(run.nameCount, 5u);
}

TEST(QtDialog, EnterChoosesTheDefaultButton) {
    DialogRun run;
    qttest::whenModalShown(isDialog, [](QWidget* d) {
        QTest::keyClick(d->findChild<QLineEdit*>("1003"), Qt::Key_Return);
    });
    EXPECT_EQ(runDialog(run), 1);
    EXPECT_EQ(run.commands, std::vector<WORD>{IDOK});
    EXPECT_EQ(run.name, "infan");
}

TEST(QtDialog, EscapeAndTheCloseBoxSendCancelAndLeaveTheEndToTheProcedure) {
    DialogRun run;
    run.cancelsBeforeEnding = 1;
    qttest::whenModalShown(isDialog, [](QWidget* d) {
        QTest::keyClick(d, Qt::Key_Escape);
        EXPECT_TRUE(d->isVisible());  // the procedure did not end it yet
        d->close();
    });
    EXPECT_EQ(runDialog(run), 0);
    EXPECT_EQ(run.commands, (std::vector<WORD>{IDCANCEL, IDCANCEL}));
}

TEST(QtDialog, EndingDuringInitReturnsWithoutShowing) {
    DialogRun run;
    run.endInInit = true;
    EXPECT_EQ(runDialog(run), 42);
    EXPECT_TRUE(run.commands.empty());
}

TEST(QtDialog, ItemTextEdges) {
    static char probe[4][8];
    static UINT counts[4];
    static bool setUnknown = true;
    const DialogControl one[] = {{ControlClass::Edit, 5, "abc", 0, 0, 50, 12, WS_TABSTOP}};
    const DialogTemplate t{1, "t", WS_CAPTION, nullptr, 0, 60, 20, one, 1};
    auto proc = [](HWND h, UINT m, WPARAM, LPARAM) -> INT_PTR {
        if (m != WM_INITDIALOG) return FALSE;
        std::memset(probe, 'x', sizeof probe);
        counts[0] = sh().getDlgItemText(h, 5, probe[0], 1);   // room for the terminator only
        counts[1] = sh().getDlgItemText(h, 5, probe[1], 0);   // no room: untouched
        counts[2] = sh().getDlgItemText(h, 77, probe[2], 8);  // no such control
        counts[3] = sh().getDlgItemText(h, 5, probe[3], 8);
        setUnknown = sh().setDlgItemText(h, 77, "z");
        sh().endDialog(h, 3);
        return TRUE;
    };
    EXPECT_EQ(sh().dialogBox(t, nullptr, proc), 3);
    EXPECT_EQ(counts[0], 0u);
    EXPECT_EQ(probe[0][0], '\0');
    EXPECT_EQ(counts[1], 0u);
    EXPECT_EQ(probe[1][0], 'x');
    EXPECT_EQ(counts[2], 0u);
    EXPECT_EQ(probe[2][0], '\0');
    EXPECT_EQ(counts[3], 3u);
    EXPECT_STREQ(probe[3], "abc");
    EXPECT_FALSE(setUnknown);
}

TEST(QtDialog, DialogUnitsFollowTheFont) {
    // The OK button (204, 63, 74 x 14) sits right of the 114-unit edit
    // fields and below the top of the last one, whatever the font measures.
    qttest::whenModalShown(isDialog, [](QWidget* d) {
        const QRect ok = d->findChild<QPushButton*>("1")->geometry();
        const QRect name = d->findChild<QLineEdit*>("1002")->geometry();
        const QRect base = d->findChild<QLineEdit*>("1001")->geometry();
        EXPECT_GT(ok.left(), name.right());
        EXPECT_LT(ok.right(), d->width());
        EXPECT_NEAR(base.width() / static_cast<double>(name.width()), 271.0 / 114.0, 0.05);
        EXPECT_NEAR(ok.height() / static_cast<double>(name.height()), 14.0 / 12.0, 0.15);
        // Base units as Windows takes them: the average Latin letter width
        // (rounded half up) and the font height.
        const QFontMetrics fm(d->font());
        const int bx = (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
        const int by = fm.height();
        EXPECT_EQ(d->width(), std::lround(285.0 * bx / 4));
        EXPECT_EQ(d->height(), std::lround(102.0 * by / 8));
        EXPECT_EQ(base.width(), std::lround(271.0 * bx / 4));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    DialogRun run;
    EXPECT_EQ(runDialog(run), 0);
}

}  // namespace
