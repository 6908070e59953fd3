#include "link/WinLircLink.h"

#include <utility>

#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

constexpr char kAddress[] = "127.0.0.1";  // WinLIRC runs on this computer

std::string SocketErrorMessage(Network& network, int code, const char* api) {
    return "Windows socket error: " + network.errorText(code) + " (" + std::to_string(code) + "), on API '" + api +
           "'";
}

}  // namespace

WinLircLink::WinLircLink(Network& network, LinkHandlers& handlers) : network_(network), handlers_(handlers) {}

WinLircLink::~WinLircLink() = default;  // the socket closes without any notification

void WinLircLink::setActive(bool active) {
    if (!active) {
        // A connected link is closed; an attempt under way is abandoned, so no link comes up
        // after the user switched it off.
        if (state_ != State::Closed) closeWithNotification();
        return;
    }
    if (state_ != State::Closed) return;  // connected, or an attempt is already under way

    std::unique_ptr<TcpSocket> socket = network_.createSocket(*this);
    if (!socket) throw KivraError("Can't create new socket");
    socket_ = std::move(socket);
    state_ = State::Connecting;
    TcpSocket* attempt = socket_.get();
    handlers_.ClientSocket1Lookup();
    handlers_.ClientSocket1Connecting();
    if (socket_.get() != attempt) return;  // a handler switched the link off meanwhile

    const int code = socket_->connect(kAddress, port_);
    if (code != 0) {
        closeWithNotification();
        throw KivraError(SocketErrorMessage(network_, code, "connect"));
    }
}

std::string WinLircLink::receiveText() {
    std::string text;
    if (state_ != State::Connected || !socket_) return text;
    const int code = socket_->receive(text);
    if (code != 0) {
        handlers_.ClientSocket1Error(SocketErrorKind::Receive, code);
        closeWithNotification();
        throw KivraError(SocketErrorMessage(network_, code, "recv"));
    }
    return text;
}

void WinLircLink::onSocketConnect(int errorCode) {
    if (state_ != State::Connecting) return;  // the outcome of an abandoned attempt
    if (errorCode != 0) {
        // Refused (nothing listens, or WinLIRC is full): the retry timer tries again.
        state_ = State::Closed;
        socket_.reset();
        handlers_.ClientSocket1Error(SocketErrorKind::Connect, errorCode);
        return;
    }
    state_ = State::Connected;
    handlers_.ClientSocket1Connect();
}

void WinLircLink::onSocketRead(int errorCode) {
    if (state_ != State::Connected) return;
    if (errorCode != 0) {
        // A dead link must not count as connected, or the retry would never bring it back.
        handlers_.ClientSocket1Error(SocketErrorKind::Receive, errorCode);
        if (state_ == State::Connected) closeWithNotification();
        return;
    }
    handlers_.ClientSocket1Read();
}

void WinLircLink::onSocketClose(int errorCode) {
    if (state_ == State::Closed) return;
    if (errorCode != 0) {
        // A reset rather than an orderly close.
        handlers_.ClientSocket1Error(SocketErrorKind::Disconnect, errorCode);
        if (state_ == State::Closed) return;
    }
    closeWithNotification();
}

void WinLircLink::closeWithNotification() {
    // Active is false when the handler runs; the socket closes after it. Taking the socket out
    // first keeps an attempt the handler might start from being closed here.
    std::unique_ptr<TcpSocket> closing = std::move(socket_);
    state_ = State::Closed;
    handlers_.ClientSocket1Disconnect();
    closing.reset();
}

}  // namespace kivra
