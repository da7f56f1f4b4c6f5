// Main windows: Qt input becomes queued Win32 messages, paint and activation
// reach the procedure directly, and closing runs WM_CLOSE -> WM_DESTROY ->
// WM_QUIT.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QOpenGLContext>
#include <QTest>
#include <QWheelEvent>

#include "platform/qt/qt_shell.h"
#include "qt_support.h"

using namespace shell;
using qttest::sh;

namespace {

std::vector<MSG> g_seen;  // what the window procedure received

LRESULT CALLBACK_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    g_seen.push_back(MSG{h, m, w, l});
    if (m == WM_DESTROY) {
        sh().postQuitMessage(7);
        return 0;
    }
    return sh().defWindowProc(h, m, w, l);
}

bool has(const std::vector<MSG>& v, UINT m) {
    for (const MSG& x : v)
        if (x.message == m) return true;
    return false;
}

std::vector<MSG> only(const std::vector<MSG>& v, std::initializer_list<UINT> kinds) {
    std::vector<MSG> out;
    for (const MSG& x : v)
        for (UINT k : kinds)
            if (x.message == k) out.push_back(x);
    return out;
}

class QtWindow : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc{0x202B, CALLBACK_proc, "QtTestClass"};
            ASSERT_TRUE(sh().registerClass(wc));
            registered = true;
        }
        static int n = 0;
        title_ = QStringLiteral("Shell test %1").arg(++n);
        g_seen.clear();
        hwnd_ = sh().createWindow(0x50001, "QtTestClass", title_.toLatin1().constData(), 0x80C80000, 150, 150, 500, 500);
        ASSERT_NE(hwnd_, nullptr);
        sh().showWindow(hwnd_, SW_SHOWNORMAL);
        sh().setForegroundWindow(hwnd_);
        win_ = qttest::windowTitled(title_);
        ASSERT_NE(win_, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(win_));
        qttest::drain(50);
    }
    void TearDown() override {
        if (sh().destroyWindow(hwnd_)) qttest::drain(50);
    }
    QString title_;
    HWND hwnd_ = nullptr;
    QWindow* win_ = nullptr;
};

TEST_F(QtWindow, ShowingSendsActivationAndPaintToTheProcedure) {
    EXPECT_TRUE(has(g_seen, WM_PAINT));
    bool active = false;
    for (const MSG& m : g_seen)
        if (m.message == WM_ACTIVATE) active = LOWORD(m.wParam) == WA_ACTIVE;
    EXPECT_TRUE(active);
    // No frame here (no window manager): the client is the whole 500 x 500.
    RECT rc{};
    ASSERT_TRUE(sh().getClientRect(hwnd_, &rc));
    EXPECT_EQ(rc.right, 500);
    EXPECT_EQ(rc.bottom, 500);
    EXPECT_EQ(win_->minimumSize(), win_->maximumSize());  // not resizable

    GlSurface* s = qtshell::surfaceForQtWindow(hwnd_);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->makeCurrent());
    const QSurfaceFormat f = QOpenGLContext::currentContext()->format();
    EXPECT_GE(f.version(), qMakePair(3, 3));
    EXPECT_EQ(f.profile(), QSurfaceFormat::CoreProfile);
    UINT w = 0, h = 0;
    s->pixelSize(&w, &h);
    EXPECT_EQ(w, 500u);
    EXPECT_EQ(h, 500u);
    EXPECT_EQ(s->framebuffer(), 0u);
    EXPECT_EQ(qtshell::surfaceForQtWindow(nullptr), nullptr);
}

TEST_F(QtWindow, KeysArriveAsVirtualKeyCodes) {
    QTest::keyClick(win_, Qt::Key_W);
    QTest::keyClick(win_, Qt::Key_5);
    QTest::keyClick(win_, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(win_, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(win_, Qt::Key_Left);
    QTest::keyClick(win_, Qt::Key_Down);
    QTest::keyClick(win_, Qt::Key_Space);
    QTest::keyClick(win_, Qt::Key_Escape);
    QTest::keyClick(win_, Qt::Key_Return);
    QTest::keyPress(win_, Qt::Key_Control);
    QTest::keyRelease(win_, Qt::Key_Control);
    QTest::keyClick(win_, Qt::Key_X, Qt::AltModifier);
    const auto keys = only(qttest::drain(), {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP});
    const std::vector<std::pair<UINT, WPARAM>> want{
        {WM_KEYDOWN, 'W'},         {WM_KEYUP, 'W'},          {WM_KEYDOWN, '5'},      {WM_KEYUP, '5'},
        {WM_KEYDOWN, VK_ADD},      {WM_KEYUP, VK_ADD},       {WM_KEYDOWN, VK_SUBTRACT}, {WM_KEYUP, VK_SUBTRACT},
        {WM_KEYDOWN, VK_LEFT},     {WM_KEYUP, VK_LEFT},      {WM_KEYDOWN, VK_DOWN},  {WM_KEYUP, VK_DOWN},
        {WM_KEYDOWN, VK_SPACE},    {WM_KEYUP, VK_SPACE},     {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE},
        {WM_KEYDOWN, VK_RETURN},   {WM_KEYUP, VK_RETURN},    {WM_KEYDOWN, VK_CONTROL}, {WM_KEYUP, VK_CONTROL},
        {WM_SYSKEYDOWN, VK_MENU},  {WM_SYSKEYDOWN, 'X'},     {WM_SYSKEYUP, 'X'},     {WM_SYSKEYUP, VK_MENU}};
    ASSERT_EQ(keys.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(keys[i].message, want[i].first) << i;
        EXPECT_EQ(keys[i].wParam, want[i].second) << i;
        EXPECT_EQ(keys[i].hwnd, hwnd_);
        const DWORD lp = static_cast<DWORD>(keys[i].lParam);
        const bool up = keys[i].message == WM_KEYUP || keys[i].message == WM_SYSKEYUP;
        EXPECT_EQ((lp >> 31) & 1u, up ? 1u : 0u) << i;
        EXPECT_EQ((lp >> 29) & 1u, keys[i].message >= WM_SYSKEYDOWN ? 1u : 0u) << i;
    }
    // Keys never reach the procedure without dispatch.
    EXPECT_FALSE(has(g_seen, WM_KEYDOWN));
}

TEST_F(QtWindow, AutoRepeatGivesFurtherKeyDownsAndOneKeyUp) {
    QKeyEvent p1(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", false);
    QKeyEvent r1(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", true);
    QKeyEvent p2(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
    QKeyEvent r2(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", false);
    for (QKeyEvent* e : {&p1, &r1, &p2, &r2}) QCoreApplication::sendEvent(win_, e);
    const auto keys = only(qttest::drain(), {WM_KEYDOWN, WM_KEYUP});
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ((static_cast<DWORD>(keys[0].lParam) >> 30) & 1u, 0u);
    EXPECT_EQ(keys[1].message, WM_KEYDOWN);
    EXPECT_EQ((static_cast<DWORD>(keys[1].lParam) >> 30) & 1u, 1u);  // was already down
    EXPECT_EQ(keys[2].message, WM_KEYUP);
}

TEST_F(QtWindow, TranslateQueuesTheCharacterNext) {
    QTest::keyClick(win_, Qt::Key_N);
    MSG m{};
    ASSERT_TRUE(qttest::waitFor([&] { return sh().peekMessage(&m) && m.message == WM_KEYDOWN; }));
    sh().translateMessage(&m);
    MSG c{};
    ASSERT_TRUE(sh().peekMessage(&c));
    EXPECT_EQ(c.message, WM_CHAR);
    EXPECT_EQ(c.wParam, static_cast<WPARAM>('n'));
    qttest::drain(50);
}

TEST_F(QtWindow, MouseMessagesCarryClientPositionsAndFlags) {
    QTest::mouseMove(win_, QPoint(30, 40));
    QTest::mousePress(win_, Qt::RightButton, Qt::ControlModifier, QPoint(10, 20));
    QTest::mouseRelease(win_, Qt::RightButton, Qt::ControlModifier, QPoint(12, 22));
    const QPoint local(100, 60);
    QWheelEvent wheel(local, win_->mapToGlobal(QPointF(local)), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(win_, &wheel);
    const auto v = only(qttest::drain(), {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEWHEEL});
    const MSG* move = nullptr;
    const MSG* down = nullptr;
    const MSG* up = nullptr;
    const MSG* wh = nullptr;
    for (const MSG& m : v) {
        if (m.message == WM_MOUSEMOVE && !move) move = &m;
        if (m.message == WM_RBUTTONDOWN) down = &m;
        if (m.message == WM_RBUTTONUP) up = &m;
        if (m.message == WM_MOUSEWHEEL) wh = &m;
    }
    ASSERT_TRUE(move && down && up && wh);
    EXPECT_EQ(LOWORD(static_cast<WPARAM>(move->lParam)), 30);
    EXPECT_EQ(HIWORD(static_cast<WPARAM>(move->lParam)), 40);
    EXPECT_EQ(down->wParam, MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(LOWORD(static_cast<WPARAM>(down->lParam)), 10);
    EXPECT_EQ(HIWORD(static_cast<WPARAM>(down->lParam)), 20);
    EXPECT_EQ(up->wParam, MK_CONTROL);  // the released button is no longer held
    EXPECT_EQ(static_cast<short>(HIWORD(wh->wParam)), -240);
    EXPECT_EQ(LOWORD(wh->wParam), MK_SHIFT);
    const QPoint g = win_->mapToGlobal(local);
    EXPECT_EQ(static_cast<short>(LOWORD(static_cast<WPARAM>(wh->lParam))), g.x());  // screen coordinates
    EXPECT_EQ(static_cast<short>(HIWORD(static_cast<WPARAM>(wh->lParam))), g.y());
}

TEST_F(QtWindow, CloseBoxRunsCloseDestroyQuit) {
    win_->close();  // the window manager's close request
    MSG m{};
    ASSERT_TRUE(qttest::waitFor([&] { return sh().peekMessage(&m) && m.message == WM_CLOSE; }));
    EXPECT_EQ(m.hwnd, hwnd_);
    RECT rc{};
    EXPECT_TRUE(sh().getClientRect(hwnd_, &rc));  // still there until the procedure decides
    g_seen.clear();
    sh().dispatchMessage(&m);
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].message, WM_CLOSE);
    EXPECT_EQ(g_seen[1].message, WM_DESTROY);
    EXPECT_FALSE(sh().getClientRect(hwnd_, &rc));
    EXPECT_FALSE(qtshell::surfaceForQtWindow(hwnd_)->makeCurrent());
    const auto rest = qttest::drain();
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back().message, WM_QUIT);
    EXPECT_EQ(rest.back().wParam, 7u);
    EXPECT_FALSE(sh().destroyWindow(hwnd_));
}

TEST_F(QtWindow, AltF4ClosesThroughTheDefaultProcedure) {
    QTest::keyClick(win_, Qt::Key_F4, Qt::AltModifier);
    bool quit = false;
    qttest::waitFor([&] {
        MSG m{};
        while (!quit && sh().peekMessage(&m)) {
            if (m.message == WM_QUIT) quit = true;
            else sh().dispatchMessage(&m);
        }
        return quit;
    });
    EXPECT_TRUE(quit);
    EXPECT_TRUE(has(g_seen, WM_SYSKEYDOWN));
    EXPECT_TRUE(has(g_seen, WM_CLOSE));
    EXPECT_TRUE(has(g_seen, WM_DESTROY));
}

}  // namespace
