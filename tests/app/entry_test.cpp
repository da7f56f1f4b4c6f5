// The entry: start-up values, the dialog's result, the model assembly and
// its one message box, the message loop and shutdown.
#include "app/app_main.h"
#include "app/camera.h"
#include "app/startup_dialog.h"
#include "app_fixture.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "model_files.h"
#include "render/reference_grid.h"
#include "render/renderer.h"

using namespace shell;

namespace {

class EntryTest : public AppTest {
protected:
    // Script: OK with BaseDir = the temporary folder and the given name.
    void acceptWith(const std::string& modelName) {
        fake.dialogScript = [this, modelName](FakeShell& f, HWND dlg) {
            f.setItem(dlg, IDC_BASEDIR, dir.path());
            f.setItem(dlg, IDC_MODELNAME, modelName);
            f.command(dlg, IDOK);
        };
    }
    // On the first idle turn: run `check`, then close the window.
    void closeWhenIdle(std::function<void()> check = nullptr) {
        fake.onIdle = [check](FakeShell& f) {
            if (check) check();
            f.post({f.lastWindow(), WM_CLOSE, 0, 0});
        };
    }

    testing_support::TempDir dir;
};

TEST_F(EntryTest, StartUpCreatesTheWindowRendererCameraAndGrid) {
    startViewer(SW_SHOW);
    ASSERT_EQ(fake.classes.size(), 1u);
    EXPECT_EQ(fake.classes[0].style, 0x202Bu);
    EXPECT_EQ(fake.classNames[0], "MyWndClass");
    ASSERT_EQ(fake.windows.size(), 1u);
    const FakeShell::Window& w = fake.windows[0];
    EXPECT_EQ(w.exStyle, 0x50001u);
    EXPECT_EQ(w.style, 0x80C80000u);
    EXPECT_EQ(w.title, "Korvane");
    EXPECT_EQ(w.className, "MyWndClass");
    EXPECT_EQ((std::vector<int>{w.x, w.y, w.width, w.height}), (std::vector<int>{150, 150, 500, 500}));
    EXPECT_EQ(w.showCommand, SW_SHOW);
    EXPECT_TRUE(w.foreground);
    EXPECT_EQ(hMainWindow, fake.lastWindow());

    ASSERT_NE(pRenderer, nullptr);
    EXPECT_EQ(pRenderer->m_pCamera, pCamera);
    EXPECT_EQ(pRenderer->objects(), (std::vector<Renderable*>{static_cast<Renderable*>(pGrid)}));
    EXPECT_EQ(pCamera->m_vPosition.y, 40.0f);
    EXPECT_EQ(pCamera->m_vPosition.z, 80.0f);
    EXPECT_EQ(pCamera->m_vLook.z, -1.0f);
    EXPECT_EQ(pCamera->m_vRight.x, -1.0f);
    EXPECT_FALSE(Active);
    shutdownViewer();
}

TEST_F(EntryTest, CancelRunsWithTheGridAloneAndExitsOnQuit) {
    fake.dialogScript = [](FakeShell& f, HWND dlg) { f.command(dlg, IDCANCEL); };
    std::size_t objects = 0;
    closeWhenIdle([&] { objects = pRenderer->objects().size(); });
    EXPECT_EQ(appMain(SW_SHOWNORMAL), 0);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_EQ(fake.dialogs[0].tmpl->resourceId, 102);
    EXPECT_EQ(fake.dialogs[0].owner, fake.lastWindow());
    EXPECT_EQ(objects, 1u);
    EXPECT_TRUE(fake.messageBoxes.empty());
    EXPECT_FALSE(fake.idleLimitReached);
    EXPECT_EQ(fake.events.back(), "quit 0");
    EXPECT_EQ(pRenderer, nullptr);
    // Everything the viewer made on the device has been given back.
    ASSERT_NE(direct3d.lastDevice(), nullptr);
    EXPECT_EQ(direct3d.lastDevice()->liveResources(), 0);
    EXPECT_EQ(direct3d.lastDevice()->refs, 0);
}

TEST_F(EntryTest, DialogThatCannotOpenSkipsTheModel) {
    fake.failDialogs = true;
    bool noBody = false;
    closeWhenIdle([&] { noBody = pBody == nullptr; });
    EXPECT_EQ(appMain(SW_SHOWNORMAL), 0);
    EXPECT_TRUE(noBody);
}

TEST_F(EntryTest, MissingBodyShowsTheMessageBoxAndRunsOn) {
    acceptWith("NoSuchModel");
    bool bodyKeptOutOfTheList = false;
    closeWhenIdle([&] {
        bodyKeptOutOfTheList = pBody != nullptr && !pBody->loaded() && pRenderer->objects().size() == 1 &&
                               pBodySkin == nullptr && pHeadSkin == nullptr;
    });
    EXPECT_EQ(appMain(SW_SHOWNORMAL), 0);
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    const FakeShell::MessageBoxCall& box = fake.messageBoxes[0];
    EXPECT_EQ(box.text, "Error: couldn't load body.mds\nCheck if the BaseDir or ModelName is correct.");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, MB_ICONERROR);
    EXPECT_EQ(box.owner, fake.lastWindow());
    EXPECT_TRUE(bodyKeptOutOfTheList);
    EXPECT_FALSE(fake.idleLimitReached);
}

TEST_F(EntryTest, OkAssemblesBodySkinsAndHead) {
    app_test::writeModelFolder(dir.path() + "/mymodel");
    acceptWith("MyModel");  // found although ModelDir is lower-cased
    bool assembled = false;
    closeWhenIdle([&] {
        assembled = pBody != nullptr && pBody->loaded() && pRenderer->objects().size() == 2 &&
                    pRenderer->objects()[1] == pBody && pBodySkin != nullptr && pHeadSkin != nullptr &&
                    pBody->attachment(MDS::Head) != nullptr && pBody->attachment(MDS::Head)->loaded() &&
                    !pBody->poses().empty();
    });
    EXPECT_EQ(appMain(SW_SHOWNORMAL), 0);
    EXPECT_TRUE(fake.messageBoxes.empty());
    EXPECT_TRUE(assembled);
    EXPECT_STREQ(ModelName, "");  // shutdown put the state back
    EXPECT_EQ(direct3d.lastDevice()->liveResources(), 0);
}

TEST_F(EntryTest, LoopDrawsOnlyWhileActiveAndStopsAtQuit) {
    startViewer(SW_SHOWNORMAL);
    rec::RecordingDevice* device = direct3d.lastDevice();
    ASSERT_NE(device, nullptr);
    const HWND w = hMainWindow;
    int idle = 0;
    fake.onIdle = [&](FakeShell& f) {
        ++idle;
        if (idle == 3) f.post({w, WM_ACTIVATE, WA_ACTIVE, 0});
        if (idle == 6) {
            f.post({w, WM_KEYDOWN, 'W', 0});
            f.post({nullptr, WM_QUIT, 7, 0});
            f.post({w, WM_KEYDOWN, 'S', 0});  // after the quit: never taken
        }
    };
    runMessageLoop();
    // Idle turns 1-3 inactive, 4-6 active.
    EXPECT_EQ(device->presents, 3);
    EXPECT_EQ(fake.translated, 2);
    ASSERT_EQ(fake.dispatched.size(), 2u);
    EXPECT_EQ(fake.dispatched[1].message, WM_KEYDOWN);
    EXPECT_TRUE(pCamera->m_bMoveForward);
    EXPECT_FALSE(pCamera->m_bMoveBack);
    shutdownViewer();
}

}  // namespace
