// Dialog 101: a modal frame with caption and system menu, 387 x 210 dialog
// units, "MS Sans Serif" 8 points.
#include "browser/browser_dialog.h"

namespace browser {

namespace {

using shell::ControlClass;

constexpr shell::DialogControl kControls[] = {
    {ControlClass::Button, kIdLoadNew, "Load New", 320, 7, 60, 14, shell::BS_DEFPUSHBUTTON | shell::WS_TABSTOP},
    {ControlClass::Button, kIdDone, "Done", 320, 25, 60, 14, shell::BS_PUSHBUTTON | shell::WS_TABSTOP},
    {ControlClass::TreeView, kIdTree, "", 7, 7, 306, 178,
     shell::WS_BORDER | shell::WS_TABSTOP | shell::TVS_HASBUTTONS | shell::TVS_HASLINES | shell::TVS_LINESATROOT},
    {ControlClass::Static, -1, "Progress", 7, 192, 28, 11, shell::SS_LEFTNOWORDWRAP | shell::WS_GROUP},
    {ControlClass::Progress, kIdProgress, "", 42, 190, 271, 13, shell::WS_BORDER},
};

constexpr shell::DialogTemplate kTemplate = {
    kBrowserDialogId,
    "Brannock",
    shell::DS_MODALFRAME | shell::DS_SETFONT | shell::WS_POPUP | shell::WS_CAPTION | shell::WS_SYSMENU,
    "MS Sans Serif",
    8,
    387,
    210,
    kControls,
    sizeof(kControls) / sizeof(kControls[0]),
};

}  // namespace

const shell::DialogTemplate& browserDialogTemplate() { return kTemplate; }

}  // namespace browser
