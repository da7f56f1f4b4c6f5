// The Win32 calls behind the Windows shell, declared with plain C++ types.
//
// <windows.h> and our shell interface cannot meet in one translation unit
// (both name DWORD, HWND, WM_CLOSE, ... differently), so win32_calls.cpp
// holds every call that needs <windows.h> and win32_shell.cpp turns the
// shell interface into these functions. Handles travel as void*; the
// shell's HWND and HTREEITEM values are the real handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace w32 {

using Handle = void*;
// A window or dialog procedure in plain types (ABI of the shell's).
using Callback = std::intptr_t (*)(Handle hwnd, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

// ---- windows and messages
void setWindowCallback(Callback cb);  // every window of a registered class
bool registerClass(unsigned style, const char* className);
Handle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style, int x,
                    int y, int width, int height);
void showWindow(Handle hwnd, int cmdShow);
void setForegroundWindow(Handle hwnd);
bool destroyWindow(Handle hwnd);
bool getClientRect(Handle hwnd, std::int32_t rect[4]);
void setCapture(Handle hwnd);
void releaseCapture();
void validateRect(Handle hwnd, const std::int32_t* rect);
void redrawWindow(Handle hwnd);
bool getCursorPos(std::int32_t point[2]);

struct Message {
    Handle hwnd;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};
bool peekMessage(Message* msg);  // keeps the full message for the two below
void translateLastMessage();
std::intptr_t dispatchLastMessage();
void postQuitMessage(int exitCode);
std::intptr_t defWindowProc(Handle hwnd, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

// ---- dialogs from templates
enum class ControlKind { Button, Static, Edit, TreeView, Progress };
struct Control {
    ControlKind kind;
    int id;
    const char* text;
    int x, y, cx, cy;
    std::uint32_t style;  // WS_CHILD | WS_VISIBLE are added
};
struct Template {
    int resourceId;  // the program's own DIALOG resource of this number, where it has one
    const char* caption;
    std::uint32_t style;
    const char* fontName;
    int pointSize;
    int cx, cy;
    const Control* controls;
    std::size_t controlCount;
};
// What a tree view's expanding notification carries (lParam of WM_NOTIFY as
// the callback sees it).
struct TreeNotify {
    unsigned code;  // always the ANSI code, TVN_ITEMEXPANDINGA
    int idFrom;
    unsigned action;
    Handle item;
    unsigned state;
    std::intptr_t lParam;
};
// The template as the system takes it in memory (a DLGTEMPLATE).
std::vector<std::uint16_t> dialogTemplateWords(const Template& tmpl);
// The program's DIALOG resource `id` as it was linked in; empty without one.
std::vector<std::uint16_t> dialogResourceWords(int id);
// Runs the dialog modally, from the program's resource `tmpl.resourceId`
// where there is one and from `tmpl` itself otherwise (programs without a
// resource script, such as the shell's tests); `context` is handed back with
// each message.
using DialogCallback = std::intptr_t (*)(void* context, Handle dialog, unsigned msg, std::uintptr_t wParam,
                                         std::intptr_t lParam);
std::intptr_t dialogBox(const Template& tmpl, Handle owner, DialogCallback cb, void* context);
bool endDialog(Handle dialog, std::intptr_t result);
bool setDlgItemText(Handle dialog, int id, const char* text);
unsigned getDlgItemText(Handle dialog, int id, char* buffer, int maxCount);
Handle dlgItem(Handle dialog, int id);

// ---- tree view and progress bar, by their messages
Handle treeInsert(Handle tree, Handle parent, Handle after, const char* text, std::intptr_t param, bool hasChildren);
void treeDeleteAll(Handle tree);
void treeExpand(Handle tree, Handle item, unsigned action);
unsigned treeItemState(Handle tree, Handle item);
void progressSetRange32(Handle bar, int low, int high);
void progressSetPos(Handle bar, int pos);

// ---- message box and the file-open dialog
int messageBox(Handle owner, const char* text, const char* caption, unsigned type);
struct OpenFile {
    Handle owner;
    const char* filter;
    std::uint32_t filterIndex;
    char* file;
    std::uint32_t maxFile;
    const char* initialDir;
    const char* title;
    std::uint32_t flags;
    const char* defExt;
};
bool getOpenFileName(OpenFile* ofn);
std::uint32_t commDlgExtendedError();

}  // namespace w32
