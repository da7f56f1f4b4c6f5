// Tessaly's one dialog, "Brannock": the tree of the opened MDS file, the
// progress bar, "Load New" and "Done".
//
// The dialog procedure holds the one MdsFile. "Load New" asks for a file,
// drops the old tree and model, reads and resolves the new file, adds the
// root (the path), repaints, builds the tree under it and opens the root.
// A frame node gets its content the first time it is opened. Everything
// reaches the window system through shell::current().
#pragma once

#include "platform/shell/shell.h"

namespace browser {

constexpr int kBrowserDialogId = 101;
constexpr int kIdLoadNew = 1;  // the default button (Enter)
constexpr int kIdDone = 2;     // also Escape and the close box
constexpr int kIdTree = 1001;
constexpr int kIdProgress = 1005;

inline constexpr const char kLabelNoFile[] = "no file loaded";
inline constexpr const char kOpenErrorText[] = "Error in GetOpenFileName (before opening the file)";
inline constexpr const char kOpenErrorCaption[] = "Load Error";
inline constexpr char kOpenFilter[] = "RTCW MDS Files (.mds)\0*.mds\0All Files (*.*)\0*.*\0";
constexpr DWORD kPathBufferLength = 256;

// Dialog 101 with its five controls.
const shell::DialogTemplate& browserDialogTemplate();

INT_PTR browserDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Shows the dialog modally with no owner; returns 0 when it ends.
int runBrowser();

}  // namespace browser
