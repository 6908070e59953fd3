// TCP sockets whose notifications arrive as window messages (WSAAsyncSelect) at a hidden
// message-only window of the service, and from there at the socket's SocketEvents.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <map>

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Socket;

class Win32Network : public kivra::Network {
public:
    Win32Network();  // WSAStartup and the notification window
    ~Win32Network() override;
    Win32Network(const Win32Network&) = delete;
    Win32Network& operator=(const Win32Network&) = delete;

    std::unique_ptr<TcpSocket> createSocket(SocketEvents& events) override;
    std::string errorText(int code) override;

private:
    friend class Win32Socket;
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    UINT enroll(Win32Socket& socket);
    void withdraw(UINT message);
    void dispatch(UINT message, SOCKET socket, LPARAM lParam);

    bool started_ = false;
    HWND window_ = nullptr;
    // Every socket gets a message number of its own, so a notification still queued for a
    // closed socket cannot reach a new socket that Winsock gave the same handle value.
    UINT nextMessage_;
    std::map<UINT, Win32Socket*> sockets_;
};

}  // namespace kivra::win32
