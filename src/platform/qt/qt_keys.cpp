// Qt keys and buttons to Win32 virtual-key codes and MK_ flags.
#include "platform/qt/qt_shell_impl.h"

namespace qtshell::detail {

WPARAM virtualKey(int key, Qt::KeyboardModifiers mods) {
    const bool keypad = mods.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<WPARAM>(key);  // 'A'..'Z'
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? static_cast<WPARAM>(0x60 + (key - Qt::Key_0)) : static_cast<WPARAM>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WPARAM>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Plus: return keypad ? shell::VK_ADD : 0xBB;
    case Qt::Key_Minus: return keypad ? shell::VK_SUBTRACT : 0xBD;
    case Qt::Key_Asterisk: return keypad ? 0x6A : 0x38;
    case Qt::Key_Slash: return keypad ? 0x6F : 0xBF;
    case Qt::Key_Period: return keypad ? 0x6E : 0xBE;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Return:
    case Qt::Key_Enter: return shell::VK_RETURN;
    case Qt::Key_Escape: return shell::VK_ESCAPE;
    case Qt::Key_Space: return shell::VK_SPACE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Shift: return shell::VK_SHIFT;
    case Qt::Key_Control: return shell::VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return shell::VK_MENU;
    case Qt::Key_Left: return shell::VK_LEFT;
    case Qt::Key_Up: return shell::VK_UP;
    case Qt::Key_Right: return shell::VK_RIGHT;
    case Qt::Key_Down: return shell::VK_DOWN;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    default: return 0;
    }
}

WPARAM mouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM f = 0;
    if (buttons & Qt::LeftButton) f |= shell::MK_LBUTTON;
    if (buttons & Qt::RightButton) f |= shell::MK_RBUTTON;
    if (buttons & Qt::MiddleButton) f |= shell::MK_MBUTTON;
    if (mods & Qt::ShiftModifier) f |= shell::MK_SHIFT;
    if (mods & Qt::ControlModifier) f |= shell::MK_CONTROL;
    return f;
}

}  // namespace qtshell::detail
