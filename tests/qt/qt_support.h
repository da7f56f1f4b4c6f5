// Helpers for the Qt shell tests: the installed shell, draining the queue,
// waiting, and acting on a modal dialog once it shows.
#pragma once

#include <QString>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <vector>

#include "platform/shell/shell.h"

namespace qttest {

inline shell::Shell& sh() { return shell::current(); }

// Takes every message until the queue stayed empty for quietMs.
std::vector<shell::MSG> drain(int quietMs = 150);
// Runs the Qt event loop until pred holds or ms pass; returns pred().
bool waitFor(const std::function<bool()>& pred, int ms = 3000);
QWindow* windowTitled(const QString& title);
// Calls f with the active modal widget once one of type T is shown (polled
// from a timer, so it runs inside the modal loop).
void whenModalShown(const std::function<bool(QWidget*)>& accept, const std::function<void(QWidget*)>& f);

}  // namespace qttest
