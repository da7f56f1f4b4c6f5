#include "app/startup_dialog.h"

#include <cstdio>

#include "app/app_state.h"
#include "scene/player_scene.h"

using namespace shell;

namespace {

constexpr DWORD kLabel = SS_LEFT | WS_GROUP;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

const DialogControl kControls[] = {
    {ControlClass::Button, IDOK, "OK", 204, 63, 74, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {ControlClass::Button, IDCANCEL, "Cancel", 204, 81, 74, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {ControlClass::Static, -1, "BaseDir:", 7, 7, 28, 8, kLabel},
    {ControlClass::Edit, IDC_BASEDIR, "", 7, 16, 271, 12, kEdit},
    {ControlClass::Static, -1, "ModelName:", 7, 29, 40, 8, kLabel},
    {ControlClass::Edit, IDC_MODELNAME, "", 7, 38, 114, 12, kEdit},
    {ControlClass::Static, -1, "Body Skin:", 7, 51, 40, 8, kLabel},
    {ControlClass::Edit, IDC_BODYSKIN, "", 7, 60, 114, 12, kEdit},
    {ControlClass::Static, -1, "Head Skin:", 7, 73, 40, 8, kLabel},
    {ControlClass::Edit, IDC_HEADSKIN, "", 7, 82, 114, 12, kEdit},
};

}  // namespace

const DialogTemplate StartupDialogTemplate = {
    IDD_STARTUP,
    "Startup Information",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS,
    "MS Shell Dlg",
    8,
    285,
    102,
    kControls,
    sizeof kControls / sizeof kControls[0],
};

void composeModelDir() { std::snprintf(ModelDir, sizeof ModelDir, "%s", modelDirOf(BaseDir, ModelName).c_str()); }

INT_PTR StartupDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    Shell& sh = current();
    switch (msg) {
    case WM_INITDIALOG:
        sh.setDlgItemText(dialog, IDC_BASEDIR, ".\\models\\players");
        sh.setDlgItemText(dialog, IDC_MODELNAME, "infantryss");
        sh.setDlgItemText(dialog, IDC_BODYSKIN, "body_default.skin");
        sh.setDlgItemText(dialog, IDC_HEADSKIN, "head_default.skin");
        // The platform gives the focus to the first tab stop, the OK button.
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            sh.getDlgItemText(dialog, IDC_BASEDIR, BaseDir, kBaseDirLength);
            sh.getDlgItemText(dialog, IDC_MODELNAME, ModelName, kModelNameLength);
            sh.getDlgItemText(dialog, IDC_BODYSKIN, BodySkin, kSkinNameLength);
            sh.getDlgItemText(dialog, IDC_HEADSKIN, HeadSkin, kSkinNameLength);
            composeModelDir();
            sh.endDialog(dialog, 1);
            return FALSE;
        case IDCANCEL:
            sh.endDialog(dialog, 0);
            return FALSE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR runStartupDialog(HWND owner) { return current().dialogBox(StartupDialogTemplate, owner, StartupDlgProc); }
