#include <gtest/gtest.h>

#include "link/WinLircLink.h"
#include "platform/fake/FakePlatform.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

const char* KindName(SocketErrorKind kind) {
    switch (kind) {
        case SocketErrorKind::Connect: return "connect";
        case SocketErrorKind::Disconnect: return "disconnect";
        case SocketErrorKind::Receive: return "receive";
        case SocketErrorKind::Send: return "send";
        case SocketErrorKind::Other: return "other";
    }
    return "?";
}

// Records the notifications in the platform's log, so their order against socket(),
// connect() and closesocket() shows; the read handler takes the text as the main window does.
class RecordingHandlers : public LinkHandlers {
public:
    explicit RecordingHandlers(fake::CallLog& log) : log_(log) {}
    void ClientSocket1Lookup() override { log_.push_back("Lookup"); }
    void ClientSocket1Connecting() override { log_.push_back("Connecting"); }
    void ClientSocket1Connect() override { log_.push_back("Connect active=" + Active()); }
    void ClientSocket1Disconnect() override { log_.push_back("Disconnect active=" + Active()); }
    void ClientSocket1Error(SocketErrorKind kind, int code) override {
        log_.push_back(std::string("Error ") + KindName(kind) + " " + std::to_string(code));
    }
    void ClientSocket1Read() override {
        log_.push_back("Read");
        received += link->receiveText();
    }
    std::string Active() const { return link->active() ? "1" : "0"; }

    WinLircLink* link = nullptr;
    std::string received;

private:
    fake::CallLog& log_;
};

using Log = std::vector<std::string>;

class WinLircLinkTest : public ::testing::Test {
protected:
    WinLircLinkTest() { handlers.link = &link; }

    void Connect() {
        link.setActive(true);
        fake.network.last->completeConnect();
        fake.log.clear();
    }

    fake::FakePlatform fake;
    RecordingHandlers handlers{fake.log};
    WinLircLink link{fake.network, handlers};
};

TEST_F(WinLircLinkTest, AttemptThenSuccess) {
    link.setActive(true);
    EXPECT_EQ(fake.log, (Log{"socket()", "Lookup", "Connecting", "connect(127.0.0.1:8765)"}));
    EXPECT_FALSE(link.active());
    EXPECT_TRUE(link.attemptUnderWay());

    fake.network.last->completeConnect();
    EXPECT_EQ(fake.log.back(), "Connect active=1");
    EXPECT_TRUE(link.active());
    EXPECT_FALSE(link.attemptUnderWay());
}

TEST_F(WinLircLinkTest, PortTakesEffectForTheAttempt) {
    link.setPort(9001);
    link.setActive(true);
    EXPECT_EQ(fake.calls("connect("), Log{"connect(127.0.0.1:9001)"});
}

TEST_F(WinLircLinkTest, RefusedLaterGivesOnlyTheErrorAndAllowsTheNextAttempt) {
    link.setActive(true);
    fake.log.clear();
    fake.network.last->completeConnect(10061);
    EXPECT_EQ(fake.log, (Log{"closesocket()", "Error connect 10061"}));
    EXPECT_FALSE(link.active());
    EXPECT_FALSE(link.attemptUnderWay());

    link.setActive(true);  // the retry timer's next tick
    EXPECT_EQ(fake.network.created, 2);
    fake.network.last->completeConnect();
    EXPECT_TRUE(link.active());
}

TEST_F(WinLircLinkTest, ConnectRejectedAtOnceClosesThenReports) {
    fake.network.connectResult = 10049;
    try {
        link.setActive(true);
        FAIL() << "no error reported";
    } catch (const KivraError& error) {
        EXPECT_STREQ(error.what(), "Windows socket error: error text 10049 (10049), on API 'connect'");
    }
    EXPECT_EQ(fake.log, (Log{"socket()", "Lookup", "Connecting", "connect(127.0.0.1:8765)", "Disconnect active=0",
                             "closesocket()"}));
    EXPECT_FALSE(link.active());
    EXPECT_FALSE(link.attemptUnderWay());
}

TEST_F(WinLircLinkTest, NoSocketReportsBeforeAnyNotification) {
    fake.network.canCreate = false;
    try {
        link.setActive(true);
        FAIL() << "no error reported";
    } catch (const KivraError& error) {
        EXPECT_STREQ(error.what(), "Can't create new socket");
    }
    EXPECT_EQ(fake.log, Log{"socket()"});
    EXPECT_FALSE(link.attemptUnderWay());
}

TEST_F(WinLircLinkTest, SwitchingOffWhenConnectedClosesWithNotificationFirst) {
    Connect();
    link.setActive(false);
    EXPECT_EQ(fake.log, (Log{"Disconnect active=0", "closesocket()"}));
    EXPECT_FALSE(link.active());
}

TEST_F(WinLircLinkTest, RequestsThatChangeNothingDoNothing) {
    link.setActive(false);  // not connected
    EXPECT_TRUE(fake.log.empty());
    Connect();
    link.setActive(true);  // already connected
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(fake.network.created, 1);
}

TEST_F(WinLircLinkTest, SwitchingOffDuringAnAttemptAbandonsIt) {
    link.setActive(true);
    fake.log.clear();
    link.setActive(false);
    EXPECT_EQ(fake.log, (Log{"Disconnect active=0", "closesocket()"}));
    EXPECT_EQ(fake.network.last, nullptr);  // no socket left whose success could bring the link up
    EXPECT_FALSE(link.attemptUnderWay());
    EXPECT_FALSE(link.active());

    link.setActive(true);  // a fresh attempt works as usual
    fake.network.last->completeConnect();
    EXPECT_TRUE(link.active());
}

TEST_F(WinLircLinkTest, SwitchingOnDuringAnAttemptStartsNoSecondOne) {
    link.setActive(true);
    fake.log.clear();
    link.setActive(true);
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(fake.network.created, 1);
}

TEST_F(WinLircLinkTest, DataIsReadInOnePieceOnEachNotification) {
    Connect();
    fake.network.last->deliver("0000000000000001 00 OK R\n0000");
    EXPECT_EQ(handlers.received, "0000000000000001 00 OK R\n0000");
    EXPECT_EQ(link.receiveText(), "");  // nothing left
    EXPECT_TRUE(link.active());
}

TEST_F(WinLircLinkTest, OrderlyCloseByWinLirc) {
    Connect();
    fake.network.last->closeByPeer();
    EXPECT_EQ(fake.log, (Log{"Disconnect active=0", "closesocket()"}));
    EXPECT_FALSE(link.active());
}

TEST_F(WinLircLinkTest, ReceiveFailureClosesThenReports) {
    Connect();
    fake.network.last->receiveError = 10054;
    try {
        fake.network.last->deliver("lost");
        FAIL() << "no error reported";
    } catch (const KivraError& error) {
        EXPECT_STREQ(error.what(), "Windows socket error: error text 10054 (10054), on API 'recv'");
    }
    EXPECT_EQ(fake.log, (Log{"Read", "Error receive 10054", "Disconnect active=0", "closesocket()"}));
    EXPECT_TRUE(handlers.received.empty());
    EXPECT_FALSE(link.active());
}

TEST_F(WinLircLinkTest, ErrorReportedWithANotificationClosesTheLink) {
    struct Case { const char* name; std::function<void(fake::FakeSocket&)> notify; const char* error; };
    const Case cases[] = {
        {"reset", [](fake::FakeSocket& s) { s.closeByPeer(10053); }, "Error disconnect 10053"},
        {"read", [](fake::FakeSocket& s) { s.readError(10050); }, "Error receive 10050"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Connect();
        c.notify(*fake.network.last);
        EXPECT_EQ(fake.log, (Log{c.error, "Disconnect active=0", "closesocket()"}));
        EXPECT_FALSE(link.active());
    }
}

TEST_F(WinLircLinkTest, DestructionClosesSilently) {
    {
        WinLircLink other{fake.network, handlers};
        other.setActive(true);
        fake.network.last->completeConnect();
        fake.log.clear();
    }
    EXPECT_EQ(fake.log, Log{"closesocket()"});
}

TEST_F(WinLircLinkTest, ReceiveWithoutALinkGivesNothing) {
    EXPECT_EQ(link.receiveText(), "");
    link.setActive(true);
    EXPECT_EQ(link.receiveText(), "");
}

}  // namespace
}  // namespace kivra
