#include <gtest/gtest.h>

#include "actions/KivraUtils.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

std::string Down(int vk) { return "keybd_event(" + std::to_string(vk) + ",69,1)"; }
std::string Up(int vk) { return "keybd_event(" + std::to_string(vk) + ",69,3)"; }
const std::string kWait = "Sleep(100)";

class KeyboardTest : public ::testing::Test {
protected:
    fake::FakePlatform fake;
    KivraUtils utils{fake.platform};
};

TEST_F(KeyboardTest, SendKeyCombinationEvents) {
    struct Case { const char* text; std::vector<std::string> events; };
    const Case cases[] = {
        {"Shift+Ctrl+Alt+F10",
         {Down(164), Down(17), Down(160), Down(121), Up(121), kWait, Up(160), Up(17), Up(164)}},
        {"Alt+Shift+Ctrl+F10",  // the text's order does not matter
         {Down(164), Down(17), Down(160), Down(121), Up(121), kWait, Up(160), Up(17), Up(164)}},
        {"Ctrl+0", {Down(17), Down(48), Up(48), kWait, Up(17)}},
        {"F10", {Down(121), Up(121), kWait}},
        {"F1", {Down(112), Up(112), kWait}},
        {"Alt+Enter", {Down(164), Up(164)}},  // no wait: no key was typed
        {"Ins", {}},
        {"Shift+Insert", {Down(160), Down(45), Up(45), kWait, Up(160)}},
        {"", {}},
        {"ctrl+c", {}},
        {"Ctrl+c", {Down(17), Up(17)}},
        {"Ctrl + Shift + A", {Down(17), Down(160), Down(65), Up(65), kWait, Up(160), Up(17)}},
        {"ShiftCtrlA", {Down(17), Down(160), Down(65), Up(65), kWait, Up(160), Up(17)}},
        {"Ctrl+Ctrl+A", {Down(17), Up(17)}},
        {"Ctrl+7", {Down(17), Down(55), Up(55), kWait, Up(17)}},
        {"Alt+Tab", {Down(164), Down(9), Up(9), kWait, Up(164)}},
        {"Up", {Down(38), Up(38), kWait}},
        {"F13", {}},
    };
    for (const Case& c : cases) {
        fake.log.clear();
        utils.SendKeyCombination(c.text);
        EXPECT_EQ(fake.log, c.events) << '"' << c.text << '"';
    }
}

TEST_F(KeyboardTest, PressKeyWaitsTheKeyDelayReadAfreshEachTime) {
    utils.keyDelay = 10;
    utils.PressKey(13);
    utils.keyDelay = 250;
    utils.PressKey(13);
    EXPECT_EQ(fake.log, (std::vector<std::string>{Down(13), Up(13), "Sleep(10)", Down(13), Up(13), "Sleep(250)"}));
}

TEST_F(KeyboardTest, NegativeKeyDelayDoesNotBecomeAnEndlessWait) {
    utils.keyDelay = -5;
    utils.PressKey(13);
    EXPECT_EQ(fake.calls("Sleep"), std::vector<std::string>{"Sleep(0)"});
}

TEST_F(KeyboardTest, KeyDownAndKeyUpDoNotWait) {
    utils.KeyDown(91);
    utils.KeyUp(91);
    EXPECT_EQ(fake.log, (std::vector<std::string>{Down(91), Up(91)}));
}

}  // namespace
}  // namespace kivra
