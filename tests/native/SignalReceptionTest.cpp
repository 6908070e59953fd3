#include <gtest/gtest.h>

#include <stdexcept>

#include "link/SignalReception.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

std::string Line(const std::string& button, const std::string& remote = "R") {
    return "000000000000a1b2 00 " + button + " " + remote + "\n";
}

TEST(ParseSignal, Fields) {
    struct Case { const char* line; Signal expected; };
    const Case cases[] = {
        {"000000000000a1b2 00 VOL_UP R\n", {"000000000000a1b2", "00", "VOL_UP", "R"}},
        {"000000000000a1b2 00 VOL_UP R\r\n", {"000000000000a1b2", "00", "VOL_UP", "R\r"}},  // only the LF goes
        {"c 100 OK my remote\n", {"c", "100", "OK", "my remote"}},  // the rest is the remote name
        {"c  OK R\n", {"c", "", "OK", "R"}},                         // two blanks: an empty field
        {"c\t01 OK\tX B R\n", {"c\t01", "OK\tX", "B", "R"}},         // only the blank separates
        {"c 01 OK R", {"c", "01", "OK", ""}},                        // no line end: last character goes
        {"c 01 OK \n", {"c", "01", "OK", ""}},
        {"BEGIN\n", {"", "", "", "BEGIN"}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Signal s = ParseSignal(c.line);
        EXPECT_EQ(s.code, c.expected.code);
        EXPECT_EQ(s.repeat, c.expected.repeat);
        EXPECT_EQ(s.button, c.expected.button);
        EXPECT_EQ(s.remote, c.expected.remote);
    }
}

TEST(ParseSignal, OnlyLinesWithAButtonNameCount) {
    const std::pair<const char*, bool> cases[] = {
        {"000000000000a1b2 00 VOL_UP R\n", true},
        {"c 01 OK \n", true},
        {"BEGIN\n", false}, {"SIGHUP\n", false}, {"END\n", false}, {"\n", false}, {"", false},
        {"c 01 OK\n", false},   // two blanks
        {"c 01  R\n", false},   // three blanks, but the button name is empty
    };
    for (const auto& [line, carries] : cases) EXPECT_EQ(CarriesButton(line), carries) << '"' << line << '"';
}

TEST(GapPassed, SignedWrappingElapsedTime) {
    struct Case { std::uint32_t now, last; std::int32_t gap; bool passed; };
    const Case cases[] = {
        {1050, 1000, 100, false},
        {1100, 1000, 100, false},                 // exactly the gap: dropped
        {1101, 1000, 100, true},
        {0x7FFFFFFFu, 0, 100, true},              // first signal, counter below 2^31
        {0x80000000u, 0, 100, false},             // counter at 2^31: elapsed reads negative
        {0xFFFFFFFFu, 0, 100, false},
        {20, 0xFFFFFFF0u, 10, true},              // the counter wrapped: elapsed 36
        {20, 0xFFFFFFF0u, 100, false},
        {5, 5, -1, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GapPassed(c.now, c.last, c.gap), c.passed) << c.now << " - " << c.last << " vs " << c.gap;
}

TEST(LineFramer, CutsAtLineFeedAndKeepsTheIncompleteRest) {
    LineFramer framer;
    EXPECT_EQ(framer.push("a b c R\nd e f R\ng h"), (std::vector<std::string>{"a b c R\n", "d e f R\n"}));
    EXPECT_EQ(framer.pending(), 3u);
    EXPECT_EQ(framer.push(" i R\r\n"), std::vector<std::string>{"g h i R\r\n"});
    EXPECT_EQ(framer.pending(), 0u);
}

TEST(LineFramer, OverlongLineIsDroppedUpToItsLineFeed) {
    LineFramer framer;
    EXPECT_TRUE(framer.push(std::string(10 * 1024, 'x')).empty());
    EXPECT_LE(framer.pending(), LineFramer::kMaxPartial);
    EXPECT_TRUE(framer.push("tail of the same line\n").empty());
    EXPECT_EQ(framer.push("a b c R\n"), std::vector<std::string>{"a b c R\n"});

    // A line at the limit still passes.
    const std::string longest = std::string(LineFramer::kMaxPartial, 'y');
    EXPECT_EQ(framer.push(longest + "\n"), std::vector<std::string>{longest + "\n"});
}

class SignalReceptionTest : public ::testing::Test {
protected:
    SignalReceptionTest() {
        fake.clock.now = 10000;
    }

    ReceptionContext Context() {
        return ReceptionContext{
            [this] { return setupMode; },
            [this] { return lightAlloyGate; },
            [this](const std::string& text) { shown.push_back(text); },
            [this](const std::string& button) { assigned.push_back(button); },
            [this](const std::string& button) {
                dispatched.push_back(button);
                if (onDispatch) onDispatch(button);
            },
        };
    }

    fake::FakePlatform fake;
    bool setupMode = false;
    bool lightAlloyGate = false;
    std::vector<std::string> shown, assigned, dispatched;
    std::function<void(const std::string&)> onDispatch;
    SignalReception reception{fake.platform, Context()};
};

TEST_F(SignalReceptionTest, WellFormedLineIsShownAndDispatched) {
    reception.receive("0000000000000010 00 VOL_UP R\n");
    EXPECT_EQ(shown, std::vector<std::string>{"Последняя команда: R->VOL_UP"});
    EXPECT_EQ(dispatched, std::vector<std::string>{"VOL_UP"});
    EXPECT_EQ(reception.lastSignalTime, 10000u);
}

TEST_F(SignalReceptionTest, LinesAreDecodedFromCodePage1251) {
    reception.receive("c 00 \xCA\xED\xEE\xEF\xEA\xE0 \xCF\xF3\xEB\xFC\xF2\n");
    EXPECT_EQ(dispatched, std::vector<std::string>{"Кнопка"});
    EXPECT_EQ(shown, std::vector<std::string>{"Последняя команда: Пульт->Кнопка"});
}

TEST_F(SignalReceptionTest, GapCountsFromTheEndOfThePreviousTimedSignal) {
    // The handling of the first signal ends at T.
    onDispatch = [this](const std::string&) { fake.clock.now += 300; };  // e.g. key delays
    reception.receive(Line("A"));
    const std::uint32_t t = fake.clock.now;
    EXPECT_EQ(reception.lastSignalTime, t);

    fake.clock.now = t + 50;
    reception.receive(Line("B"));  // elapsed 50: dropped, but restarts the gap
    fake.clock.now = t + 120;
    reception.receive(Line("C"));  // elapsed 70: dropped
    fake.clock.now = t + 260;
    reception.receive(Line("D"));  // elapsed 140
    EXPECT_EQ(dispatched, (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(shown.size(), 4u);
}

TEST_F(SignalReceptionTest, FirstSignalWithCounterAtOrAbove2To31IsDroppedAndStartsTheGap) {
    fake.clock.now = 0x80000000u;
    reception.receive(Line("A"));
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(reception.lastSignalTime, 0x80000000u);
    fake.clock.now += 101;
    reception.receive(Line("B"));
    EXPECT_EQ(dispatched, std::vector<std::string>{"B"});
}

TEST_F(SignalReceptionTest, CounterWrappingBetweenSignalsMeasuresTheTrueInterval) {
    fake.clock.now = 0xFFFFFFC0u;
    reception.lastSignalTime = fake.clock.now - 1000;
    reception.receive(Line("A"));
    fake.clock.now = 0x40;  // 128 ms later
    reception.receive(Line("B"));
    EXPECT_EQ(dispatched, (std::vector<std::string>{"A", "B"}));
}

TEST_F(SignalReceptionTest, SeveralLinesInOneReadAreSignalsOfTheirOwn) {
    setupMode = true;
    reception.receive(Line("A") + Line("B", "R2") + Line("C"));
    EXPECT_EQ(assigned, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(shown[1], "Последняя команда: R2->B");

    // Outside setup mode each is gated on its own: lines handled back to back fall in the gap.
    setupMode = false;
    reception.receive(Line("A") + Line("B") + Line("C"));
    EXPECT_EQ(dispatched, std::vector<std::string>{"A"});
    EXPECT_EQ(shown.size(), 6u);
}

TEST_F(SignalReceptionTest, LineSplitOverTwoReadsIsOneSignal) {
    reception.receive("000000000000a1b2 00 VOL");
    EXPECT_TRUE(shown.empty());
    reception.receive("_UP R\n");
    EXPECT_EQ(dispatched, std::vector<std::string>{"VOL_UP"});
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(SignalReceptionTest, NewConnectionDropsTheIncompleteLineOfTheOldOne) {
    reception.receive("000000000000a1b2 00 VO");
    reception.restartStream();
    reception.receive(Line("OK"));
    EXPECT_EQ(dispatched, std::vector<std::string>{"OK"});

    reception.receive(std::string(2000, 'z'));  // also ends the dropping of an over-long line
    reception.restartStream();
    fake.clock.now += 1000;
    reception.receive(Line("NEXT"));
    EXPECT_EQ(dispatched, (std::vector<std::string>{"OK", "NEXT"}));
}

TEST_F(SignalReceptionTest, TenKilobytesWithoutLineFeedAreDroppedThenSignalsFlowAgain) {
    reception.receive(std::string(10 * 1024, 'z'));
    reception.receive("zzz more of it\n" + Line("OK"));
    EXPECT_EQ(dispatched, std::vector<std::string>{"OK"});
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(SignalReceptionTest, WinLircConfigurationBlockIsIgnoredEntirely) {
    for (bool setup : {false, true}) {
        setupMode = setup;
        reception.lastSignalTime = 1234;
        reception.receive("BEGIN\nSIGHUP\nEND\n");
        reception.receive("c 01  R\n");  // no button name
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(assigned.empty());
        EXPECT_TRUE(dispatched.empty());
        EXPECT_EQ(reception.lastSignalTime, 1234u);
    }
}

TEST_F(SignalReceptionTest, SetupModeCapturesWithoutGatesOrTiming) {
    setupMode = true;
    lightAlloyGate = true;
    fake.windows.classes.insert("LightAlloyFront");
    reception.lastSignalTime = fake.clock.now;  // the gap would drop it
    reception.receive(Line("POWER"));
    EXPECT_EQ(assigned, std::vector<std::string>{"POWER"});
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(fake.calls("FindWindowClass").empty());
    EXPECT_EQ(reception.lastSignalTime, 10000u);

    // The first signal after setup mode is measured against the time from before.
    setupMode = false;
    fake.clock.now += 100;
    reception.receive(Line("A"));
    EXPECT_TRUE(dispatched.empty());
}

TEST_F(SignalReceptionTest, LightAlloyGate) {
    lightAlloyGate = true;
    fake.windows.classes.insert("LightAlloyFront");
    reception.receive(Line("A"));
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(reception.lastSignalTime, 0u);
    EXPECT_EQ(fake.calls("FindWindowClass"), std::vector<std::string>{"FindWindowClass(LightAlloyFront)"});

    fake.windows.classes.clear();
    reception.receive(Line("B"));
    EXPECT_EQ(dispatched, std::vector<std::string>{"B"});

    // With the gate off the window is not looked up at all.
    lightAlloyGate = false;
    fake.log.clear();
    fake.clock.now += 500;
    reception.receive(Line("C"));
    EXPECT_EQ(dispatched, (std::vector<std::string>{"B", "C"}));
    EXPECT_TRUE(fake.calls("FindWindowClass").empty());
}

TEST_F(SignalReceptionTest, FailingDispatchPropagatesAndLeavesTheTimeAndTheRestOfTheRead) {
    reception.lastSignalTime = 77;
    onDispatch = [](const std::string& button) {
        if (button == "POWER") throw std::runtime_error("Unable to write to Kivra.ini");
    };
    EXPECT_THROW(reception.receive(Line("POWER") + Line("A")), std::runtime_error);
    EXPECT_EQ(reception.lastSignalTime, 77u);
    EXPECT_EQ(dispatched, std::vector<std::string>{"POWER"});

    // The next read goes on normally.
    fake.clock.now += 1000;
    reception.receive(Line("B"));
    EXPECT_EQ(dispatched, (std::vector<std::string>{"POWER", "B"}));
}

TEST_F(SignalReceptionTest, ReadsNestedInsideAnOpenMenuKeepArrivalOrder) {
    // MENU opens the remote menu; while it is open a further read arrives.
    onDispatch = [this](const std::string& button) {
        if (button != "MENU") return;
        fake.clock.now += 1000;
        reception.receive(Line("DOWN"));
        fake.clock.now += 5000;  // the user closes the menu later
    };
    reception.receive(Line("MENU") + Line("ENTER"));
    EXPECT_EQ(shown, (std::vector<std::string>{"Последняя команда: R->MENU", "Последняя команда: R->ENTER",
                                               "Последняя команда: R->DOWN"}));
    EXPECT_EQ(dispatched[0], "MENU");
    EXPECT_EQ(dispatched[1], "ENTER");
    // The outer handling writes the time once more when the menu has closed.
    EXPECT_EQ(reception.lastSignalTime, fake.clock.now);
}

}  // namespace
}  // namespace kivra
