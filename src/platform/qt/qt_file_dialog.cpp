// The file-open dialog: a Qt file dialog with the caller's filter list, or,
// for automated runs, the answer given in KV_OPEN_FILE_ANSWER.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <cstring>

#include "platform/qt/qt_shell_impl.h"

namespace qtshell::detail {

namespace {

constexpr DWORD kCderrInitialization = 0x0002;  // the call's structure cannot be used

// Win32 filter pairs ("Text", "*.a;*.b", ..., "") as Qt name filters.
QStringList nameFilters(const char* p) {
    QStringList out;
    while (p && *p) {
        const QString desc = QString::fromLocal8Bit(p);
        p += std::strlen(p) + 1;
        if (!*p) break;
        QString pattern = QString::fromLocal8Bit(p);
        p += std::strlen(p) + 1;
        out << desc + QStringLiteral(" (") + pattern.replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

// Appends the default extension when the name has none, as Win32 does.
QString withDefaultExtension(const QString& path, const char* defExt) {
    if (!defExt || !*defExt) return path;
    if (!QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + QString::fromLocal8Bit(defExt);
}

}  // namespace

bool QtShell::getOpenFileName(shell::OPENFILENAME* ofn) {
    lastDialogError_ = 0;
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) {
        lastDialogError_ = kCderrInitialization;
        return false;
    }
    const bool mustExist = (ofn->Flags & shell::OFN_FILEMUSTEXIST) != 0;
    QString chosen;
    if (qEnvironmentVariableIsSet("KV_OPEN_FILE_ANSWER")) {
        // Scripted answer: the path the user would have picked; empty means
        // the user cancelled.
        chosen = QString::fromLocal8Bit(qgetenv("KV_OPEN_FILE_ANSWER"));
        if (chosen.isEmpty()) return false;
        if (mustExist && !QFileInfo::exists(chosen)) chosen = withDefaultExtension(chosen, ofn->lpstrDefExt);
        if (mustExist && !QFileInfo::exists(chosen)) {
            // The real dialog would not have accepted it; the user gives up.
            qWarning("KV_OPEN_FILE_ANSWER: no such file: %s", qPrintable(chosen));
            return false;
        }
        chosen = QFileInfo(chosen).absoluteFilePath();
    } else {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            lastDialogError_ = kCderrInitialization;
            return false;
        }
        QString dir = QString::fromLocal8Bit(ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "");
        const QString initial = QString::fromLocal8Bit(ofn->lpstrFile);
        QFileDialog dlg(ownerWidget(ofn->hwndOwner),
                        QString::fromLocal8Bit(ofn->lpstrTitle ? ofn->lpstrTitle : "Open"), dir);
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        const QStringList filters = nameFilters(ofn->lpstrFilter);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            const auto index = ofn->nFilterIndex >= 1 ? static_cast<qsizetype>(ofn->nFilterIndex) - 1 : 0;
            dlg.selectNameFilter(filters.value(index, filters.first()));
        }
        if (ofn->lpstrDefExt && *ofn->lpstrDefExt) dlg.setDefaultSuffix(QString::fromLocal8Bit(ofn->lpstrDefExt));
        if (!initial.isEmpty()) dlg.selectFile(initial);
        QWindow* ownerWin = ownerWindow(ofn->hwndOwner);
        if (ownerWin && !dlg.parentWidget()) {
            dlg.winId();
            if (dlg.windowHandle()) dlg.windowHandle()->setTransientParent(ownerWin);
        }
        const int accepted = dlg.exec();
        if (ownerWin && ownerWin->isVisible()) ownerWin->requestActivate();
        if (accepted != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
        chosen = withDefaultExtension(dlg.selectedFiles().first(), ofn->lpstrDefExt);
        if (mustExist && !QFileInfo::exists(chosen)) chosen = dlg.selectedFiles().first();
    }
    // A path that does not fit is the dialog's error; never hand back a
    // shortened path that names some other file.
    const QByteArray out = QDir::toNativeSeparators(chosen).toLocal8Bit();
    if (static_cast<DWORD>(out.size()) > ofn->nMaxFile - 1) {
        lastDialogError_ = shell::FNERR_BUFFERTOOSMALL;
        return false;
    }
    std::memcpy(ofn->lpstrFile, out.constData(), static_cast<std::size_t>(out.size()));
    ofn->lpstrFile[out.size()] = '\0';
    return true;
}

}  // namespace qtshell::detail
