// The WinLIRC link (ClientSocket1): a TCP client to 127.0.0.1 that never blocks the
// user-interface thread. Its notifications go to LinkHandlers, on that thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace kivra {

enum class SocketErrorKind { Connect, Disconnect, Receive, Send, Other };

class LinkHandlers {
public:
    virtual ~LinkHandlers() = default;
    virtual void ClientSocket1Lookup() = 0;      // "Поиск WinLIRC..."
    virtual void ClientSocket1Connecting() = 0;  // "Подключение..."
    virtual void ClientSocket1Connect() = 0;     // "WinLIRC подключён"
    virtual void ClientSocket1Disconnect() = 0;  // "WinLIRC отключён"
    virtual void ClientSocket1Error(SocketErrorKind kind, int code) = 0;  // "Ошибка " + code
    virtual void ClientSocket1Read() = 0;        // bytes wait: call receiveText()
};

class WinLircLink : private SocketEvents {
public:
    WinLircLink(Network& network, LinkHandlers& handlers);
    ~WinLircLink() override;  // closes without any notification

    // true: starts an attempt when none is connected or under way; false: closes the link,
    // or abandons an attempt under way. May throw KivraError ("Can't create new socket",
    // "Windows socket error: %s (%d), on API 'connect'").
    void setActive(bool active);
    bool active() const { return state_ == State::Connected; }
    // Neither connected nor trying to connect.
    bool closed() const { return state_ == State::Closed; }
    bool attemptUnderWay() const { return state_ == State::Connecting; }
    void setPort(std::uint16_t port) { port_ = port; }
    std::uint16_t port() const { return port_; }
    // Every byte received and not yet read. Throws KivraError after closing the link when the
    // receive fails ("Windows socket error: %s (%d), on API 'recv'").
    std::string receiveText();

private:
    enum class State { Closed, Connecting, Connected };
    void onSocketConnect(int errorCode) override;
    void onSocketRead(int errorCode) override;
    void onSocketClose(int errorCode) override;
    void closeWithNotification();

    Network& network_;
    LinkHandlers& handlers_;
    std::unique_ptr<TcpSocket> socket_;
    State state_ = State::Closed;
    std::uint16_t port_ = 8765;
};

}  // namespace kivra
