#include "app/app_main.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/camera.h"
#include "app/startup_dialog.h"
#include "app/wndproc.h"
#include "log/log.h"
#include "model/mds.h"
#include "platform/shell/shell.h"
#include "render/reference_grid.h"
#include "render/renderer.h"
#include "skin/skin.h"

using namespace shell;

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNWINDOW;  // 0x202B
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;      // 0x50001
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;                                 // 0x80C80000

// The one buffer every composed path goes through.
char Path[kPathLength];

IDirect3DDevice8* device() { return pRenderer != nullptr ? pRenderer->m_pDevice : nullptr; }

// A new skin for ModelName, loaded from ModelDir\name (failures are logged).
Skin* loadSkin(const char* name) {
    Skin* skin = new Skin(ModelName);
    std::snprintf(Path, sizeof Path, "%s\\%s", ModelDir, name);
    skin->load(Path);
    return skin;
}

}  // namespace

void startViewer(int cmdShow) {
    ShowCommand = cmdShow;

    WNDCLASS wc{};
    wc.style = kClassStyle;
    wc.lpfnWndProc = WndProc;
    wc.lpszClassName = "MyWndClass";
    current().registerClass(wc);

    hMainWindow = current().createWindow(kWindowExStyle, "MyWndClass", "Korvane", kWindowStyle, 150, 150, 500, 500);

    pRenderer = new D3D(hMainWindow);
    pCamera = new FreeCamera();
    pRenderer->m_pCamera = pCamera;
    pGrid = new ReferenceGrid(device(), 10, 0.0f);
    pRenderer->addObject(pGrid);

    pCamera->m_vPosition = D3DXVECTOR3(0.0f, 40.0f, 80.0f);
    pCamera->m_vLook = D3DXVECTOR3(0.0f, 0.0f, -1.0f);
    pCamera->m_vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    pCamera->m_vRight = D3DXVECTOR3(-1.0f, 0.0f, 0.0f);

    current().showWindow(hMainWindow, ShowCommand);
    current().setForegroundWindow(hMainWindow);
}

void assembleModel() {
    pBody = new MDS(device(), ModelName);
    std::snprintf(Path, sizeof Path, "%s\\body.mds", ModelDir);
    if (pBody->loadFromFile(Path) < 0) {
        // The unloaded body stays alive, outside every list, until shutdown.
        current().messageBox(hMainWindow,
                             "Error: couldn't load body.mds\nCheck if the BaseDir or ModelName is correct.", "Error",
                             MB_ICONERROR);
        return;
    }
    pBody->setFrame(CurrentFrame);
    pRenderer->addObject(pBody);

    pBodySkin = loadSkin(BodySkin);
    pBody->applySkin(ModelDir, pBodySkin);
    pBody->loadAccessories(ModelDir, pBodySkin);

    pHeadSkin = loadSkin(HeadSkin);
    pBody->loadHead(ModelDir, pHeadSkin);
}

void runMessageLoop() {
    MSG msg{};
    for (;;) {
        if (current().peekMessage(&msg)) {
            if (msg.message == WM_QUIT) break;
            current().translateMessage(&msg);
            current().dispatchMessage(&msg);
        } else if (Active && pRenderer != nullptr) {
            pRenderer->render();
        }
        // What the last pass logged reaches the file now (cheap when
        // nothing is waiting), so the log can be followed while viewing.
        pLog->flush();
    }
}

void shutdownViewer() {
    if (pRenderer != nullptr) pRenderer->clearObjects();
    delete pHeadSkin;
    delete pBodySkin;
    delete pBody;
    delete pGrid;
    delete pCamera;
    delete pRenderer;
    resetAppState();
}

int appMain(int cmdShow) {
    startViewer(cmdShow);
    if (runStartupDialog(hMainWindow) == 1) assembleModel();
    runMessageLoop();
    shutdownViewer();
    return 0;
}
