// The start-up dialog: asks for the base directory, the model name and the
// two skin file names, stores them in the application state and composes
// the lower-cased model directory from which every later path is built.
#pragma once

#include "platform/shell/shell.h"

constexpr int IDD_STARTUP = 102;
constexpr int IDC_BASEDIR = 1001;
constexpr int IDC_MODELNAME = 1002;
constexpr int IDC_BODYSKIN = 1003;
constexpr int IDC_HEADSKIN = 1004;

// Template 102: caption, frame, font, size and controls in tab order.
extern const shell::DialogTemplate StartupDialogTemplate;

// ModelDir ← BaseDir, a backslash and ModelName, lower-cased (A-Z only:
// modelDirOf). OK calls it.
void composeModelDir();

// WM_INITDIALOG fills the defaults; OK takes the four fields over and ends
// with 1; Cancel (also Escape and the close box) ends with 0.
INT_PTR StartupDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over `owner`; 1 for OK, 0 for Cancel, -1 when it
// could not be shown.
INT_PTR runStartupDialog(HWND owner);
