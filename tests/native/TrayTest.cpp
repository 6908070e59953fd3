// The tray: GoToTray both ways, the tray menu, the icon's callback, the minimize command and
// the start in the tray.
#include <gtest/gtest.h>

#include "TestMainWindow.h"

namespace kivra {
namespace {

class TrayTest : public ::testing::Test, protected testing::TestMainWindow {};

TEST_F(TrayTest, GoToTrayHidesAndRestoresTheWindowWithItsTaskbarButton) {
    TForm1& f = StartUp();
    fake.log.clear();
    f.GoToTray(true);
    EXPECT_EQ(fake.log, (std::vector<std::string>{"FormShow(Form1,0)", "ShowWindow(8192,0)"}));
    EXPECT_TRUE(f.inTray());
    EXPECT_EQ(f.N1->caption, "Развернуть");

    fake.log.clear();
    f.GoToTray(false);
    EXPECT_EQ(fake.log, (std::vector<std::string>{"FormShow(Form1,9)", "ShowWindow(8192,9)"}));
    EXPECT_FALSE(f.inTray());
    EXPECT_EQ(f.N1->caption, "Свернуть");
}

TEST_F(TrayTest, FirstTrayItemAlternates) {
    TForm1& f = StartUp();
    f.N1->click();
    EXPECT_TRUE(f.inTray());
    EXPECT_EQ(f.N1->caption, "Развернуть");
    f.N1->click();
    EXPECT_FALSE(f.inTray());
    EXPECT_EQ(f.N1->caption, "Свернуть");
}

TEST_F(TrayTest, MinimizeButtonAndCommandGoToTheTray) {
    TForm1& f = StartUp();
    f.sSpeedButton3.click();
    EXPECT_TRUE(f.inTray());
    f.GoToTray(false);

    struct Case {
        unsigned message;
        std::uintptr_t wParam;
        bool handled;
        bool inTray;
    };
    const Case cases[] = {
        {274, 61472, true, true},    // SC_MINIMIZE
        {274, 61475, false, false},  // SC_MINIMIZE with the low bits set is not the same command
        {274, 61728, false, false},  // SC_RESTORE
        {274, 61536, false, false},  // SC_CLOSE takes its default course
        {16, 61472, false, false},   // another message with the same parameter
    };
    for (const Case& c : cases) {
        f.GoToTray(false);
        EXPECT_EQ(f.onMessage(c.message, c.wParam, 0), c.handled) << c.message << "," << c.wParam;
        EXPECT_EQ(f.inTray(), c.inTray) << c.message << "," << c.wParam;
    }
}

TEST_F(TrayTest, IconCallbackRestoresOnDoubleClickAndOpensTheMenuOnRightButton) {
    TForm1& f = StartUp();
    f.GoToTray(true);
    fake.log.clear();
    EXPECT_TRUE(f.onMessage(1147, 1, 512));  // mouse move: nothing
    EXPECT_TRUE(fake.log.empty());
    EXPECT_TRUE(f.onMessage(1147, 1, 513));  // left button down: nothing
    EXPECT_TRUE(fake.log.empty());

    EXPECT_TRUE(f.onMessage(1147, 1, 516));
    EXPECT_EQ(fake.log, (std::vector<std::string>{"SetForegroundWindow(4096)", "Popup(PopupMenu2,100,200)"}));
    EXPECT_TRUE(f.inTray()) << "the menu alone changes nothing";

    EXPECT_TRUE(f.onMessage(1147, 1, 515));
    EXPECT_FALSE(f.inTray());
    EXPECT_TRUE(f.onMessage(1147, 1, 515)) << "a double-click while shown restores again";
    EXPECT_FALSE(f.inTray());
}

TEST_F(TrayTest, TrayMenuExitClosesTheWindow) {
    TForm1& f = StartUp();
    f.GoToTray(true);
    f.N3->click();
    EXPECT_TRUE(peer->destroyed);
    EXPECT_EQ(Calls("Shell_NotifyIcon(NIM_DELETE,4096,1)").size(), 1u);
}

TEST_F(TrayTest, IconComesBackWhenTheTaskbarIsCreatedAgain) {
    TForm1& f = Build();
    f.taskbarCreatedMessage = 49400;
    f.FormCreate();
    EXPECT_EQ(Calls("Shell_NotifyIcon(NIM_ADD,4096,1,1147,Kivra v0.91 beta)").size(), 1u);
    EXPECT_TRUE(f.onMessage(49400, 0, 0));
    EXPECT_EQ(Calls("Shell_NotifyIcon(NIM_ADD,4096,1,1147,Kivra v0.91 beta)").size(), 2u);
    EXPECT_FALSE(f.onMessage(49401, 0, 0));
}

TEST_F(TrayTest, NoTaskbarMessageRegisteredMeansNoneIsHandled) {
    TForm1& f = Build();
    f.FormCreate();
    EXPECT_FALSE(f.onMessage(0, 0, 0));
    EXPECT_EQ(Calls("Shell_NotifyIcon(NIM_ADD").size(), 1u);
}

TEST_F(TrayTest, StartInTrayHappensOnceAfterTheShowing) {
    SetSettings("[Common]\nStartInTray=1\n");
    TForm1& f = StartUp();
    EXPECT_TRUE(f.inTray());
    EXPECT_EQ(f.N1->caption, "Развернуть");
    f.GoToTray(false);
    f.onActivate();
    EXPECT_FALSE(f.inTray()) << "later activations do nothing more";
}

TEST_F(TrayTest, TickingStartInTrayDuringARunSendsTheWindowThereOnce) {
    TForm1& f = StartUp();
    f.onActivate();
    EXPECT_FALSE(f.inTray());
    f.sCheckBox2.userToggled();
    f.onActivate();
    EXPECT_TRUE(f.inTray());
    f.GoToTray(false);
    f.onActivate();
    EXPECT_FALSE(f.inTray());
}

// Showing a window activates it before the toolkit reports the showing: the activation waits
// for the skin box and the first connection attempt.
TEST_F(TrayTest, ActivationBeforeTheShowingIsHeldUntilItIsHandled) {
    SetSettings("[Common]\nStartInTray=1\n");
    TForm1& f = Build();
    f.FormCreate();
    f.onActivate();
    EXPECT_FALSE(f.inTray());
    f.show(1);
    EXPECT_TRUE(f.inTray());
    EXPECT_LT(IndexOf("connect("), IndexOf("FormShow(Form1,0)"));
    EXPECT_EQ(f.sComboBox1.items().front(), "Папка со скинами...");
}

}  // namespace
}  // namespace kivra
