#include "platform/win32/Win32Network.h"

#include "platform/win32/Handles.h"
#include "platform/win32/MessageBoundary.h"
#include "platform/win32/Win32Files.h"

namespace kivra::win32 {

namespace {
constexpr wchar_t kWindowClass[] = L"KivraSocketWindow";
constexpr UINT kFirstSocketMessage = WM_APP + 0x100;
constexpr UINT kLastSocketMessage = 0xBFFF;  // the end of the WM_APP range
}  // namespace

class Win32Socket : public TcpSocket {
public:
    Win32Socket(Win32Network& network, SocketEvents& events, SOCKET socket)
        : network_(network), events_(events), socket_(socket), message_(network.enroll(*this)) {}

    ~Win32Socket() override {
        network_.withdraw(message_);
        socket_.reset();  // closesocket: Winsock posts nothing more for it
    }

    int connect(const std::string& dottedAddress, std::uint16_t port) override {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = inet_addr(dottedAddress.c_str());
        if (address.sin_addr.s_addr == INADDR_NONE && dottedAddress != "255.255.255.255") return WSAEINVAL;
        if (WSAAsyncSelect(socket_.get(), network_.window_, message_, FD_CONNECT | FD_READ | FD_CLOSE | FD_WRITE) ==
            SOCKET_ERROR)
            return WSAGetLastError();
        if (::connect(socket_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) return error;
        }
        return 0;
    }

    int receive(std::string& out) override {
        char chunk[4096];
        for (;;) {
            const int got = recv(socket_.get(), chunk, sizeof chunk, 0);
            if (got > 0) {
                out.append(chunk, static_cast<std::size_t>(got));
                continue;
            }
            if (got == 0) return 0;  // closed in order; the close notification follows
            const int error = WSAGetLastError();
            return error == WSAEWOULDBLOCK ? 0 : error;
        }
    }

    void notify(LPARAM lParam) {
        const int error = WSAGETSELECTERROR(lParam);
        // A handler may destroy this socket; nothing here touches it afterwards.
        switch (WSAGETSELECTEVENT(lParam)) {
            case FD_CONNECT: events_.onSocketConnect(error); break;
            case FD_READ: events_.onSocketRead(error); break;
            case FD_CLOSE: events_.onSocketClose(error); break;
            default: break;  // FD_WRITE: nothing is ever sent
        }
    }

private:
    Win32Network& network_;
    SocketEvents& events_;
    UniqueSocket socket_;
    UINT message_;
};

Win32Network::Win32Network() : nextMessage_(kFirstSocketMessage) {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32Network::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Network::~Win32Network() {
    if (window_) DestroyWindow(window_);
    if (started_) WSACleanup();
}

std::unique_ptr<TcpSocket> Win32Network::createSocket(SocketEvents& events) {
    if (!started_ || !window_) return nullptr;
    const SOCKET handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (handle == INVALID_SOCKET) return nullptr;
    return std::make_unique<Win32Socket>(*this, events, handle);
}

std::string Win32Network::errorText(int code) {
    return SystemErrorText(static_cast<unsigned long>(code));
}

UINT Win32Network::enroll(Win32Socket& socket) {
    while (sockets_.count(nextMessage_)) nextMessage_ = nextMessage_ == kLastSocketMessage ? kFirstSocketMessage
                                                                                          : nextMessage_ + 1;
    const UINT message = nextMessage_;
    nextMessage_ = nextMessage_ == kLastSocketMessage ? kFirstSocketMessage : nextMessage_ + 1;
    sockets_[message] = &socket;
    return message;
}

void Win32Network::withdraw(UINT message) {
    sockets_.erase(message);
    // Drop what is already queued for the socket, so its number can be used again safely.
    MSG pending;
    while (window_ && PeekMessageW(&pending, window_, message, message, PM_REMOVE)) {
    }
}

void Win32Network::dispatch(UINT message, SOCKET, LPARAM lParam) {
    auto found = sockets_.find(message);
    if (found == sockets_.end()) return;  // the socket is gone
    Win32Socket* socket = found->second;
    Guarded([&] { socket->notify(lParam); });
}

LRESULT CALLBACK Win32Network::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kFirstSocketMessage && message <= kLastSocketMessage) {
        auto* network = reinterpret_cast<Win32Network*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (network) network->dispatch(message, static_cast<SOCKET>(wParam), lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kivra::win32
