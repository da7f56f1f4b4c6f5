// Modal dialogs from templates, their controls and item texts, and the
// message box.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt/qt_shell_impl.h"
#include "platform/qt/qt_tree.h"

namespace qtshell::detail {

namespace {

class QtProgressControl final : public shell::ProgressControl {
public:
    explicit QtProgressControl(QProgressBar* bar) : bar_(bar) {}
    void setRange32(int low, int high) override {
        low_ = low;
        high_ = std::max(low, high);
        // An empty range would turn Qt's bar into a busy indicator; Win32
        // shows an empty bar.
        bar_->setRange(low_, high_ > low_ ? high_ : low_ + 1);
    }
    void setPos(int pos) override { bar_->setValue(std::clamp(pos, low_, high_)); }

private:
    QProgressBar* bar_;
    int low_ = 0;
    int high_ = 100;
};

// A dialog whose Escape, close box and Enter become WM_COMMAND messages to
// the dialog procedure instead of ending the dialog by themselves.
class ShellDialog : public QDialog {
public:
    ShellDialog(QtShell& shell, WindowRecord& rec, QWidget* parent) : QDialog(parent), shell_(shell), rec_(rec) {}
    void reject() override { shell_.send(rec_, shell::WM_COMMAND, makeWParam(shell::IDCANCEL, 0), 0); }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && (e->modifiers() & ~Qt::KeypadModifier) == 0) {
            const auto buttons = findChildren<QPushButton*>();
            const bool hasDefault =
                std::any_of(buttons.begin(), buttons.end(), [](QPushButton* b) { return b->isDefault() && b->isVisible(); });
            if (!hasDefault) {
                shell_.send(rec_, shell::WM_COMMAND, makeWParam(shell::IDOK, 0), 0);
                return;
            }
        }
        QDialog::keyPressEvent(e);
    }

private:
    QtShell& shell_;
    WindowRecord& rec_;
};

int dialogUnits(int v, int base, int div) { return static_cast<int>(std::lround(static_cast<double>(v) * base / div)); }

}  // namespace

class DialogState {
public:
    QDialog* dialog = nullptr;
    std::vector<std::pair<int, QWidget*>> controls;  // template order
    std::map<int, std::unique_ptr<QtTreeControl>> trees;
    std::map<int, std::unique_ptr<QtProgressControl>> progress;
    INT_PTR result = 0;
    bool ended = false;

    QWidget* control(int id) const {
        for (const auto& [cid, w] : controls)
            if (cid == id) return w;
        return nullptr;
    }
};

QWidget* QtShell::ownerWidget(HWND owner) const {
    WindowRecord* r = record(owner);
    return r && r->isDialog && r->dialog ? r->dialog->dialog : nullptr;
}

QWindow* QtShell::ownerWindow(HWND owner) const {
    WindowRecord* r = record(owner);
    if (!r) return nullptr;
    if (r->window) return r->window;
    if (r->dialog && r->dialog->dialog) return r->dialog->dialog->windowHandle();
    return nullptr;
}

namespace {
// Puts a parentless dialog or message box over a main window owner.
void placeOver(QWidget* w, QWindow* owner) {
    if (!owner || w->parentWidget()) return;
    w->winId();
    if (w->windowHandle()) w->windowHandle()->setTransientParent(owner);
}
void reactivate(QWindow* owner) {
    if (owner && owner->isVisible()) owner->requestActivate();
}
}  // namespace

INT_PTR QtShell::dialogBox(const shell::DialogTemplate& tmpl, HWND owner, shell::DLGPROC proc) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || !proc) return -1;
    if (tmpl.controlCount > 0 && !tmpl.controls) return -1;
    WindowRecord* rec = newRecord();
    rec->isDialog = true;
    rec->dlgProc = proc;
    DialogState st;
    rec->dialog = &st;
    QWindow* ownerWin = ownerWindow(owner);
    auto dlg = std::make_unique<ShellDialog>(*this, *rec, ownerWidget(owner));
    st.dialog = dlg.get();

    Qt::WindowFlags f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (tmpl.style & shell::WS_SYSMENU) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    dlg->setWindowFlags(f);
    dlg->setWindowTitle(QString::fromLocal8Bit(tmpl.caption ? tmpl.caption : ""));
    if ((tmpl.style & shell::DS_SETFONT) && tmpl.fontName) {
        QFont font(QString::fromLocal8Bit(tmpl.fontName));
        if (tmpl.pointSize > 0) font.setPointSize(tmpl.pointSize);
        dlg->setFont(font);
    }
    // Dialog base units as Windows measures them: the average width of the
    // Latin letters and the font height.
    const QFontMetrics fm(dlg->font());
    const int baseX = (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int baseY = fm.height();
    dlg->setFixedSize(dialogUnits(tmpl.cx, baseX, 4), dialogUnits(tmpl.cy, baseY, 8));

    QWidget* firstTabStop = nullptr;
    for (std::size_t i = 0; i < tmpl.controlCount; ++i) {
        const shell::DialogControl& c = tmpl.controls[i];
        const QString text = QString::fromLocal8Bit(c.text ? c.text : "");
        QWidget* w = nullptr;
        switch (c.cls) {
        case shell::ControlClass::Button: {
            auto* b = new QPushButton(text, dlg.get());
            b->setAutoDefault(true);
            if ((c.style & 0xF) == shell::BS_DEFPUSHBUTTON) b->setDefault(true);
            const int id = c.id;
            QObject::connect(b, &QPushButton::clicked, b, [this, rec, id] {
                send(*rec, shell::WM_COMMAND, makeWParam(id, 0), 0);
            });
            w = b;
            break;
        }
        case shell::ControlClass::Static: {
            auto* l = new QLabel(text, dlg.get());
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            l->setWordWrap((c.style & 0xF) != shell::SS_LEFTNOWORDWRAP);
            w = l;
            break;
        }
        case shell::ControlClass::Edit: {
            auto* e = new QLineEdit(text, dlg.get());
            e->setFrame((c.style & shell::WS_BORDER) != 0);
            w = e;
            break;
        }
        case shell::ControlClass::TreeView: {
            const int id = c.id;
            auto tree = std::make_unique<QtTreeControl>(id, c.style, dlg.get(), [this, rec, id](shell::NMTREEVIEW& nm) {
                return send(*rec, shell::WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&nm));
            });
            w = tree->view();
            if (!st.trees.count(id)) st.trees[id] = std::move(tree);
            break;
        }
        case shell::ControlClass::Progress: {
            auto* p = new QProgressBar(dlg.get());
            p->setTextVisible(false);
            p->setRange(0, 100);
            p->setValue(0);
            if (!st.progress.count(c.id)) st.progress[c.id] = std::make_unique<QtProgressControl>(p);
            w = p;
            break;
        }
        }
        if (!w) {
            rec->destroyed = true;
            rec->dialog = nullptr;
            return -1;
        }
        w->setGeometry(dialogUnits(c.x, baseX, 4), dialogUnits(c.y, baseY, 8), dialogUnits(c.cx, baseX, 4),
                       dialogUnits(c.cy, baseY, 8));
        const bool tabStop = (c.style & shell::WS_TABSTOP) != 0;
        if (w->focusPolicy() != Qt::NoFocus) w->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        if (tabStop && !firstTabStop) firstTabStop = w;
        if (c.id != -1) w->setObjectName(QString::number(c.id));
        st.controls.emplace_back(c.id, w);
    }
    dlg->setModal(true);
    placeOver(dlg.get(), ownerWin);

    // TRUE from WM_INITDIALOG asks for the focus on the first tab stop.
    if (send(*rec, shell::WM_INITDIALOG, 0, 0) != 0 && firstTabStop) firstTabStop->setFocus(Qt::TabFocusReason);
    if (!st.ended) dlg->exec();
    send(*rec, shell::WM_DESTROY, 0, 0);
    rec->destroyed = true;
    rec->dialog = nullptr;
    dlg.reset();
    reactivate(ownerWin);
    return st.result;
}

bool QtShell::endDialog(HWND dialog, INT_PTR result) {
    WindowRecord* r = record(dialog);
    if (!r || !r->isDialog || !r->dialog) return false;
    r->dialog->result = result;
    r->dialog->ended = true;
    r->dialog->dialog->done(0);
    return true;
}

bool QtShell::setDlgItemText(HWND dialog, int id, const char* text) {
    WindowRecord* r = record(dialog);
    if (!r || !r->dialog) return false;
    QWidget* w = r->dialog->control(id);
    if (!w) return false;
    const QString t = QString::fromLocal8Bit(text ? text : "");
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(t);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(t);
    return true;
}

UINT QtShell::getDlgItemText(HWND dialog, int id, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    buffer[0] = '\0';
    WindowRecord* r = record(dialog);
    QWidget* w = r && r->dialog ? r->dialog->control(id) : nullptr;
    if (!w) return 0;
    QString t;
    if (auto* e = qobject_cast<QLineEdit*>(w)) t = e->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) t = b->text();
    else if (auto* l = qobject_cast<QLabel*>(w)) t = l->text();
    const QByteArray bytes = t.toLocal8Bit();
    const auto n = std::min<qsizetype>(bytes.size(), maxCount - 1);
    std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

shell::TreeControl* QtShell::treeControl(HWND dialog, int id) {
    WindowRecord* r = record(dialog);
    if (!r || !r->dialog) return nullptr;
    auto it = r->dialog->trees.find(id);
    return it == r->dialog->trees.end() ? nullptr : it->second.get();
}

shell::ProgressControl* QtShell::progressControl(HWND dialog, int id) {
    WindowRecord* r = record(dialog);
    if (!r || !r->dialog) return nullptr;
    auto it = r->dialog->progress.find(id);
    return it == r->dialog->progress.end() ? nullptr : it->second.get();
}

int QtShell::messageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type & 0xF0) {
    case shell::MB_ICONERROR: icon = QMessageBox::Critical; break;
    case shell::MB_ICONWARNING: icon = QMessageBox::Warning; break;
    case 0x20: icon = QMessageBox::Question; break;
    case 0x40: icon = QMessageBox::Information; break;
    default: break;
    }
    QWindow* ownerWin = ownerWindow(owner);
    QMessageBox box(icon, QString::fromLocal8Bit(caption ? caption : "Error"), QString::fromLocal8Bit(text ? text : ""),
                    QMessageBox::Ok, ownerWidget(owner));
    box.setTextFormat(Qt::PlainText);
    placeOver(&box, ownerWin);
    box.exec();
    reactivate(ownerWin);
    return shell::IDOK;
}

}  // namespace qtshell::detail
