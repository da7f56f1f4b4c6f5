#include "app/app_main.h"

#include "app/app_state.h"
#include "app/camera.h"
#include "app/startup_dialog.h"
#include "app/wndproc.h"
#include "log/log.h"
#include "model/mds.h"
#include "platform/shell/shell.h"
#include "render/reference_grid.h"
#include "render/renderer.h"
#include "scene/player_scene.h"

using namespace shell;

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNWINDOW;  // 0x202B
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;      // 0x50001
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;                                 // 0x80C80000

IDirect3DDevice8* device() { return pRenderer != nullptr ? pRenderer->m_pDevice : nullptr; }

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

    pCamera->placeAtStart();

    current().showWindow(hMainWindow, ShowCommand);
    current().setForegroundWindow(hMainWindow);
}

void assembleModel() {
    pScene = new PlayerScene(device(), {ModelName, ModelDir, BodySkin, HeadSkin});
    const bool loaded = pScene->loadBody(CurrentFrame);
    pBody = pScene->body();
    if (!loaded) {
        // The unloaded body stays alive, outside every list, until shutdown.
        current().messageBox(hMainWindow, kBodyNotLoaded, "Error", MB_ICONERROR);
        return;
    }
    pRenderer->addObject(pBody);
    pScene->dress();
    pBodySkin = pScene->bodySkin();
    pHeadSkin = pScene->headSkin();
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
    delete pScene;  // the head skin, the body skin, the body
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
