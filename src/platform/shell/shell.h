// The shell: windows, the message queue, modal dialogs from templates, the
// controls the two programs use, message boxes and the file-open dialog.
//
// It carries exactly what the programs pass to the window system and rely
// on, with message, key and flag codes numbered as Win32 numbers them, so a
// Windows backend can pass real messages straight through. The system code
// reaches the installed shell through shell::current(); the Qt backend
// lives in src/platform/qt, a scripted fake for tests in tests/support.
#pragma once

#include <cstddef>

#include "platform/wintypes.h"

namespace shell {

// ---- messages --------------------------------------------------------------
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MOUSEWHEEL = 0x020A;

constexpr UINT WA_INACTIVE = 0;
constexpr UINT WA_ACTIVE = 1;
constexpr UINT WA_CLICKACTIVE = 2;

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual-key codes; letters and digits are their upper-case ASCII codes.
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_ADD = 0x6B;
constexpr WPARAM VK_SUBTRACT = 0x6D;
constexpr WPARAM VK_F4 = 0x73;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONWARNING = 0x00000030;

constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// ---- window and control styles ---------------------------------------------
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_BYTEALIGNWINDOW = 0x2000;

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_FIXEDSYS = 0x0008;

constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_LEFTNOWORDWRAP = 0xC;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD TVS_HASBUTTONS = 0x1;
constexpr DWORD TVS_HASLINES = 0x2;
constexpr DWORD TVS_LINESATROOT = 0x4;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct WNDCLASS {
    UINT style;
    WNDPROC lpfnWndProc;
    const char* lpszClassName;
};

// ---- dialog templates ------------------------------------------------------
enum class ControlClass { Button, Static, Edit, TreeView, Progress };

struct DialogControl {
    ControlClass cls;
    int id;  // -1 for none
    const char* text;
    int x, y, cx, cy;  // dialog units
    DWORD style;       // besides WS_CHILD | WS_VISIBLE
};

struct DialogTemplate {
    int resourceId;
    const char* caption;
    DWORD style;
    const char* fontName;
    int pointSize;
    int cx, cy;  // dialog units
    const DialogControl* controls;
    std::size_t controlCount;
};

// ---- tree view and progress bar (the browser's controls) ---------------------
struct TreeItem;
using HTREEITEM = TreeItem*;
// Sentinels with the Win32 values.
inline HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));

constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
constexpr UINT TVE_COLLAPSE = 0x1;
constexpr UINT TVE_EXPAND = 0x2;
constexpr UINT TVN_ITEMEXPANDINGA = static_cast<UINT>(-405);

// Sent to the dialog procedure as WM_NOTIFY with a pointer to this in lParam
// when a node is about to open or close. Returning FALSE lets it proceed.
struct NMTREEVIEW {
    UINT code;  // TVN_ITEMEXPANDINGA
    int idFrom;
    UINT action;  // TVE_EXPAND or TVE_COLLAPSE
    HTREEITEM item;
    UINT state;  // TVIS_ flags before the change
    LPARAM lParam;
};

class TreeControl {
public:
    virtual ~TreeControl() = default;
    // Inserts a node under parent (TVI_ROOT for the top) after `after`
    // (a sibling, TVI_FIRST or TVI_LAST). hasChildren shows an expander
    // before any child exists.
    virtual HTREEITEM insertItem(HTREEITEM parent, HTREEITEM after, const char* text, LPARAM param,
                                 bool hasChildren) = 0;
    virtual void deleteAllItems() = 0;
    // TVE_EXPAND or TVE_COLLAPSE; expanding sends the notification first.
    virtual void expand(HTREEITEM item, UINT action) = 0;
    virtual UINT itemState(HTREEITEM item) = 0;
};

class ProgressControl {
public:
    virtual ~ProgressControl() = default;
    virtual void setRange32(int low, int high) = 0;
    virtual void setPos(int pos) = 0;
};

// ---- the file-open dialog -----------------------------------------------------
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

struct OPENFILENAME {
    HWND hwndOwner;
    const char* lpstrFilter;  // pairs of NUL-terminated strings, ended by an empty one
    DWORD nFilterIndex;       // 1-based
    char* lpstrFile;          // in: initial name (may be empty); out: chosen path
    DWORD nMaxFile;           // buffer length in characters, terminator included
    const char* lpstrInitialDir;
    const char* lpstrTitle;
    DWORD Flags;
    const char* lpstrDefExt;
};

// ---- the shell -----------------------------------------------------------------
class Shell {
public:
    virtual ~Shell() = default;

    virtual bool registerClass(const WNDCLASS& wc) = 0;
    virtual HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                              int width, int height) = 0;
    virtual void showWindow(HWND hwnd, int cmdShow) = 0;
    virtual void setForegroundWindow(HWND hwnd) = 0;
    virtual bool destroyWindow(HWND hwnd) = 0;
    virtual bool getClientRect(HWND hwnd, RECT* rect) = 0;
    virtual void setCapture(HWND hwnd) = 0;
    virtual void releaseCapture() = 0;
    // Marks the area (the whole client area when null) valid.
    virtual void validateRect(HWND hwnd, const RECT* rect) = 0;
    virtual void redrawWindow(HWND hwnd) = 0;  // repaint now
    virtual bool getCursorPos(POINT* point) = 0;

    // Takes one message without waiting (PM_REMOVE); false when none.
    virtual bool peekMessage(MSG* msg) = 0;
    virtual void translateMessage(const MSG* msg) = 0;
    virtual LRESULT dispatchMessage(const MSG* msg) = 0;
    virtual void postQuitMessage(int exitCode) = 0;
    // WM_CLOSE destroys the window (then WM_DESTROY); Alt+F4 closes it.
    virtual LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    // Runs the dialog modally; returns the value given to endDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR dialogBox(const DialogTemplate& tmpl, HWND owner, DLGPROC proc) = 0;
    virtual bool endDialog(HWND dialog, INT_PTR result) = 0;
    virtual bool setDlgItemText(HWND dialog, int id, const char* text) = 0;
    // Copies at most maxCount - 1 characters and a terminator; returns the
    // count copied.
    virtual UINT getDlgItemText(HWND dialog, int id, char* buffer, int maxCount) = 0;
    virtual TreeControl* treeControl(HWND dialog, int id) = 0;
    virtual ProgressControl* progressControl(HWND dialog, int id) = 0;

    virtual int messageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;

    // True when a file was chosen (its path in lpstrFile). False on cancel
    // or error; commDlgExtendedError then tells which (0 for cancel).
    virtual bool getOpenFileName(OPENFILENAME* ofn) = 0;
    virtual DWORD commDlgExtendedError() = 0;
};

Shell& current();
void setCurrent(Shell* shell);

}  // namespace shell
