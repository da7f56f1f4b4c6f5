// The start-up dialog procedure: defaults, what OK takes over and composes,
// Cancel, and the template the shell realises.
#include <cstring>
#include <string>

#include "app/startup_dialog.h"
#include "app_fixture.h"

using namespace shell;

namespace {

class StartupDialogTest : public AppTest {
protected:
    // Runs the dialog; `edit` types into the fields before `button` is pressed.
    INT_PTR run(int button, std::function<void(FakeShell&, HWND)> edit = nullptr) {
        fake.dialogScript = [=](FakeShell& f, HWND dlg) {
            if (edit) edit(f, dlg);
            f.command(dlg, button);
        };
        return runStartupDialog(nullptr);
    }
};

TEST_F(StartupDialogTest, InitialisesTheFourFieldsInOrderAndLetsTheFocusGoToOk) {
    fake.dialogScript = [](FakeShell& f, HWND dlg) { f.command(dlg, IDCANCEL); };
    runStartupDialog(nullptr);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    const FakeShell::Dialog& d = fake.dialogs[0];
    EXPECT_EQ(d.setOrder, (std::vector<int>{1001, 1002, 1003, 1004}));
    EXPECT_EQ(d.items.at(1001), ".\\models\\players");
    EXPECT_EQ(d.items.at(1002), "infantryss");
    EXPECT_EQ(d.items.at(1003), "body_default.skin");
    EXPECT_EQ(d.items.at(1004), "head_default.skin");
    EXPECT_EQ(StartupDlgProc(d.handle, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(StartupDlgProc(d.handle, WM_PAINT, 0, 0), FALSE);
}

TEST_F(StartupDialogTest, OkWithTheDefaultsComposesTheModelDirectory) {
    EXPECT_EQ(run(IDOK), 1);
    EXPECT_STREQ(BaseDir, ".\\models\\players");
    EXPECT_STREQ(ModelName, "infantryss");
    EXPECT_STREQ(BodySkin, "body_default.skin");
    EXPECT_STREQ(HeadSkin, "head_default.skin");
    EXPECT_STREQ(ModelDir, ".\\models\\players\\infantryss");
}

TEST_F(StartupDialogTest, ModelDirectoryIsLowerCasedButTheAnswersKeepTheirCase) {
    run(IDOK, [](FakeShell& f, HWND dlg) {
        f.setItem(dlg, 1001, "C:\\Games\\RTCW\xC4Z");
        f.setItem(dlg, 1002, "InfantrySS");
        f.setItem(dlg, 1003, "Body_Red.skin");
    });
    EXPECT_STREQ(ModelDir, "c:\\games\\rtcw\xC4z\\infantryss");  // only A to Z change
    EXPECT_STREQ(BaseDir, "C:\\Games\\RTCW\xC4Z");
    EXPECT_STREQ(ModelName, "InfantrySS");
    EXPECT_STREQ(BodySkin, "Body_Red.skin");
}

TEST_F(StartupDialogTest, LongAnswersAreCutToTheirBuffers) {
    const std::string base(700, 'b');
    const std::string name(40, 'm');
    run(IDOK, [&](FakeShell& f, HWND dlg) {
        f.setItem(dlg, 1001, base);
        f.setItem(dlg, 1002, name);
        f.setItem(dlg, 1003, std::string(30, 's'));
        f.setItem(dlg, 1004, std::string(29, 'h'));
    });
    EXPECT_EQ(std::strlen(BaseDir), 499u);
    EXPECT_EQ(std::string(ModelName), std::string(29, 'm'));
    EXPECT_EQ(std::strlen(BodySkin), 29u);
    EXPECT_EQ(std::strlen(HeadSkin), 29u);
    EXPECT_EQ(std::string(ModelDir), std::string(499, 'b') + "\\" + std::string(29, 'm'));
}

TEST_F(StartupDialogTest, EmptyFieldsAreAccepted) {
    EXPECT_EQ(run(IDOK, [](FakeShell& f, HWND dlg) {
                  for (int id = 1001; id <= 1004; ++id) f.setItem(dlg, id, "");
              }),
              1);
    EXPECT_STREQ(ModelDir, "\\");
}

TEST_F(StartupDialogTest, CancelEndsWithZeroAndTakesNothingOver) {
    EXPECT_EQ(run(IDCANCEL, [](FakeShell& f, HWND dlg) { f.setItem(dlg, 1002, "typed"); }), 0);
    EXPECT_STREQ(ModelName, "");
    EXPECT_STREQ(ModelDir, "");
    // The high word of the command (the notification code) does not matter.
    fake.dialogScript = [](FakeShell& f, HWND dlg) {
        const FakeShell::Dialog& d = f.dialogs.back();
        EXPECT_EQ(d.proc(dlg, WM_COMMAND, 1003 | (0x300u << 16), 0), FALSE);  // an edit's notification
        EXPECT_FALSE(d.ended);
        EXPECT_EQ(d.proc(dlg, WM_COMMAND, IDCANCEL | (1u << 16), 0), FALSE);
    };
    EXPECT_EQ(runStartupDialog(nullptr), 0);
}

TEST_F(StartupDialogTest, TemplateHasTheControlsInTabOrder) {
    const DialogTemplate& t = StartupDialogTemplate;
    EXPECT_EQ(t.resourceId, 102);
    EXPECT_STREQ(t.caption, "Startup Information");
    ASSERT_EQ(t.controlCount, 10u);
    const int ids[] = {IDOK, IDCANCEL, -1, 1001, -1, 1002, -1, 1003, -1, 1004};
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(t.controls[i].id, ids[i]) << i;
    // OK is the default button, so Enter accepts the defaults at once.
    EXPECT_EQ(t.controls[0].style, BS_DEFPUSHBUTTON | WS_TABSTOP);
}

}  // namespace
